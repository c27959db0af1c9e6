// tervolin-tool play ARCHIVE LEVEL [--seed N] [--mode action|relax] [--script FILE]
//                                  [--frames DIR]
// Plays a level on the headless game driver from a script: LEVEL (a level number or the path of
// a level file on disk) is set up as a new game of that mode sets it up, with the play window on
// top and the rules' random source seeded with N (1 unless given) just before. The script has
// one command per line; blank lines and lines starting with "#" are skipped:
//   wait MS          passes of 10 ms of game clock until MS more milliseconds have passed
//   click C R        a left press and release at the centre of cell (C, R), at the clock of the
//   rclick C R       last pass (no pass runs; the mouse moves there without a move event)
//   move C R         the mouse moves to the centre of cell (C, R)
//   key NAME         a key press and release: Space Left Right Up Down Delete Escape Return
//   dump             the play state (score, bar, mood, selection, every cell of the shape)
//   frame NAME       the composed frame as DIR/NAME.png (needs --frames)
// Exit 0 when the script ran to its end, 1 with the reason when the level does not load, 2 with
// the line number for a bad argument or script line.
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>

#include "ToolArgs.h"
#include "ToolCommand.h"
#include "ToolGame.h"
#include "app/PlayDump.h"
#include "platform/EventFactory.h"

namespace {

constexpr const char* Usage =
    "play ARCHIVE LEVEL [--seed N] [--mode action|relax] [--script FILE] [--frames DIR]";

struct TPlayArgs {
    std::string Archive, Level, Script, Frames;
    uint64_t Seed = 1;
    uint8_t Mode = 0;  // 0 action, 1 relax
};

bool ParseArgs(const ToolArgs& args, TPlayArgs& out) {
    std::vector<std::string> positional;
    const bool read =
        ReadArgs(args, positional, [&](const std::string& arg, const std::string& value) {
            if (arg == "--seed") return ParseNumber(value, out.Seed);
            if (arg == "--mode") {
                if (value != "action" && value != "relax") return false;
                out.Mode = value == "relax" ? 1 : 0;
                return true;
            }
            if (arg == "--script") {
                out.Script = value;
                return true;
            }
            if (arg == "--frames") {
                out.Frames = value;
                return true;
            }
            return false;
        });
    if (!read || positional.size() != 2) return false;
    out.Archive = positional[0];
    out.Level = positional[1];
    return true;
}

// One parsed script line.
struct TCommand {
    std::string Name;
    uint32_t Ms = 0;
    TCell Cell;
    int Key = 0;
    std::string Frame;
};

const std::map<std::string, int> KeyNames = {
    {"Space", vk::Space}, {"Left", vk::Left},     {"Right", vk::Right},   {"Up", vk::Up},
    {"Down", vk::Down},   {"Delete", vk::Delete}, {"Escape", vk::Escape}, {"Return", vk::Return},
};

// False for a line the script language does not have.
bool ParseCommand(const std::string& line, bool haveFrames, TCommand& command) {
    std::istringstream words(line);
    std::vector<std::string> parts;
    for (std::string word; words >> word;) parts.push_back(word);
    if (parts.empty()) return false;
    command.Name = parts[0];
    const size_t arguments = parts.size() - 1;
    if (command.Name == "wait") return arguments == 1 && ParseNumber(parts[1], command.Ms);
    if (command.Name == "click" || command.Name == "rclick" || command.Name == "move") {
        return arguments == 2 && ParseNumber(parts[1], command.Cell.Col) &&
               ParseNumber(parts[2], command.Cell.Row) &&
               TBoard::InRange(command.Cell.Col, command.Cell.Row);
    }
    if (command.Name == "key") {
        if (arguments != 1) return false;
        const auto key = KeyNames.find(parts[1]);
        if (key == KeyNames.end()) return false;
        command.Key = key->second;
        return true;
    }
    if (command.Name == "dump") return arguments == 0;
    if (command.Name == "frame") {
        if (arguments != 1 || !haveFrames) return false;
        command.Frame = parts[1];
        return command.Frame.find('/') == std::string::npos;
    }
    return false;
}

void Run(TToolGame& tool, const TCommand& command, const std::string& framesFolder) {
    THeadlessGame& game = tool.Game();
    const TPoint cell = CellCentre(command.Cell.Col, command.Cell.Row);
    if (command.Name == "wait") {
        game.Step(command.Ms);
    } else if (command.Name == "click" || command.Name == "rclick") {
        const TMouseButton button =
            command.Name == "click" ? TMouseButton::mbLeft : TMouseButton::mbRight;
        // Shift states as the tool always sent them: no button flag on the press.
        game.Send(MouseDownEvent(cell.X, cell.Y, button));
        game.Send(MouseUpEvent(cell.X, cell.Y, button));
    } else if (command.Name == "move") {
        game.Send(MouseMoveEvent(cell.X, cell.Y));
    } else if (command.Name == "key") {
        game.Key(command.Key);
    } else if (command.Name == "dump") {
        std::fputs(PlayDump(*game.Snapshot().Play, game.Now()).c_str(), stdout);
    } else if (command.Name == "frame") {
        const std::string path = framesFolder + "/" + command.Frame + ".png";
        if (!game.SaveFrame(path)) throw std::runtime_error("cannot write " + path);
    }
}

int RunPlay(const ToolArgs& args) {
    TPlayArgs options;
    if (!ParseArgs(args, options)) {
        std::fprintf(stderr, "usage: tervolin-tool %s\n", Usage);
        return 2;
    }
    // The whole script is read first: a bad line is reported before anything is played.
    std::vector<std::pair<int, TCommand>> script;
    if (!options.Script.empty()) {
        std::ifstream file(options.Script);
        if (!file) {
            std::fprintf(stderr, "cannot read the script %s\n", options.Script.c_str());
            return 2;
        }
        std::string line;
        for (int number = 1; std::getline(file, line); ++number) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const size_t first = line.find_first_not_of(" \t");
            if (first == std::string::npos || line[first] == '#') continue;
            TCommand command;
            if (!ParseCommand(line, !options.Frames.empty(), command)) {
                std::fprintf(stderr, "script line %d: %s\n", number, line.c_str());
                return 2;
            }
            script.emplace_back(number, command);
        }
    }

    TToolGame tool(options.Archive, options.Seed);
    tool.Game().SetUpPlay().Game.GameMode = options.Mode;
    tool.Game().SeedPlay(options.Seed);
    tool.StartLevel(options.Level);
    std::fflush(stdout);
    for (const auto& [number, command] : script) Run(tool, command, options.Frames);
    std::fflush(stdout);
    return 0;
}

}  // namespace

static ToolCommand playCommand{"play", Usage, &RunPlay};
