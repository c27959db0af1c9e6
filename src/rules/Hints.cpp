// The help the rules give during play: the check for a possible move once the board is quiet
// (without one, the next ten new fishkas are chosen to complete a neighbour), the renewal of a
// board on which no input can merge anything, and the level's tutorial popups, each pointing at
// a cell and closed by a click on it.
#include <algorithm>

#include "core/KelException.h"
#include "rules/MoveChooser.h"
#include "rules/PlayRules.h"

namespace {

std::string CellText(TCell cell) {
    return "(" + std::to_string(cell.Col) + "," + std::to_string(cell.Row) + ")";
}

bool Contains(const std::vector<TCell>& path, TCell cell) {
    return std::find(path.begin(), path.end(), cell) != path.end();
}

}  // namespace

void TPlayRules::CheckPossibleMoves() {
    Guarded("Exception error in TKelGameEngine.!", [this] {
        TGame& game = Game();
        TLevel& level = Level();
        for (int col = 1; col <= BoardColumns; ++col)
            for (int row = 1; row <= BoardRows; ++row) {
                if (!level.Board.CellExists(col, row) || Fish({col, row}).RemoveTime != -1)
                    continue;
                level.HintPath.clear();
                if (!FindHint({col, row}, level.HintPath)) continue;
                game.DebugText.clear();
                for (const TCell& cell : level.HintPath) game.DebugText += CellText(cell);
                return;
            }
        game.SmartCount = 10;
        game.DebugText = "Smart generation ON!";
    });
}

bool TPlayRules::FindHint(TCell cell, std::vector<TCell>& path) const {
    return Guarded("Exception error in TKelGameEngine.FindHint!", [&] {
        path.push_back(cell);
        if (path.size() == 3) return CompleteFishka(path);
        const TBoard& board = Level().Board;
        for (int slot = 1; slot <= 6; ++slot) {
            const TCell next = board.Neighbour(cell.Col, cell.Row, slot);
            if (next.IsNone() || std::abs(next.Col - cell.Col) > 1 ||
                std::abs(next.Row - cell.Row) > 1 || !board.CellExists(next.Col, next.Row) ||
                Fish(next).RemoveTime != -1 || Contains(path, next))
                continue;
            if (FindHint(next, path)) return true;
            path.pop_back();
        }
        return false;
    });
}

bool TPlayRules::CompleteFishka(const std::vector<TCell>& path) const {
    return Guarded("Exception error in TKelGameEngine.CompleteFishka!", [&] {
        if (path.size() != 3) return false;
        const TFish& a = Fish(path[0]);
        const TFish& b = Fish(path[1]);
        const TFish& c = Fish(path[2]);
        auto compatible = [](const TFish& x, const TFish& y) {
            return x.Color == y.Color || x.Kind == fkGhost || y.Kind == fkGhost;
        };
        if (!compatible(a, b) || !compatible(b, c) || !compatible(a, c)) return false;
        if (a.Type != b.Type || b.Type != c.Type) return false;
        for (int piece = 1; piece <= 3; ++piece)
            if (int(a.Has[piece]) + int(b.Has[piece]) + int(c.Has[piece]) != 1) return false;
        return true;
    });
}

bool TPlayRules::AnyMoveLeft() const {
    const TBoard& board = Board();
    for (int col = 1; col <= BoardColumns; ++col)
        for (int row = 1; row <= BoardRows; ++row) {
            if (!board.CellExists(col, row)) continue;
            const TCell from{col, row};
            for (int c = 1; c <= BoardColumns; ++c)
                for (int r = 1; r <= BoardRows; ++r) {
                    const TCell to{c, r};
                    if (board.CellExists(c, r) && !(to == from) &&
                        (Near(from, to) || Fish(from).JumpBall) && Mergeable(Fish(from), Fish(to)))
                        return true;
                }
        }
    return false;
}

void TPlayRules::RenewDeadBoard(uint32_t now) {
    Guarded("Exception error in TKelGameEngine.RenewDeadBoard!", [&] {
        if (AnyMoveLeft()) return;
        // Bombs, gems and jump balls are the player's to use: their fishkas stay.
        std::vector<TCell> renewable;
        const TBoard& board = Board();
        for (int row = 1; row < BoardRows; ++row)
            for (int col = 1; col <= BoardColumns; ++col) {
                const TFish& fish = Fish({col, row});
                if (board.CellExists(col, row) && (fish.Kind == fkNormal || fish.Kind == fkGhost) &&
                    !fish.Pinned && fish.RemoveTime == -1 && fish.Extras == 0 && !fish.JumpBall)
                    renewable.push_back({col, row});
            }
        if (renewable.empty()) return;
        for (int renewed = 0; renewed < 3 && !renewable.empty(); ++renewed) {
            const size_t pick = size_t(links_.Random.Random(int32_t(renewable.size())));
            // The renewal borrows the smart choice without using up the count of a check.
            ++Game().SmartCount;
            MakeNewFallDownFish(renewable[pick], now);
            renewable.erase(renewable.begin() + std::ptrdiff_t(pick));
        }
        Game().BoardCheckDue = true;  // looked at again once the new fishkas have landed
    });
}

const TPopupWindow* TPlayRules::PopupToShow(uint32_t now) const {
    const TGame& game = Game();
    const TLevel& level = Level();
    // A popup waits for a settled board, so the stone it names is there and stays put.
    if (!game.ShowHints || game.SelectedLevel != game.CurrentLevel || level.PopupWindows.empty() ||
        int64_t(now) - int64_t(game.LevelStartTime) <= 300 || !BoardQuiet(level.Board, now))
        return nullptr;
    return &level.PopupWindows.back();
}

bool TPlayRules::PopupScriptRightClick(TCell cell, const std::string& topWindow) {
    return Guarded("Exception error in TKelGameEngine.PopupScriptRightClick!", [&] {
        std::vector<TPopupWindow>& popups = Level().PopupWindows;
        if (popups.empty()) return false;
        const TPopupWindow& last = popups.back();
        if (cell.Col != last.Col || cell.Row != last.Row || topWindow != last.Name) return false;
        popups.pop_back();
        return true;
    });
}
