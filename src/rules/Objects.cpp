// The special objects: scarabs rotate their line, cobras recolour a beam and leave, pyramids fly
// to the Pharaoh, bonus gems become objects, bombs and bomb places break fishkas around them.
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "core/KelException.h"
#include "core/SFunctions.h"
#include "rules/PlayRules.h"

namespace {

// The walk and shift slots of a scarab's axis, forward and back.
struct TScarabAxis {
    int Walk, Shift;
    const char* Effect;
    TPoint Leave, Arrive;  // the wrap's fading paths: to (X, Y) + Leave, from (X, Y) + Arrive
};

TScarabAxis ScarabAxis(uint8_t kind, bool back) {
    switch (kind) {
        case fkScarab0:
            return back ? TScarabAxis{1, 4, "efClickOnScarabBonus0_Back.xml", {0, 37}, {0, -72}}
                        : TScarabAxis{4, 1, "efClickOnScarabBonus0.xml", {0, -36}, {0, 37}};
        case fkScarab60:
            return back ? TScarabAxis{2, 5, "efClickOnScarabBonus60_Back.xml", {-65, 37}, {65, -36}}
                        : TScarabAxis{5, 2, "efClickOnScarabBonus60.xml", {65, -36}, {-65, 37}};
        default:
            return back
                       ? TScarabAxis{6, 3, "efClickOnScarabBonus300_Back.xml", {65, 37}, {-65, -36}}
                       : TScarabAxis{3, 6, "efClickOnScarabBonus300.xml", {-65, -36}, {65, 37}};
    }
}

constexpr const char* MoveEffect = "efMove.xml";

std::string CellName(TCell cell) {
    return std::to_string(cell.Col) + "," + std::to_string(cell.Row);
}

TPoint Offset(TPoint point, TPoint by) {
    return {point.X + by.X, point.Y + by.Y};
}

}  // namespace

void TPlayRules::ClickOnObject(TCell cell, uint32_t now) {
    switch (Fish(cell).Kind) {
        case fkCobra:
            ClickOnCobra(cell, now);
            break;
        case fkPyramid:
            ClickOnPyramid(cell, now);
            break;
        default:
            ClickOnScarab(cell, false, now);
            break;
    }
}

void TPlayRules::ClickOnScarab(TCell scarab, bool back, uint32_t now) {
    Guarded(
        back ? "Exception error in TKelGameEngine.ClickOnScarabBack!"
             : "Exception error in TKelGameEngine.ClickOnScarab!",
        [&] {
            IPlayOutput& out = links_.Out;
            if (out.ScreenEffectExists("MoveScarab")) return;
            const TBoard& board = Board();
            const TScarabAxis axis = ScarabAxis(Fish(scarab).Kind, back);
            // The line starts at the far end in the walk direction; the walk never returns
            // to a cell, so it ends within the board's cells.
            TCell start = scarab;
            for (TCell next = board.Neighbour(start.Col, start.Row, axis.Walk); !next.IsNone();
                 next = board.Neighbour(start.Col, start.Row, axis.Walk))
                start = next;
            if (start == scarab) start = board.Neighbour(scarab.Col, scarab.Row, axis.Shift);
            if (start.IsNone()) return;  // a scarab alone on its line
            std::vector<TCell> line{start};
            for (TCell next = board.Neighbour(start.Col, start.Row, axis.Shift); !next.IsNone();) {
                if (next == scarab) {
                    next = board.Neighbour(scarab.Col, scarab.Row, axis.Shift);
                    continue;
                }
                line.push_back(next);
                next = board.Neighbour(next.Col, next.Row, axis.Shift);
            }

            // Every fishka moves one cell along the line, the last one wraps to the start.
            std::vector<std::string> pictures;
            for (TCell cell : line) pictures.push_back(out.CellPicture(cell));
            for (size_t i = 0; i + 1 < line.size(); ++i)
                CreateMoveEffect("MoveScarab", MoveEffect, CellCentre(line[i].Col, line[i].Row),
                                 CellCentre(line[i + 1].Col, line[i + 1].Row), pictures[i], now);
            const TFish wrapped = Fish(line.back());
            for (size_t i = line.size() - 1; i > 0; --i) {
                TFish& fish = Fish(line[i]);
                fish = Fish(line[i - 1]);
                const TPoint from = CellCentre(line[i - 1].Col, line[i - 1].Row);
                fish.SlidePos = {double(from.X), double(from.Y)};
                fish.SlideTarget = CellCentre(line[i].Col, line[i].Row);
                fish.SlideTime = int32_t(now + 300);
                fish.HiddenUntil = int32_t(now + 300);
                out.DeleteScreenEffects(CellName(line[i]));
            }
            Fish(start) = wrapped;
            Fish(start).HiddenUntil = int32_t(now + 300);
            out.RotateCells(line);
            const TPoint far = CellCentre(line.back().Col, line.back().Row);
            const TPoint first = CellCentre(start.Col, start.Row);
            CreateMoveEffect("MoveScarab", "efMoveAlpha10.xml", far, Offset(far, axis.Leave),
                             pictures.back(), now);
            CreateMoveEffect("MoveScarab", "efMoveAlpha01.xml", Offset(first, axis.Arrive), first,
                             pictures.back(), now);
            out.DeleteScreenEffects(CellName(line.back()));
            out.DeleteScreenEffects(CellName(start));

            Fish(scarab).HiddenUntil = int32_t(now + 300);
            TScreenEffectOrder click;
            click.Name = "ClickOnScarab";
            click.File = axis.Effect;
            click.Position = CellCentre(scarab.Col, scarab.Row);
            click.Start = now;
            out.StartScreenEffect(click);
            out.PlaySound("ClickOnScarab", -1);
        });
}

void TPlayRules::RightMouseDownInGamePlay(TCell cell, uint32_t now) {
    Guarded("Exception error in TKelGameEngine.RightMouseDownInGamePlay!", [&] {
        if (!Board().CellExists(cell.Col, cell.Row)) return;
        const uint8_t kind = Fish(cell).Kind;
        if (kind == fkCobra) {
            // The turning effect shows facing k from k x 5250 ms on: starting it that much
            // earlier shows the next facing now.
            const int direction = links_.Out.CobraDirection(cell);
            const int next = ((direction + 1) % 6 + 6) % 6;
            links_.Out.FreeCellEffect(cell);
            links_.Out.StartCellEffect(cell, ObjectEffectFile(fkCobra),
                                       uint32_t(int64_t(now) - int64_t(next) * 5250));
        } else if (kind >= fkScarab0 && kind <= fkScarab300) {
            ClickOnScarab(cell, true, now);
            Game().SelectedCell = Game().LastMoveCell = TCell{};
        }
    });
}

void TPlayRules::ClickOnCobra(TCell cobra, uint32_t now) {
    Guarded("Exception error in TKelGameEngine.ClickOnCobra!", [&] {
        const int d = links_.Out.CobraDirection(cobra);
        const int C = cobra.Col, R = cobra.Row;
        const bool odd = C % 2 == 1;
        std::optional<TFish> first;
        auto visit = [&](int col, int row, int64_t time) {
            if (!Board().CellExists(col, row)) return;
            TFish& fish = Fish({col, row});
            if (fish.Kind != fkNormal || fish.RemoveTime != -1) return;
            if (!first) {
                first = fish;
                return;
            }
            // A fishka showing a piece the remembered type lacks keeps its own type.
            const int pieces = PieceCount(*first);
            for (int i = pieces + 1; i <= MaxPieces; ++i)
                if (fish.Has[size_t(i)]) return;
            RetypeCell({col, row}, time, first->Color, first->Type);
        };
        if (d == 1 || d == 4) {
            const int t = (d == 1) == odd ? 0 : 1;
            const int step = d == 1 ? -1 : 1;
            for (int r = R + step; r >= 1 && r <= BoardRows; r += step) {
                const int64_t time = int64_t(now) + int64_t(R - r) * 100;
                const int side = d == 1 ? r + t : r - t;
                visit(C, r, time);
                visit(C - 1, side, time);
                visit(C + 1, side, time);
            }
        } else if (d >= 2 && d <= 6) {
            const bool up = d == 2 || d == 6;
            const int step = d == 2 || d == 3 ? 1 : -1;
            const int t = up == odd ? 1 : 0;
            for (int c = C + step; c >= 1 && c <= BoardColumns; c += step) {
                const int k = (std::abs(c - C) + t) / 2;
                const int row = up ? R - k : R + k;
                // The diagonal beams reach a column every 100 ms, as the straight ones a row.
                const int64_t time = int64_t(now) + int64_t(std::abs(c - C)) * 100;
                visit(c, row, time);
                visit(c, row - 1, time);
                visit(c, row + 1, time);
            }
        }
        TFish& fish = Fish(cobra);
        fish.Kind = fkNormal;
        fish.RemoveTime = int32_t(now + 500);
        fish.Has[1] = false;
        fish.Will = fish.Has;
        if (d >= 1 && d <= 6) {
            TScreenEffectOrder strike;
            strike.Name = strike.File = "efClickOnCobra" + std::to_string(d) + ".xml";
            strike.Position = CellCentre(C, R);
            strike.Start = now;
            links_.Out.StartScreenEffect(strike);
        }
        links_.Out.PlaySound("ClickOnSnake", -1);
    });
}

void TPlayRules::RetypeCell(TCell cell, int64_t time, uint8_t colour, int32_t type) {
    TFish& fish = Fish(cell);
    fish.Color = colour;
    fish.Type = type;
    fish.Will = fish.Has;
    // Ticks at or before now apply at the next pass; the merge time must stay above 0.
    fish.MergeTime = int32_t(std::max<int64_t>(time, 1));
}

void TPlayRules::ClickOnPyramid(TCell pyramid, uint32_t now) {
    Guarded("Exception error in TKelGameEngine.ClickOnPyramid!", [&] {
        TFish& fish = Fish(pyramid);
        fish.Kind = fkNormal;
        fish.RemoveTime = fish.HiddenUntil = int32_t(now);
        fish.Has[1] = false;
        fish.Will = fish.Has;
        links_.Out.PlaySound("ClickOnPyramid", -1);
        Game().Mood = 1000;
        const TPoint centre = CellCentre(pyramid.Col, pyramid.Row);
        TScreenEffectOrder flight;
        flight.Name = "PyramidMove";
        flight.File = "efClickOnPyramid.xml";
        flight.Path = "Path (" + std::to_string(centre.X) + "," + std::to_string(centre.Y) +
                      ") ..\"0.5\" (100,100) --\"1\" (65,100) --\"0.5\" (65,100);";
        flight.Start = now;
        links_.Out.StartScreenEffect(flight);
    });
}

void TPlayRules::MakeFishCobra(TCell cell, uint32_t now) {
    Guarded("Exception error in TKelGameEngine.MakeFishCobra!", [&] {
        const TIntegers& weights = Level().BonusGemWeights;
        if (weights.empty() ||
            std::all_of(weights.begin(), weights.end(), [](int32_t weight) { return weight <= 0; }))
            return;
        const int choice = WeightedRandomIndex(weights, links_.Random);
        if (choice < 0 || choice > 2) return;
        static constexpr uint8_t kinds[] = {fkCobra, fkPyramid, fkCoin};
        links_.Out.FreeCellEffects(cell);
        TFish& fish = Fish(cell);
        fish.Kind = kinds[choice];
        links_.Out.StartCellEffect(cell, ObjectEffectFile(fish.Kind), now);
        fish.JumpBall = fish.KeepJumpBall = fish.Pinned = fish.InGroup = false;
        links_.Out.CellChanged(cell, now);
    });
}

void TPlayRules::BlowUp(TCell cell, uint32_t now) {
    links_.Out.FreeCellEffects(cell);
    links_.Out.StartCellBreakEffect(cell, now);
    TFish& fish = Fish(cell);
    fish.RemoveTime = fish.HiddenUntil = int32_t(now + 500);
}

void TPlayRules::BombPoint(TCell cell, std::vector<int>& columns, uint32_t now) {
    Guarded("Exception error in TKelGameEngine.BombPoint!", [&] {
        for (int slot = 1; slot <= 6; ++slot) {
            const TCell next = Board().Neighbour(cell.Col, cell.Row, slot);
            if (next.IsNone() || !Near(next, cell)) continue;
            const TFish& fish = Fish(next);
            if (fish.Kind != fkNormal || fish.RemoveTime != -1) continue;
            BlowUp(next, now);
            if (std::find(columns.begin(), columns.end(), next.Col) == columns.end())
                columns.push_back(next.Col);
        }
        links_.Out.PlaySound("BombCell", -1);
    });
}

void TPlayRules::FireBombShots(TCell cell, uint8_t extras, uint32_t now) {
    Guarded("Exception error in TKelGameEngine.!", [&] {
        const TBoard& board = Board();
        auto shoot = [&](TCell target) {
            if (target == cell || !board.CellExists(target.Col, target.Row)) return;
            const TFish& fish = Fish(target);
            if (fish.Kind == fkNormal && fish.RemoveTime == -1) BlowUp(target, now);
        };
        auto along = [&](int slot) {
            for (TCell next = board.Neighbour(cell.Col, cell.Row, slot); !next.IsNone();
                 next = board.Neighbour(next.Col, next.Row, slot))
                shoot(next);
        };
        auto shot = [&](const char* name, const char* file) {
            TScreenEffectOrder order;
            order.Name = name;
            order.File = file;
            order.Position = CellCentre(cell.Col, cell.Row);
            order.Start = now;
            links_.Out.StartScreenEffect(order);
        };
        if (extras & feVerticalBomb) {
            shot("BombVert", "efVertBombShot.xml");
            for (int row = 1; row <= BoardRows; ++row) shoot({cell.Col, row});
        }
        if (extras & feBomb25) {
            shot("Bomb25", "efDiagRTBombShot.xml");
            along(2);
            along(5);
        }
        if (extras & feBomb36) {
            shot("Bomb36", "efDiagLTBombShot.xml");
            along(3);
            along(6);
        }
        if (extras & (feVerticalBomb | feBomb25 | feBomb36))
            links_.Out.PlaySound("FishBombFire", -1);
    });
}
