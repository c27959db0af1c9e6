// The player's moves: selection by click and keyboard, putting one fishka's pieces inside
// another, the group a completing move takes with it, the hover preview and the bounce of a
// refused move.
#include <algorithm>

#include "core/KelException.h"
#include "rules/PlayRules.h"

namespace {

constexpr const char* MoveTemplate = "efMove.xml";

bool IsObjectKind(uint8_t kind) {
    return kind >= fkScarab0 && kind <= fkPyramid;
}

std::string PathText(const std::string& timing, TPoint from, TPoint to) {
    return "Set Linear; Set Timing " + timing + "; Path (" + std::to_string(from.X) + "," +
           std::to_string(from.Y) + ") (" + std::to_string(to.X) + "," + std::to_string(to.Y) +
           "); Ending Stop;";
}

const char* SelectSound(const TFish& fish) {
    if (fish.Has[1]) return "SelectLarge";
    if (fish.Has[2]) return "SelectMedium";
    if (fish.Has[3]) return "SelectSmall";
    return nullptr;
}

}  // namespace

int TPlayRules::PieceCount(const TFish& fish) const {
    if (fish.Type < 0 || size_t(fish.Type) >= links_.Types.size()) return 0;
    return links_.Types[size_t(fish.Type)].PieceCount;
}

bool TPlayRules::ColourCompatible(const TFish& a, const TFish& b) const {
    return a.Color == b.Color || a.Kind == fkGhost || b.Kind == fkGhost;
}

bool TPlayRules::Mergeable(const TFish& from, const TFish& to) const {
    // Objects never merge (a coin counts as a fishka), and empty cells hold nothing to move.
    const int pieces = PieceCount(to);
    if (IsObjectKind(to.Kind) || IsObjectKind(from.Kind) || pieces == 0) return false;
    if (!ColourCompatible(from, to) || from.Type != to.Type) return false;
    for (int i = 1; i <= pieces; ++i)
        if (to.Has[size_t(i)] && from.Has[size_t(i)]) return false;
    return true;
}

void TPlayRules::ClickOnCell(TCell cell, uint32_t now) {
    Guarded("Exception error in TKelGameEngine.LeftMouseDownInGamePlayBox!", [&] {
        TGame& game = Game();
        if (cell.Col < 1 || cell.Col > BoardColumns || cell.Row < 1 || cell.Row > BoardRows - 1 ||
            cell == game.SelectedCell)
            return;
        const TBoard& board = Board();
        if (board.CellExists(cell.Col, cell.Row) && IsObjectKind(Fish(cell).Kind)) {
            ClickOnObject(cell, now);
            game.SelectedCell = game.LastMoveCell = TCell{};
            return;
        }
        const TCell selected = game.SelectedCell;
        if (!selected.IsNone() && board.CellExists(cell.Col, cell.Row) &&
            (board.Adjacent(selected, cell) || Fish(selected).JumpBall)) {
            if (PutFishInsideFish(cell, selected, now)) {
                game.LastMoveCell = cell;
            } else {
                CreateCanNotMoveEffect(selected, cell, now);
                game.LastMoveCell = TCell{};
            }
            game.SelectedCell = TCell{};
            game.MoveMade = true;
            game.BoardCheckDue = true;
            return;
        }
        if (!board.CellExists(cell.Col, cell.Row)) {
            game.SelectedCell = TCell{};
            return;
        }
        game.SelectedCell = cell;
        links_.Out.ResetCellFrame(cell);
        if (const char* sound = SelectSound(Fish(cell))) links_.Out.PlaySound(sound, -1);
    });
}

void TPlayRules::PressSpaceInGamePlay(uint32_t now) {
    Guarded("Exception error in TKelGameEngine.PressSpaceInGamePlay!", [&] {
        TGame& game = Game();
        const TCell cursor = game.KeyCursor;
        // The keyboard reaches only cells of the board's shape: cells outside it hold hidden
        // fishkas that no move may touch.
        if (!Board().CellExists(cursor.Col, cursor.Row) || cursor == game.SelectedCell) return;
        const TCell selected = game.SelectedCell;
        if (selected.IsNone() || (!Near(cursor, selected) && !Fish(selected).JumpBall)) {
            game.SelectedCell = cursor;
            links_.Out.ResetCellFrame(cursor);
            links_.Out.PlaySound("Select", -1);
            return;
        }
        if (PutFishInsideFish(cursor, selected, now)) {
            game.LastMoveCell = cursor;
        } else {
            CreateCanNotMoveEffect(selected, cursor, now);
            game.LastMoveCell = TCell{};
        }
        game.SelectedCell = TCell{};
        // A keyboard move leaves the check for a possible move to the mouse, but a board
        // without any move left is renewed for the keyboard player too.
        game.BoardCheckDue = true;
    });
}

void TPlayRules::HoverUpdate(TCell cell, uint32_t now) {
    TGame& game = Game();
    if (!TBoard::InRange(cell.Col, cell.Row)) {
        game.HoverCell = TCell{};
        game.PreviewGroup.clear();
        game.WillCompleteShown = false;
        return;
    }
    if (cell == game.HoverCell) return;
    game.HoverCell = cell;
    game.HoverStart = now;
    game.PreviewGroup.clear();
    if (PutInsideMarkedToOnWillComplete()) {
        TFish& hovered = Fish(cell);
        // A ghost takes on the colour it would match.
        if (hovered.Kind == fkGhost) hovered.Color = Fish(game.SelectedCell).Color;
        CheckSameFishes(game.PreviewGroup, cell, game.SelectedCell);
        game.WillCompleteShown = true;
    } else {
        game.PreviewGroup = {cell};
        game.WillCompleteShown = false;
    }
}

bool TPlayRules::PutInsideMarkedToOnWillComplete() const {
    return Guarded("Exception error in TKelGameEngine.PutInsideMarkedToOnWillComplete!", [&] {
        const TGame& game = Game();
        const TCell selected = game.SelectedCell, hover = game.HoverCell;
        const TBoard& board = Board();
        if (!board.CellExists(selected.Col, selected.Row) ||
            !board.CellExists(hover.Col, hover.Row))
            return false;
        const TFish& from = Fish(selected);
        const TFish& to = Fish(hover);
        if (!board.Adjacent(selected, hover) && !from.JumpBall) return false;
        if (IsObjectKind(from.Kind) || IsObjectKind(to.Kind)) return false;
        if (from.Type != to.Type || !ColourCompatible(from, to)) return false;
        const int pieces = PieceCount(from);
        if (pieces == 0) return false;
        for (int i = 1; i <= pieces; ++i)
            if (from.Has[size_t(i)] == to.Has[size_t(i)]) return false;
        return true;
    });
}

bool TPlayRules::PutFishInsideFish(TCell dest, TCell src, uint32_t now) {
    return Guarded("Exception error in TKelGameEngine.PutFishInsideFish!", [&] {
        TFish& to = Fish(dest);
        TFish& from = Fish(src);
        const int pieces = PieceCount(to);
        auto sharesPiece = [&](const std::array<bool, 4>& fromPieces) {
            for (int i = 1; i <= pieces; ++i)
                if (to.Has[size_t(i)] && fromPieces[size_t(i)]) return true;
            return false;
        };
        // A source whose own merge is still pending: refused when the merge would clash with
        // the destination, else the merge applies at once. A merge that completes the source is
        // left to the timer, which breaks the fishka: applied here it would stay complete.
        if (from.MergeTime > 0) {
            if (from.Type == to.Type && ColourCompatible(from, to) && sharesPiece(from.Will))
                return false;
            if (FullMakeFishka(from, links_.Types)) return false;
            from.Has = from.Will;
            from.MergeTime = -1;
            links_.Out.CellChanged(src, now);
        }
        if (!Mergeable(from, to)) return false;

        TGame& game = Game();
        to.Extras |= from.Extras;
        const bool near = Near(dest, src);
        if (from.JumpBall && !to.JumpBall) {
            if (near) {
                links_.Out.StartCellEffect(dest, JumpBallEffectFile, now);
                to.JumpBall = true;
            } else {
                game.LastMoveCell = TCell{};  // the ball was used for a jump
            }
        }
        TGroup group;
        CheckSameFishes(group, dest, src);
        // Slots past the type's pieces are cleared: a cell refilled with a smaller type may
        // still hold them from an earlier fishka, and the merge copies Will into Has.
        for (int i = 1; i <= MaxPieces; ++i)
            to.Will[size_t(i)] = i <= pieces && (from.Has[size_t(i)] || to.Has[size_t(i)]);
        if (to.Kind != fkGhost || from.Kind != fkGhost) {
            to.Kind = fkNormal;
            if (from.Kind != fkGhost) to.Color = from.Color;
        }
        links_.Out.CellChanged(dest, now);

        if (FullMakeFishka(to, links_.Types)) {
            if (group.empty() || !(group.front() == dest)) group.insert(group.begin(), dest);
            ScheduleCompletion(dest, src, group, now);
        } else {
            links_.Out.PlaySound("Insert", int64_t(now) + 300);
        }

        // The pieces fly into the destination.
        game.SelectedCell = dest;
        to.MergeTime = int32_t(now + 300);
        links_.Out.StartFlight(dest, src);
        from.HiddenUntil = int32_t(now + 300);
        links_.Out.FreeCellEffect(src);

        // The vacated source.
        const bool belowInColumn = src.Col == dest.Col && src.Row > dest.Row;
        if (!from.JumpBall || near) {
            to.FromSide = links_.Play.Level.Board.NeighboursSide(src, dest);
            if (links_.Params.DownFall) {
                if (belowInColumn) {
                    MakeNewFallDownFish(src, now);
                } else {
                    from.RemoveTime = int32_t(now + 200);
                    from.HiddenUntil = int32_t(now + 200);
                }
            }
            to.ShiftRefill = false;
            to.Pinned = true;  // stays in place while its column collapses
        } else {
            if (belowInColumn)
                MakeNewFallDownFish(src, now);
            else
                from.RemoveTime = int32_t(now);
            to.ShiftRefill = false;
        }
        return true;
    });
}

void TPlayRules::ScheduleCompletion(TCell dest, TCell src, TGroup& group, uint32_t now) {
    TGame& game = Game();
    TFish& to = Fish(dest);
    const int64_t n = int64_t(group.size());
    game.ImpactSound = true;
    const int64_t t0 = int64_t(now) + 300 + 100 * (n - 1);
    if (to.Type >= 0 && to.Type <= 2)
        links_.Out.PlaySound("FishType" + std::to_string(to.Type + 1) + "Complete", t0 + 500);
    links_.Out.PlaySound("FullSphere", int64_t(now) + 300);

    int64_t k = 1;
    for (size_t j = 1; j < group.size(); ++j) {
        const TCell cell = group[j];
        TFish& member = Fish(cell);
        member.Will = to.Will;
        member.MergeTime = int32_t(int64_t(now) + 300 + k * 100);
        ++k;
        links_.Out.PlaySound("FullSphere", int64_t(now) + 300 + int64_t(j) * 100);
        member.BreakTime = int32_t(t0);
        member.ShiftRefill = false;
        member.Color = to.Color;
        member.Kind = to.Kind;
        member.InGroup = true;
        links_.Out.EndFlight(cell);
        links_.Out.CellChanged(cell, now);
        // Members touching the source merge with the destination; the others follow one by
        // one, 100 ms apart.
        if (Board().Adjacent(src, cell)) {
            member.MergeTime = int32_t(now + 300);
            links_.Out.StartFlight(cell, src);
            --k;
        }
    }
    if (n > 1) to.InGroup = true;
    links_.Out.GroupBonus(int(n), uint32_t(t0 + 1000), group);
    to.BreakTime = int32_t(t0);
    if (game.LastMoveCell == dest || game.LastMoveCell == src) {
        // The move continues the previous one: the next fishka here gets a jump ball.
        to.KeepJumpBall = true;
        game.LastMoveCell = TCell{};
    }
    if (to.JumpBall) AddScore(int32_t(25 * n));
    const int32_t groupClass = n <= 3 ? 0 : n <= 6 ? 1 : 2;
    for (const TCell& cell : group) Fish(cell).GroupClass = groupClass;
}

void TPlayRules::CheckSameFishes(TGroup& group, TCell cell, TCell other) const {
    Guarded("Exception error in TKelGameEngine.CheckSameFishes!", [&] {
        const TBoard& board = Board();
        if (std::find(group.begin(), group.end(), cell) != group.end()) return;
        if (!board.CellExists(cell.Col, cell.Row) || Fish(cell).Kind != fkNormal) return;
        if (group.empty()) group.push_back(cell);
        const TFish& origin = Fish(group.front());
        const TFish& fish = Fish(cell);
        const bool same = fish.Type == origin.Type && fish.Color == origin.Color &&
                          fish.Has[1] == origin.Has[1] && fish.Has[2] == origin.Has[2] &&
                          fish.Has[3] == origin.Has[3];
        auto visitNeighbours = [&](TCell around) {
            for (int slot = 1; slot <= 6; ++slot) {
                const TCell next = board.Neighbour(around.Col, around.Row, slot);
                if (!next.IsNone() && Near(next, around)) CheckSameFishes(group, next, TCell{});
            }
        };
        if (same) {
            if (std::find(group.begin(), group.end(), cell) == group.end()) group.push_back(cell);
            visitNeighbours(cell);
        }
        if (other.Col != -1 && Near(other, cell)) visitNeighbours(other);
    });
}

void TPlayRules::CreateCanNotMoveEffect(TCell selected, TCell cell, uint32_t now) {
    Guarded("Exception error in TKelGameEngine.CreateCanNotMoveEffect!", [&] {
        const TPoint a = CellCentre(selected.Col, selected.Row);
        const TPoint b = CellCentre(cell.Col, cell.Row);
        TScreenEffectOrder order;
        order.File = MoveTemplate;
        order.FromGlobal = true;
        order.ClipToBoard = true;
        order.Picture = links_.Out.CellPicture(selected);
        order.LifetimeMs = 150;
        order.Name = "CanNotMove";
        order.Path = PathText("0.15", a, b);
        order.Start = now;
        links_.Out.StartScreenEffect(order);
        order.Name = "CanNotMove1";
        order.Path = PathText("0.15", b, a);
        order.Start = now + 150;
        links_.Out.StartScreenEffect(order);
        Fish(selected).HiddenUntil = int32_t(now + 300);
        links_.Out.PlaySound("Error", int64_t(now) + 150);
    });
}

void TPlayRules::CreateMoveEffect(const std::string& name, const std::string& templateFile,
                                  TPoint from, TPoint to, const std::string& picture,
                                  uint32_t now) {
    Guarded("Exception error in TKelGameEngine.CreateMoveEffect!", [&] {
        TScreenEffectOrder order;
        order.Name = name;
        order.File = templateFile;
        order.FromGlobal = true;
        order.ClipToBoard = true;
        order.Picture = picture;
        order.Path = PathText("0.3", from, to);
        order.Start = now;
        order.LifetimeMs = 300;
        links_.Out.StartScreenEffect(order);
    });
}
