// tervolin-tool board ARCHIVE LEVEL OUT.png [--seed N] [--at MS] [--progress P] [--mood M]
//                                           [--select C,R] [--hover C,R]
// Sets up a level with the headless game driver as a new game does (LEVEL is a level number, the
// archive entry "PuzzleLevel" + N + ".xml", or the path of a level file on disk), lets the game
// run for MS milliseconds of game clock (3000 unless given), and writes the composed 800x600
// play frame. The finish bar's progress (0..1 of the goal), the Pharaoh's mood state (0..6) and
// the selected and hovered cells can be set first. Exit 1 with the reason when the game or the
// level cannot be loaded, 2 on bad arguments.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "ToolArgs.h"
#include "ToolCommand.h"
#include "app/HeadlessGame.h"
#include "core/MemoryStream.h"

namespace fs = std::filesystem;

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

// A user folder of its own for the game, removed afterwards.
struct TScratchFolder {
    TScratchFolder() {
        std::string pattern = (fs::temp_directory_path() / "tervolin-board-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        Path = pattern;
    }
    ~TScratchFolder() {
        std::error_code error;
        fs::remove_all(Path, error);
    }
    std::string Path;
};

int RunBoard(const ToolArgs& args) {
    TBoardArgs options;
    if (!ParseArgs(args, options)) {
        std::fprintf(stderr, "usage: tervolin-tool %s\n", Usage);
        return 2;
    }
    std::error_code error;
    if (!fs::is_regular_file(options.Archive, error))
        throw std::runtime_error("no archive " + options.Archive);
    // The game runs on a data folder of its own: the archive as "game.zxc" with the parameters
    // found beside it, and a user folder for its working copy and logs.
    TScratchFolder scratch;
    const fs::path data = fs::path(scratch.Path) / "data";
    fs::create_directories(data);
    fs::copy_file(options.Archive, data / "game.zxc");
    const fs::path params = fs::absolute(options.Archive).parent_path() / "GameParams.xml";
    if (fs::is_regular_file(params, error)) fs::copy_file(params, data / "GameParams.xml");
    THeadlessGame game(
        {data.string(), (fs::path(scratch.Path) / "user").string(), options.Seed, 10});
    game.Start();
    TKelGameEngine& engine = game.Engine();
    if (engine.Closed()) {
        const auto& boxes = game.System().MessageBoxes;
        throw std::runtime_error("the game did not start" +
                                 (boxes.empty() ? std::string() : ": " + boxes.front().second));
    }

    int32_t number = 1;
    std::string entry;
    if (ParseNumber(options.Level, number) && number >= 1) {
        entry = PuzzleLevelName(number);
        if (!engine.Archive()->FindFile(entry))
            throw std::runtime_error("the archive has no " + entry);
    } else {
        number = 1;
        TMemoryStream file;
        file.LoadFromFile(options.Level);
        entry = "BoardToolLevel.xml";
        engine.Archive()->AddFile(entry, 1, file);
    }
    engine.Play().Game.ShowInstructions = false;
    engine.Levels().StartGameAt(number, entry, game.Now());

    TPlayState& play = engine.Play();
    if (options.Progress) play.Level.Progress = *options.Progress * play.Level.Goal;
    if (options.Mood) play.Game.MoodState = *options.Mood;
    if (options.Select) play.Game.SelectedCell = *options.Select;
    if (options.Hover) {
        engine.Play().Game.HoverCell = *options.Hover;
        engine.Play().Game.PreviewGroup = {*options.Hover};
    }
    game.Step(options.At);
    if (!game.SaveFrame(options.Out)) throw std::runtime_error("cannot write " + options.Out);
    return 0;
}

}  // namespace

static ToolCommand boardCommand{"board", Usage, &RunBoard};
