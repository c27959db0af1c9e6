// tervolin-tool board ARCHIVE LEVEL OUT.png [--seed N] [--at MS] [--progress P] [--mood M]
//                                           [--select C,R] [--hover C,R]
// Sets up a level with the headless game driver as a new game does (LEVEL is a level number, the
// archive entry "PuzzleLevel" + N + ".xml", or the path of a level file on disk), lets the game
// run for MS milliseconds of game clock (3000 unless given), and writes the composed 800x600
// play frame. The finish bar's progress (0..1 of the goal), the Pharaoh's mood state (0..6) and
// the selected and hovered cells can be set first. Exit 1 with the reason when the game or the
// level cannot be loaded, 2 on bad arguments.
#include <cstdio>
#include <optional>
#include <stdexcept>

#include "ToolArgs.h"
#include "ToolCommand.h"
#include "ToolGame.h"

namespace {

constexpr const char* Usage =
    "board ARCHIVE LEVEL OUT.png [--seed N] [--at MS] [--progress P] [--mood M] "
    "[--select C,R] [--hover C,R]";

struct TBoardArgs {
    std::string Archive, Level, Out;
    uint64_t Seed = 1;
    uint32_t At = 3000;
    std::optional<double> Progress;
    std::optional<int> Mood;
    std::optional<TCell> Select, Hover;
};

bool ParseCell(const std::string& text, TCell& cell) {
    return ParsePair(text, cell.Col, cell.Row) && TBoard::InRange(cell.Col, cell.Row);
}

// False on anything the command does not take.
bool ParseArgs(const ToolArgs& args, TBoardArgs& out) {
    std::vector<std::string> positional;
    const bool read =
        ReadArgs(args, positional, [&](const std::string& arg, const std::string& value) {
            double progress = 0;
            int mood = 0;
            TCell cell;
            if (arg == "--seed") return ParseNumber(value, out.Seed);
            if (arg == "--at") return ParseNumber(value, out.At);
            if (arg == "--progress") {
                if (!ParseNumber(value, progress) || progress < 0 || progress > 1) return false;
                out.Progress = progress;
                return true;
            }
            if (arg == "--mood") {
                if (!ParseNumber(value, mood) || mood < 0 || mood > 6) return false;
                out.Mood = mood;
                return true;
            }
            if (arg == "--select" || arg == "--hover") {
                if (!ParseCell(value, cell)) return false;
                (arg == "--select" ? out.Select : out.Hover) = cell;
                return true;
            }
            return false;
        });
    if (!read) return false;
    if (positional.size() != 3) return false;
    out.Archive = positional[0];
    out.Level = positional[1];
    out.Out = positional[2];
    return true;
}

int RunBoard(const ToolArgs& args) {
    TBoardArgs options;
    if (!ParseArgs(args, options)) {
        std::fprintf(stderr, "usage: tervolin-tool %s\n", Usage);
        return 2;
    }
    TToolGame tool(options.Archive, options.Seed);
    tool.StartLevel(options.Level);
    THeadlessGame& game = tool.Game();

    TPlayState& play = game.SetUpPlay();
    if (options.Progress) play.Level.Progress = *options.Progress * play.Level.Goal;
    if (options.Mood) play.Game.MoodState = *options.Mood;
    if (options.Select) play.Game.SelectedCell = *options.Select;
    if (options.Hover) {
        play.Game.HoverCell = *options.Hover;
        play.Game.PreviewGroup = {*options.Hover};
    }
    game.Step(options.At);
    if (!game.SaveFrame(options.Out)) throw std::runtime_error("cannot write " + options.Out);
    return 0;
}

}  // namespace

static ToolCommand boardCommand{"board", Usage, &RunBoard};
