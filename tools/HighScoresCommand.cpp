// tervolin-tool highscores FILE: the entries of a high-score file as the game reads them, the
// Action table first, then the Relax table, each in table order with ranks from 1:
//   action <rank> <name> <score>
//   relax <rank> <name> <score>
// Lines may be encoded (as the game writes them) or plain. The game passes over lines it cannot
// read, and so does the tool; exit 1, with the reason on standard error, only when the file
// cannot be read at all or when it has lines but not one of them is a high-score entry. An empty
// file (both tables cleared) lists nothing and succeeds.
#include <cstdio>
#include <stdexcept>
#include <string>

#include "ToolCommand.h"
#include "app/HighScores.h"
#include "core/MemoryStream.h"

namespace {

std::string TableLines(const char* kind, const THighScores& table) {
    std::string lines;
    for (size_t i = 0; i < table.size(); ++i)
        lines += std::string(kind) + " " + std::to_string(i + 1) + " " + table[i].Name + " " +
                 std::to_string(table[i].Score) + "\n";
    return lines;
}

bool HasText(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") != std::string::npos;
}

}  // namespace

static int RunHighScores(const ToolArgs& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tervolin-tool highscores FILE\n");
        return 2;
    }
    TMemoryStream bytes;
    bytes.LoadFromFile(args[0]);
    const std::string text = bytes.ToString();
    THighScoreTables tables;
    ReadHighScores(text, tables);
    if (tables.Action.empty() && tables.Relax.empty() && HasText(text)) {
        std::fprintf(stderr, "%s: no line is a high-score entry\n", args[0].c_str());
        return 1;
    }
    const std::string lines =
        TableLines("action", tables.Action) + TableLines("relax", tables.Relax);
    std::fwrite(lines.data(), 1, lines.size(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

static ToolCommand command{
    "highscores", "highscores FILE  -- lists the entries of a high-score file", &RunHighScores};
