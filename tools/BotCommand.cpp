// tervolin-tool bot ARCHIVE LEVEL [--seed N] [--mode action|relax] [--limit-s S]
// Plays LEVEL (a level number, or the path of a level file on disk) on the headless game driver
// as a capable player would: once the board is quiet and at least 700 ms of game clock after its
// last move, it makes the best move the board offers (see rules/MoveChooser.h) with the mouse,
// and it confirms the windows that open over the board. Tutorial popups are off, as for a player
// who knows the game. Prints one line
//   result=<won|lost|timeout> moves=<n> game-s=<seconds of game clock> score=<Score>
// and exits 0 when the level was won, 1 when it was lost, ran out of time (S seconds of game
// clock, 900 unless given) or did not load, 2 for bad arguments.
#include <cstdio>
#include <stdexcept>

#include "ToolArgs.h"
#include "ToolCommand.h"
#include "ToolGame.h"
#include "platform/EventFactory.h"
#include "rules/MoveChooser.h"

namespace {

constexpr const char* Usage = "bot ARCHIVE LEVEL [--seed N] [--mode action|relax] [--limit-s S]";
constexpr uint32_t MovePauseMs = 700;
constexpr uint32_t PassMs = 16;  // a pass per frame of a 60 Hz display

struct TBotArgs {
    std::string Archive, Level;
    uint64_t Seed = 1;
    uint8_t Mode = 0;  // 0 action, 1 relax
    uint32_t LimitS = 900;
};

bool ParseArgs(const ToolArgs& args, TBotArgs& out) {
    std::vector<std::string> positional;
    const bool read =
        ReadArgs(args, positional, [&](const std::string& arg, const std::string& value) {
            if (arg == "--seed") return ParseNumber(value, out.Seed);
            if (arg == "--limit-s") return ParseNumber(value, out.LimitS) && out.LimitS > 0;
            if (arg == "--mode") {
                if (value != "action" && value != "relax") return false;
                out.Mode = value == "relax" ? 1 : 0;
                return true;
            }
            return false;
        });
    if (!read || positional.size() != 2) return false;
    out.Archive = positional[0];
    out.Level = positional[1];
    return true;
}

// The mouse moves onto the cell's centre, presses and lets go, with no button flag in the shift
// state.
void Click(THeadlessGame& game, TCell cell) {
    const TPoint centre = CellCentre(cell.Col, cell.Row);
    game.Send(MouseMoveEvent(centre.X, centre.Y));
    game.Send(MouseDownEvent(centre.X, centre.Y));
    game.Send(MouseUpEvent(centre.X, centre.Y));
}

// Plays until the level is won or lost or the clock limit passes; answers the result's name.
const char* Play(TToolGame& tool, const TBotArgs& options, TKelRandom& random, int& moves,
                 uint32_t& elapsed) {
    THeadlessGame& game = tool.Game();
    const uint32_t start = game.Now();
    const uint32_t limit = options.LimitS * 1000;
    uint32_t lastAction = start;
    bool acted = false;
    while (true) {
        elapsed = game.Now() - start;
        const TGameSnapshot shown = game.Snapshot();
        const TPlayState& play = *shown.Play;
        if (play.Level.LevelDone) return "won";
        if (shown.Closed) return "lost";
        const std::string& top = shown.Top;
        if (top == "WGameOver") return "lost";
        if (elapsed >= limit) return "timeout";
        const uint32_t since = game.Now() - lastAction;
        if (top != "WGame") {
            // A hint window or a message over the board: confirm it as a player would.
            if (since >= 500) {
                game.Key(vk::Return);
                lastAction = game.Now();
            }
        } else if ((!acted || since >= MovePauseMs) && BoardQuiet(play.Level.Board, game.Now())) {
            const TChosenMove move = ChooseMove(play.Level, *shown.FishkaTypes, random);
            if (move.Kind != TChosenMove::None) {
                Click(game, move.From);
                if (move.Kind == TChosenMove::Merge) Click(game, move.To);
                ++moves;
                acted = true;
                lastAction = game.Now();
            }
        }
        game.Step(PassMs);
    }
}

int RunBot(const ToolArgs& args) {
    TBotArgs options;
    if (!ParseArgs(args, options)) {
        std::fprintf(stderr, "usage: tervolin-tool %s\n", Usage);
        return 2;
    }
    int moves = 0;
    uint32_t elapsed = 0;
    const char* result = nullptr;
    int32_t score = 0;
    try {
        TToolGame tool(options.Archive, options.Seed, PassMs);
        THeadlessGame& game = tool.Game();
        game.SetUpPlay().Game.GameMode = options.Mode;
        game.SetUpPlay().Game.ShowHints = false;
        game.SeedPlay(options.Seed);
        tool.StartLevel(options.Level);
        TKelRandom random(options.Seed);
        result = Play(tool, options, random, moves, elapsed);
        score = game.Snapshot().Play->Game.Score;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    std::printf("result=%s moves=%d game-s=%u score=%d\n", result, moves, unsigned(elapsed / 1000),
                int(score));
    return std::string(result) == "won" ? 0 : 1;
}

}  // namespace

static ToolCommand botCommand{"bot", Usage, &RunBot};
