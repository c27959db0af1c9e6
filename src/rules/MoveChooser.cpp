// Ranking the merges of a quiet board the way a player weighs them.
#include "rules/MoveChooser.h"

#include <algorithm>

namespace {

constexpr int CompleteWorth = 1000;
constexpr int SetUpWorth = 300;
constexpr int GatherWorth = 100;

bool Playable(const TBoard& board, TCell cell) {
    // The bottom row takes no clicks.
    return cell.Row >= 1 && cell.Row <= BoardRows - 1 && cell.Col >= 1 &&
           cell.Col <= BoardColumns && board.CellExists(cell.Col, cell.Row);
}

bool HoldsPieces(const TFish& fish) {
    return (fish.Kind == fkNormal || fish.Kind == fkGhost) && fish.Type >= 0 &&
           fish.RemoveTime == -1 && fish.MergeTime == -1;
}

int PiecesOf(const TFish& fish, const TFishkaTypes& types) {
    return fish.Type >= 0 && size_t(fish.Type) < types.size() ? types[size_t(fish.Type)].PieceCount
                                                              : 0;
}

bool Compatible(const TFish& a, const TFish& b) {
    return a.Color == b.Color || a.Kind == fkGhost || b.Kind == fkGhost;
}

// The fishka `to` becomes when `from` moves into it.
TFish Merged(const TFish& from, const TFish& to, int pieces) {
    TFish result = to;
    for (int i = 1; i <= pieces; ++i)
        result.Has[size_t(i)] = from.Has[size_t(i)] || to.Has[size_t(i)];
    if (to.Kind != fkGhost || from.Kind != fkGhost) {
        result.Kind = fkNormal;
        if (from.Kind != fkGhost) result.Color = from.Color;
    }
    return result;
}

int HeldCount(const TFish& fish, int pieces) {
    int held = 0;
    for (int i = 1; i <= pieces; ++i) held += fish.Has[size_t(i)];
    return held;
}

// The cells adjacent to `cell`: where a mouse move from it may go.
std::vector<TCell> AdjacentCells(const TBoard& board, TCell cell) {
    std::vector<TCell> cells;
    for (int slot = 1; slot <= 6; ++slot) {
        const TCell next = board.Neighbour(cell.Col, cell.Row, slot);
        if (!next.IsNone() && board.Adjacent(cell, next)) cells.push_back(next);
    }
    return cells;
}

bool Listed(const std::vector<TCell>& cells, TCell cell) {
    return std::find(cells.begin(), cells.end(), cell) != cells.end();
}

// The number of merges the board accepts between cells of the playing rows (at most 99).
int OpenMerges(const TBoard& board, const TFishkaTypes& types) {
    int count = 0;
    for (int row = 1; row < BoardRows; ++row)
        for (int col = 1; col <= BoardColumns; ++col) {
            const TCell from{col, row};
            if (!Playable(board, from)) continue;
            for (TCell to : AdjacentCells(board, from))
                if (Playable(board, to) &&
                    MergeAllowed(board.Cell(col, row), board.Cell(to.Col, to.Row), types) &&
                    ++count == 99)
                    return count;
        }
    return count;
}

// The worth of moving `from` into `to`, both accepted by the rules.
int MergeWorth(const TLevel& level, const TFishkaTypes& types, TCell from, TCell to) {
    const TBoard& board = level.Board;
    const TFish& source = board.Cell(from.Col, from.Row);
    const TFish& target = board.Cell(to.Col, to.Row);
    const int pieces = PiecesOf(target, types);
    const TFish result = Merged(source, target, pieces);
    const int held = HeldCount(result, pieces);
    if (held == pieces) {
        int worth = CompleteWorth;
        if (Listed(level.CompleteOn, to)) worth += 200;
        if (Listed(level.BombPlaces, to)) worth += 100;
        if (target.Extras || source.Extras) worth += 50;
        // Fishkas that look like the completed one leave with it as a group.
        for (TCell next : AdjacentCells(board, to)) {
            const TFish& other = board.Cell(next.Col, next.Row);
            if (next != from && HoldsPieces(other) && other.Type == result.Type &&
                other.Color == result.Color && other.Has == result.Has)
                worth += 150;
        }
        return worth;
    }
    // A neighbour holding exactly the missing pieces completes the result next move.
    int worth = GatherWorth + held;
    for (TCell next : AdjacentCells(board, to)) {
        if (next == from || !Playable(board, next) || !board.Adjacent(next, to)) continue;
        const TFish& other = board.Cell(next.Col, next.Row);
        if (HoldsPieces(other) && MergeAllowed(other, result, types) &&
            HeldCount(other, pieces) + held == pieces) {
            worth = SetUpWorth + held;
            break;
        }
    }
    // A player keeps the board open: the merges left after this one (the emptied cell's new
    // fishka unknown) count for the move.
    TBoard after = board;
    after.Cell(to.Col, to.Row) = result;
    after.Cell(from.Col, from.Row).Type = -1;
    return worth + OpenMerges(after, types);
}

}  // namespace

bool BoardQuiet(const TBoard& board, int64_t now) {
    for (int row = 1; row <= BoardRows; ++row)
        for (int col = 1; col <= BoardColumns; ++col) {
            if (!board.CellExists(col, row)) continue;
            const TFish& fish = board.Cell(col, row);
            if (fish.MergeTime > 0 || fish.RemoveTime > 0 || fish.Falling || fish.SlideTime > now ||
                fish.HiddenUntil > now || fish.Type == -1)
                return false;
        }
    return true;
}

bool MergeAllowed(const TFish& from, const TFish& to, const TFishkaTypes& types) {
    if (!HoldsPieces(from) || !HoldsPieces(to) || from.Type != to.Type || !Compatible(from, to))
        return false;
    const int pieces = PiecesOf(to, types);
    if (pieces == 0) return false;
    for (int i = 1; i <= pieces; ++i)
        if (from.Has[size_t(i)] && to.Has[size_t(i)]) return false;
    return HeldCount(from, pieces) > 0;
}

std::vector<TChosenMove> RankMerges(const TLevel& level, const TFishkaTypes& types) {
    const TBoard& board = level.Board;
    std::vector<TChosenMove> moves;
    for (int row = 1; row < BoardRows; ++row)
        for (int col = 1; col <= BoardColumns; ++col) {
            const TCell from{col, row};
            if (!Playable(board, from)) continue;
            const TFish& source = board.Cell(col, row);
            std::vector<TCell> targets;
            if (source.JumpBall) {
                for (int r = 1; r < BoardRows; ++r)
                    for (int c = 1; c <= BoardColumns; ++c)
                        if (TCell{c, r} != from) targets.push_back({c, r});
            } else {
                targets = AdjacentCells(board, from);
            }
            for (TCell to : targets) {
                if (!Playable(board, to) ||
                    !MergeAllowed(source, board.Cell(to.Col, to.Row), types))
                    continue;
                moves.push_back({TChosenMove::Merge, from, to, MergeWorth(level, types, from, to)});
            }
        }
    std::stable_sort(moves.begin(), moves.end(),
                     [](const TChosenMove& a, const TChosenMove& b) { return a.Worth > b.Worth; });
    return moves;
}

TChosenMove ChooseMove(const TLevel& level, const TFishkaTypes& types, IRandom& random) {
    const std::vector<TChosenMove> merges = RankMerges(level, types);
    if (!merges.empty() && merges.front().Worth >= SetUpWorth) {
        size_t equal = 1;
        while (equal < merges.size() && merges[equal].Worth == merges.front().Worth) ++equal;
        return merges[size_t(random.Random(int32_t(equal)))];
    }
    // Objects: pyramids and cobras help at once (coins are inert); a scarab's turn brings new
    // neighbours.
    const TBoard& board = level.Board;
    std::vector<TCell> helpers, scarabs;
    for (int row = 1; row < BoardRows; ++row)
        for (int col = 1; col <= BoardColumns; ++col) {
            if (!Playable(board, {col, row})) continue;
            const uint8_t kind = board.Cell(col, row).Kind;
            if (kind == fkPyramid || kind == fkCobra) helpers.push_back({col, row});
            if (kind == fkScarab0 || kind == fkScarab60 || kind == fkScarab300)
                scarabs.push_back({col, row});
        }
    if (!helpers.empty()) return {TChosenMove::Object, helpers.front(), {}, 0};
    if (!merges.empty()) {
        size_t equal = 1;
        while (equal < merges.size() && merges[equal].Worth == merges.front().Worth) ++equal;
        // Gathering is worth less than a scarab's turn when a scarab could bring a completion.
        if (scarabs.empty() || random.Random(3) != 0)
            return merges[size_t(random.Random(int32_t(equal)))];
    }
    // A scarab's turn; on a board without any merge, half the time a move the rules refuse
    // instead, after which the rules renew the board.
    if (!scarabs.empty() && (!merges.empty() || random.Random(2) == 0))
        return {
            TChosenMove::Object, scarabs[size_t(random.Random(int32_t(scarabs.size())))], {}, 0};
    for (int row = 1; row < BoardRows; ++row)
        for (int col = 1; col <= BoardColumns; ++col) {
            if (!Playable(board, {col, row}) || !HoldsPieces(board.Cell(col, row))) continue;
            for (TCell to : AdjacentCells(board, {col, row}))
                if (Playable(board, to) && HoldsPieces(board.Cell(to.Col, to.Row)))
                    return {TChosenMove::Merge, {col, row}, to, -1};
        }
    return {};
}
