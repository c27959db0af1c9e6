// One full play frame composed by the game's own code: the busiest shipped level with every cell
// of its board holding a piece, a selection, a previewed group with its highlights, the finish
// bar, the Pharaoh and at least 300 live particles of running effects. And one pass of the two
// play timers on that board with a column falling and a group of three breaking. The game runs
// on the headless driver from the archive the build made; without it the benchmarks are skipped.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>

#include "app/HeadlessGame.h"
#include "app/screens/ScreenFlow.h"

namespace fs = std::filesystem;

namespace {

// A user folder of the benchmark's own, removed afterwards.
struct TScratch {
    TScratch() {
        std::string pattern = (fs::temp_directory_path() / "tervolin-bench-XXXXXX").string();
        Path = mkdtemp(pattern.data()) ? pattern : "";
    }
    ~TScratch() {
        std::error_code error;
        if (!Path.empty()) fs::remove_all(Path, error);
    }
    std::string Path;
};

int ShapeCells(const TBoard& board) {
    int cells = 0;
    for (int col = 1; col <= BoardColumns; ++col)
        for (int row = 1; row <= BoardRows; ++row) cells += board.CellExists(col, row);
    return cells;
}

// Starts the level with the most cells and fills the board; false without the shipped game.
bool SetUpBusyFrame(THeadlessGame& game) {
    game.Start();
    TKelGameEngine& engine = game.Engine();
    if (engine.Closed()) return false;
    engine.Services().Play.Game.ShowInstructions = false;
    int busiest = 1, most = -1;
    for (int n = 1; engine.Services().Archive.get()->FindFile(PuzzleLevelName(n)); ++n) {
        (*engine.Services().Levels).LoadPuzzleLevelFromXML(PuzzleLevelName(n), game.Now());
        const int cells = ShapeCells(engine.Services().Play.Level.Board);
        if (cells > most) busiest = n, most = cells;
    }
    if (most <= 0) return false;
    (*engine.Services().Levels).StartGameAt(busiest, PuzzleLevelName(busiest), game.Now());

    TPlayState& play = engine.Services().Play;
    const std::vector<TFishSpec>& fishes = play.Level.LevelFishes;
    std::vector<TCell> cells;
    for (int row = 1; row <= BoardRows; ++row)
        for (int col = 1; col <= BoardColumns; ++col) {
            if (!play.Level.Board.CellExists(col, row) || fishes.empty()) continue;
            TFish& fish = play.Level.Board.Cell(col, row);
            const TFishSpec& kind = fishes[cells.size() % fishes.size()];
            fish.Kind = fkNormal;
            fish.Type = kind.Type;
            fish.Color = uint8_t(kind.Color);
            fish.Has = {false, true, true, true};
            (*engine.Services().Presenter).NameCellPicture(col, row, game.Now());
            cells.push_back({col, row});
        }
    if (cells.size() < 3) return false;
    play.Game.SelectedCell = cells[0];
    engine.Services().Play.Game.HoverCell = cells[1];
    engine.Services().Play.Game.PreviewGroup = {cells[1], cells[2]};
    engine.Services().Play.Game.WillCompleteShown = true;
    play.Level.Progress = play.Level.Goal / 2.0;

    // Break effects over the board until at least 300 particles live.
    const TEffectSources sources{
        *engine.Services().Archive.get(), engine.Services().Surfaces.get(), nullptr, &engine.Services().Random, {}};
    TScreenEffects& effects = engine.Services().LevelEffects;
    auto particles = [&] {
        int count = 0;
        for (const TPartEffect& instance : effects)
            if (instance.Effect)
                for (int s = 0; s < instance.Effect->SystemCount(); ++s)
                    count += instance.Effect->GetSystem(s)->ParticleCount();
        return count;
    };
    for (size_t i = 0; particles() < 300 && i < 200; ++i) {
        const TPoint centre = CellCentre(cells[i % cells.size()].Col, cells[i % cells.size()].Row);
        CreateKelEffectFromFile(
            effects, sources,
            {.Name = "Busy", .File = "efBreakFishka2.xml", .X = centre.X, .Y = centre.Y},
            game.Now());
        for (TPartEffect& instance : effects)
            if (instance.Effect) instance.Effect->Update(game.Now() + 150);
    }
    game.Step(10);
    return particles() >= 300;
}

void BM_PlayFrame(benchmark::State& state) {
    TScratch user;
    THeadlessGame game({TERVOLIN_GAME_FOLDER, user.Path, 1, 10});
    if (user.Path.empty() || !SetUpBusyFrame(game)) {
        state.SkipWithError("the shipped game did not start");
        return;
    }
    for (auto _ : state) game.Engine().Services().Flow->DrawFrame();
}

// One pass of both play timers: one column of the board falls from high above, a group of three
// waits for its removal with one picture still flying in. The same pass runs again and again: the
// falling column and the flight are put back before each, which costs a few stores.
void BM_PlayTimers(benchmark::State& state) {
    TScratch user;
    THeadlessGame game({TERVOLIN_GAME_FOLDER, user.Path, 1, 10});
    if (user.Path.empty() || !SetUpBusyFrame(game)) {
        state.SkipWithError("the shipped game did not start");
        return;
    }
    TKelGameEngine& engine = game.Engine();
    TBoard& board = engine.Services().Play.Level.Board;
    std::vector<TCell> column, group;
    for (int col = 1; col <= BoardColumns && (column.empty() || group.size() < 3); ++col) {
        std::vector<TCell> cells;
        for (int row = 1; row <= BoardRows; ++row)
            if (board.CellExists(col, row)) cells.push_back({col, row});
        if (column.empty())
            column = cells;
        else
            group.insert(group.end(), cells.begin(),
                         cells.begin() + std::min<size_t>(3, cells.size()));
    }
    group.resize(std::min<size_t>(3, group.size()));
    const uint32_t now = game.Now() + 10;
    for (TCell cell : group) {
        TFish& fish = board.Cell(cell.Col, cell.Row);
        fish.InGroup = true;
        fish.BreakTime = int32_t(now - 100);
        fish.RemoveTime = fish.HiddenUntil = int32_t(now + 100000);
    }
    TCellView& flying = engine.Services().View.Cell(group[0].Col, group[0].Row);
    for (auto _ : state) {
        for (TCell cell : column) {
            TFish& fish = board.Cell(cell.Col, cell.Row);
            fish.Falling = true;
            fish.FallY = -2000;
            fish.FallSpeed = 0;
        }
        board.Cell(group[0].Col, group[0].Row).MergeTime = int32_t(now + 5000);
        flying.FlyPicture = flying.SurfName;
        flying.FlyFrom = {100, 100};
        (*engine.Services().Rules).TickGamePlayTimer(now, true);
        (*engine.Services().Rules).TickBoxMovePiecesTimer(now, 10);
    }
}

}  // namespace

BENCHMARK(BM_PlayTimers)->Unit(benchmark::kMicrosecond)->Repetitions(5)->MinTime(0.2);
BENCHMARK(BM_PlayFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->MinTime(0.2);
