#include "app/HighScores.h"

#include <fstream>
#include <iterator>

#include "app/CUnit.h"
#include "core/KelParserText.h"
#include "core/MemoryStream.h"

namespace {

// The lines of a text; CR LF, CR or LF end a line.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

bool AppendLine(const std::string& decoded, THighScores& table) {
    int32_t score = 0;
    if (!TryDecimalToInt(LineAttribute(decoded, "score"), score)) return false;
    table.push_back({LineAttribute(decoded, "name"), score, false});
    return true;
}

std::string EntryLine(const char* element, const THighScore& entry) {
    return ShiftEncode(std::string("<") + element + " name=\"" + entry.Name + "\" score=\"" +
                       std::to_string(entry.Score) + "\" />") +
           "\r\n";
}

}  // namespace

size_t InsertHighScore(const std::string& name, int32_t score, THighScores& table) {
    size_t i = 0;
    while (i < table.size() && table[i].Score >= score) ++i;
    table.insert(table.begin() + std::ptrdiff_t(i), THighScore{name, score, false});
    return i;
}

std::string LineAttribute(const std::string& line, const std::string& name) {
    const std::string opening = name + "=\"";
    const size_t start = line.find(opening);
    if (start == std::string::npos) return {};
    const size_t from = start + opening.size();
    const size_t end = line.find('"', from);
    return end == std::string::npos ? std::string() : line.substr(from, end - from);
}

int ReadHighScores(const std::string& text, THighScoreTables& tables) {
    tables.Action.clear();
    tables.Relax.clear();
    auto namesAKind = [](const std::string& line) {
        return line.find("HighScore") != std::string::npos ||
               line.find("HighRelax") != std::string::npos;
    };
    int unread = 0;
    for (const std::string& line : Lines(text)) {
        if (line.empty()) continue;
        std::string decoded = ShiftDecode(line);
        if (!namesAKind(decoded) && namesAKind(line)) decoded = line;
        bool read = false;
        if (decoded.find("HighScore") != std::string::npos)
            read = AppendLine(decoded, tables.Action);
        if (decoded.find("HighRelax") != std::string::npos)
            read = AppendLine(decoded, tables.Relax) || read;
        if (!read) ++unread;
    }
    return unread;
}

int LoadHighScores(const std::string& fileName, THighScoreTables& tables) {
    std::ifstream file(fileName, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return ReadHighScores(text, tables);
}

bool SaveHighScores(const std::string& fileName, const THighScoreTables& tables) {
    std::string text;
    for (const THighScore& entry : tables.Action)
        if (!entry.InProgress) text += EntryLine("HighScore", entry);
    for (const THighScore& entry : tables.Relax)
        if (!entry.InProgress) text += EntryLine("HighRelax", entry);
    return WriteTextFileAtomically(fileName, text);
}
