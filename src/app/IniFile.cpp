// INI files edited in place, line by line.
#include "app/IniFile.h"

#include <charconv>
#include <fstream>

#include "core/KelParserText.h"
#include "core/MemoryStream.h"
#include "platform/Paths.h"

bool ParseWholeNumber(const std::string& text, int& value) {
    std::string digits = Trim(text);
    if (!digits.empty() && digits[0] == '+') digits.erase(0, 1);
    if (digits.empty()) return false;
    const char* end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    return error == std::errc() && stop == end;
}

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {
    std::ifstream file(fileName_, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(line);
    }
}

static bool IsSectionLine(const std::string& line, std::string& name) {
    const std::string trimmed = Trim(line);
    if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return false;
    name = trimmed.substr(1, trimmed.size() - 2);
    return true;
}

int TIniFile::Find(const std::string& section, const std::string& key, int& sectionEnd) const {
    sectionEnd = -1;
    bool inSection = false;
    int found = -1;
    for (int i = 0; i < int(lines_.size()); ++i) {
        std::string name;
        if (IsSectionLine(lines_[i], name)) {
            if (inSection) return found;
            inSection = SameText(Trim(name), section);
            if (inSection) sectionEnd = i + 1;
            continue;
        }
        if (!inSection) continue;
        if (!Trim(lines_[i]).empty()) sectionEnd = i + 1;
        const size_t equals = lines_[i].find('=');
        if (found < 0 && equals != std::string::npos &&
            SameText(Trim(lines_[i].substr(0, equals)), key))
            found = i;
    }
    return found;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
    int sectionEnd = 0;
    const int line = Find(section, key, sectionEnd);
    if (line < 0) return defaultValue;
    return Trim(lines_[line].substr(lines_[line].find('=') + 1));
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key,
                          int defaultValue) const {
    int value = 0;
    return ParseWholeNumber(ReadString(section, key, ""), value) ? value : defaultValue;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    std::string clean;  // a line break in a value would add lines to the file
    for (char c : value)
        if (c != '\r' && c != '\n') clean += c;
    int sectionEnd = 0;
    const int line = Find(section, key, sectionEnd);
    if (line >= 0) {
        lines_[line] = lines_[line].substr(0, lines_[line].find('=') + 1) + clean;
    } else if (sectionEnd >= 0) {
        lines_.insert(lines_.begin() + sectionEnd, key + "=" + clean);
    } else {
        lines_.push_back("[" + section + "]");
        lines_.push_back(key + "=" + clean);
    }
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

std::string TIniFile::Text() const {
    std::string text;
    for (const std::string& line : lines_) text += line + "\r\n";
    return text;
}

bool TIniFile::Save() const {
    return WriteTextFileAtomically(fileName_, Text());
}
