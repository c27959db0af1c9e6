// tervolin-tool players FILE: the players of a players file as the game reads them, one line
// each in file order:
//   player <index> name=<Name> level=<CurrentLevel> score=<Score> mode=<GameMode> current=<0|1>
// The index counts the children of the document element, as the file's "CurrentPlayer" does;
// current marks the child the game takes for the current player (none for "CurrentPlayer" -1,
// the first one for an index outside the list). A player without a saved game shows the 0s the
// game gives it. The level is the saved one: the tool does not know the level map that limits it
// in the game. The file may be scrambled or plain. Exit 1, with the reason on standard error,
// when the file does not read whole: unreadable, neither scrambled nor plain text, markup the
// reader has to skip, elements left open (a file cut short), another document element, or a
// number or Boolean that does not convert.
#include <cstdint>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>

#include "ToolCommand.h"
#include "app/PlayersFile.h"

namespace {

void PrintPlayers(const TPlayersFile& file) {
    const auto document = file.Read();
    CheckPlayersDocument(*document, std::numeric_limits<int32_t>::max());
    const TKelXMLTag* root = PlayersRoot(*document);
    const int current = CurrentPlayerIndex(*root) == -1 ? -1 : CurrentPlayerChild(*root);
    std::string lines;
    for (int i = 0; i < root->TagCount(); ++i) {
        TGame game;
        ReadPlayerState(*root->GetTag(i), game, std::numeric_limits<int32_t>::max());
        lines += "player " + std::to_string(i) + " name=" + game.CurrentPlayerName +
                 " level=" + std::to_string(game.CurrentLevel) +
                 " score=" + std::to_string(game.Score) + " mode=" + std::to_string(game.GameMode) +
                 " current=" + (i == current ? "1" : "0") + "\n";
    }
    std::fwrite(lines.data(), 1, lines.size(), stdout);
}

}  // namespace

static int RunPlayers(const ToolArgs& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tervolin-tool players FILE\n");
        return 2;
    }
    try {
        PrintPlayers(TPlayersFile(args[0]));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", args[0].c_str(), error.what());
        return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

static ToolCommand command{"players", "players FILE  -- lists the players of a players file",
                           &RunPlayers};
