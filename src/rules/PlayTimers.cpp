// The two timers of every pass of play: hiding ends, merges apply and completed fishkas break,
// pictures fly and slide, emptied cells are removed, columns collapse and fishkas fall.
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/KelException.h"
#include "rules/PlayRules.h"

namespace {

constexpr const char* BreakEffects[] = {"efBreakFishka.xml", "efBreakFishka1.xml",
                                        "efBreakFishka2.xml"};
// Archive entry names, and so the pictures effects name, are at most this long.
constexpr size_t MaxEntryName = 32;

int32_t RoundToInt(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::nearbyint(value);  // halves to the even neighbour
    return int32_t(std::clamp(rounded, double(std::numeric_limits<int32_t>::min()),
                              double(std::numeric_limits<int32_t>::max())));
}

// The top of the cell box of a cell in that row; also for rows above the board.
int32_t BoxTop(int col, int row) {
    return 73 * row - 65 - (col % 2 == 1 ? 36 : 0);
}

std::string CellName(TCell cell) {
    return std::to_string(cell.Col) + "," + std::to_string(cell.Row);
}

// A tick field is due when set (above 0) and before now.
bool Due(int32_t tick, uint32_t now) {
    return tick > 0 && int64_t(tick) < int64_t(now);
}

}  // namespace

void TPlayRules::TickGamePlayTimer(uint32_t now, bool playWindowOnTop) {
    Guarded("Exception error in TKelGameEngine.TickGamePlayTimer!", [&] {
        for (int row = 1; row <= BoardRows; ++row) {
            for (int col = 1; col <= BoardColumns; ++col) {
                TFish& fish = Fish({col, row});
                if (!Due(fish.HiddenUntil, now)) continue;
                links_.Out.MarkRedraw(CellBox(col, row));
                fish.HiddenUntil = -1;
            }
        }
        if (playWindowOnTop) TickPharaohTimer(now);
    });
}

void TPlayRules::TickBoxMovePiecesTimer(uint32_t now, int32_t dt) {
    Guarded("Exception error in TKelGameEngine.TickBoxMovePiecesTimer!", [&] {
        TGame& game = Game();
        TLevel& level = Level();
        bool mergePending = false, barAdvanced = false, emptyOrWaiting = false;

        for (int row = 1; row <= BoardRows; ++row) {
            for (int col = 1; col <= BoardColumns; ++col) {
                const TCell cell{col, row};
                TFish& fish = Fish(cell);
                if (fish.MergeTime > 0) {
                    mergePending = true;
                    if (int64_t(fish.MergeTime) < int64_t(now)) {
                        fish.MergeTime = -1;
                        fish.Has = fish.Will;
                        game.HoverCell = TCell{};
                        links_.Out.HoverAgain(now);
                        links_.Out.CellChanged(cell, now);
                        if (FullFishka(fish, links_.Types)) {
                            game.Mood = std::min(game.Mood + level.IncPerFish, 1000);
                            if (level.Goal - level.Progress > 0.000001) {
                                level.Progress += 1;
                                barAdvanced = true;
                            }
                            if (game.SelectedCell == cell) game.SelectedCell = TCell{};
                            if (fish.RemoveTime == -1) BreakCompleted(cell, now);
                        } else {
                            fish.Pinned = false;
                            const std::string picture = links_.Out.CellPicture(cell);
                            if (fish.Kind == fkNormal && links_.Out.PictureExists(picture)) {
                                TScreenEffectOrder order;
                                order.Name = order.File = "efBallsRotation.xml";
                                order.Picture = picture + "anime";
                                order.Position = CellCentre(col, row);
                                order.Start = now;
                                links_.Out.StartScreenEffect(order);
                                fish.HiddenUntil = int32_t(now + 300);
                            }
                        }
                    } else {
                        const TPoint centre = CellCentre(col, row);
                        const TPoint target = fish.Falling ? TPoint{centre.X, fish.FallY} : centre;
                        const int32_t remaining = int32_t(int64_t(fish.MergeTime) - int64_t(now));
                        if (dt < remaining)
                            links_.Out.AdvanceFlight(cell, target, dt, remaining);
                        else
                            links_.Out.EndFlight(cell);
                    }
                }
                if (fish.SlideTarget.X > 0) {
                    const int x = RoundToInt(fish.SlidePos.X), y = RoundToInt(fish.SlidePos.Y);
                    links_.Out.MarkRedraw({x - 32, y - 36, x + 32, y + 36});
                    if (int64_t(now) < int64_t(fish.SlideTime)) {
                        const double remaining = double(int64_t(fish.SlideTime) - int64_t(now));
                        if (dt < remaining) {
                            fish.SlidePos.X +=
                                (fish.SlideTarget.X - fish.SlidePos.X) * dt / remaining;
                            fish.SlidePos.Y +=
                                (fish.SlideTarget.Y - fish.SlidePos.Y) * dt / remaining;
                        } else {
                            fish.SlidePos = {double(fish.SlideTarget.X),
                                             double(fish.SlideTarget.Y)};
                            fish.SlideTarget.X = -1;
                        }
                    } else {
                        fish.SlideTarget.X = -1;
                    }
                }
            }
        }

        std::vector<int> columns;
        for (int row = 1; row <= BoardRows; ++row) {
            for (int col = 1; col <= BoardColumns; ++col) {
                const TFish& fish = Fish({col, row});
                if (fish.RemoveTime <= 0 && fish.Type != -1) continue;
                emptyOrWaiting = true;
                if (int64_t(fish.RemoveTime) < int64_t(now)) RemoveCell({col, row}, columns, now);
            }
        }
        for (int col : columns) MakeDownFallCow(col, now);
        const bool falling = TickFallFishes(dt);

        if (barAdvanced) {
            links_.Out.MarkRedraw({0, 0, 100, 599});
            if (game.MoodState == 0) {
                game.Mood = 222;  // half way into the sad state
                game.MoodState = 1;
                game.MoodHoldUntil = int64_t(now) + 4000;
            }
        }
        const bool quiet = !emptyOrWaiting && !mergePending;
        // The check for a possible move runs once per mouse move, after the smart choice has
        // used up its count; the look for any move left once per move tried and per renewal.
        if (game.SmartCount < 1 && game.MoveMade && quiet) {
            CheckPossibleMoves();
            game.MoveMade = false;
        }
        if (game.BoardCheckDue && quiet && !falling && !level.LevelDone) {
            game.BoardCheckDue = false;
            RenewDeadBoard(now);
        }
        if (!emptyOrWaiting && level.LevelDone && !falling) links_.Out.LevelComplete(now);
    });
}

void TPlayRules::BreakCompleted(TCell cell, uint32_t now) {
    TFish& fish = Fish(cell);
    links_.Out.FreeCellEffect(cell);
    const TPoint centre = CellCentre(cell.Col, cell.Row);
    const int64_t breakTime = fish.BreakTime > 0 ? fish.BreakTime : int64_t(now);
    const std::string picture = links_.Out.CellPicture(cell);

    TScreenEffectOrder breaking;
    breaking.Name = CellName(cell);
    breaking.Position = centre;
    breaking.Start = uint32_t(breakTime);
    // The first system shows the cell's own picture: a ghost's still picture, else its strip.
    if (fish.Kind == fkGhost) {
        breaking.FirstSystemPicture = picture.substr(0, MaxEntryName);
        breaking.FirstSystemFrames = 1;
    } else {
        breaking.FirstSystemPicture = (picture + "anime").substr(0, MaxEntryName);
        breaking.FirstSystemFrames = fish.Type >= 0 && size_t(fish.Type) < links_.Types.size()
                                         ? links_.Types[size_t(fish.Type)].Frames()
                                         : 1;
    }
    TScreenEffectOrder after;
    after.Name = breaking.Name;
    after.Position = centre;

    const auto& bombs = Level().BombPlaces;
    int64_t removeAt;
    if (std::find(bombs.begin(), bombs.end(), cell) != bombs.end()) {
        breaking.File = "efBomb1.xml";
        after.File = "efBombPlace.xml";
        after.Start = uint32_t(breakTime + 1000);
        removeAt = breakTime + 1000;
    } else {
        breaking.File = BreakEffects[std::clamp(fish.GroupClass, 0, 2)];
        breaking.FromGlobal = true;
        after.File = "efBlickComplete1.xml";
        after.Start = now;
        removeAt = breakTime + 750;
    }
    links_.Out.StartScreenEffect(breaking);
    links_.Out.StartScreenEffect(after);
    fish.RemoveTime = fish.HiddenUntil = int32_t(removeAt);
}

void TPlayRules::RemoveCell(TCell cell, std::vector<int>& columns, uint32_t now) {
    TFish& fish = Fish(cell);
    const auto& bombs = Level().BombPlaces;
    const bool full = FullFishka(fish, links_.Types);
    if (full && std::find(bombs.begin(), bombs.end(), cell) != bombs.end())
        BombPoint(cell, columns, now);
    links_.Out.FreeCellEffect(cell);
    if (std::find(columns.begin(), columns.end(), cell.Col) == columns.end())
        columns.push_back(cell.Col);
    if (full) {
        TLevel& level = Level();
        if (level.Progress - level.Goal >= 0) level.LevelDone = true;
        AddScore(10);
        if (fish.Kind == fkGhost) AddScore(15);
        if (fish.InGroup) {
            AddScore(50);
            TScreenEffectOrder bonus;
            bonus.Name = "+50";
            bonus.File = "efBonus50.xml";
            bonus.Position = CellCentre(cell.Col, cell.Row);
            bonus.Start = now;
            links_.Out.StartScreenEffect(bonus);
        }
        FireBombShots(cell, fish.Extras, now);
        if (fish.Extras & feBonusGem) MakeFishCobra(cell, now);
        fish.Extras = 0;
    }
    fish.RemoveTime = -1;
    if (fish.Kind != fkCobra && fish.Kind != fkPyramid && fish.Kind != fkCoin) fish.Type = -1;
    links_.Out.EndFlight(cell);
}

bool TPlayRules::TickFallFishes(int32_t dt) {
    return Guarded("Exception error in TKelGameEngine.TickFallFishes!", [&] {
        bool anyFalling = false, landed = false;
        for (int col = 1; col <= BoardColumns; ++col) {
            bool columnFalling = false;
            for (int row = 1; row <= BoardRows; ++row) {
                TFish& fish = Fish({col, row});
                if (!fish.Falling) continue;
                columnFalling = true;
                fish.FallSpeed += dt * 70.0 / 1000.0;
                fish.FallY = RoundToInt(double(fish.FallY) + RoundToInt(fish.FallSpeed));
                if (fish.FallY >= BoxTop(col, row)) {
                    fish.FallSpeed = 0;
                    fish.Falling = false;
                    landed = true;
                }
            }
            if (columnFalling) {
                anyFalling = true;
                links_.Out.MarkRedraw({65 * col - 63, 0, 65 * col + 2, 599});
            }
        }
        if (landed && Game().ImpactSound) links_.Out.PlaySound("Impact", -1);
        return anyFalling;
    });
}

bool TPlayRules::PinnedOrOutside(TCell cell) const {
    return !Board().CellExists(cell.Col, cell.Row) || Fish(cell).Pinned;
}

void TPlayRules::MakeDownFallCow(int col, uint32_t now) {
    Guarded("Exception error in TKelGameEngine.MakeDownFallCow!", [&] {
        const TBoard& board = Board();
        auto realSource = [&](int row) {
            return Fish({col, row}).Type != -1 && !PinnedOrOutside({col, row});
        };
        int gap = 0;
        for (int row = BoardRows; row >= 1; --row) {
            const TCell cell{col, row};
            if (board.CellExists(col, row)) {
                if (row - gap > 0 && !realSource(row - gap)) {
                    links_.Out.FreeCellEffects({col, row - gap});
                    ++gap;
                    for (int k = row - gap; k >= 1 && !realSource(k); --k) {
                        ++gap;
                        links_.Out.FreeCellEffects({col, k});
                    }
                }
                if (gap > 0) {
                    TFish& fish = Fish(cell);
                    if (fish.Pinned) {
                        --gap;
                    } else if (row - gap <= 0) {
                        links_.Out.FreeCellEffects(cell);
                        if (fish.KeepJumpBall) {
                            fish.KeepJumpBall = false;
                            GiveJumpBall(cell, now);
                        } else {
                            fish.JumpBall = false;
                        }
                        RenewFishka(cell);
                        links_.Out.CellChanged(cell, now);
                        fish.FallY = BoxTop(col, row - gap) + 36 - PictureHalfHeight(cell);
                    } else {
                        const TCell from{col, row - gap};
                        links_.Out.FreeCellEffects(cell);
                        const bool keepBall = fish.KeepJumpBall && fish.Kind == fkNormal;
                        fish = Fish(from);
                        links_.Out.MoveCell(from, cell);
                        if (keepBall) {
                            GiveJumpBall(cell, now);
                            fish.KeepJumpBall = false;
                        }
                        if (Game().LastMoveCell == from) Game().LastMoveCell.Row = row;
                        fish.Falling = true;
                        fish.FallY = BoxTop(col, row - gap) + 36 - PictureHalfHeight(cell);
                    }
                }
            } else if (gap > 0) {
                --gap;
            }
        }
        for (int row = BoardRows; row >= 1; --row) {
            const TCell cell{col, row};
            if (!board.CellExists(col, row)) continue;
            TFish& fish = Fish(cell);
            const bool scarab = fish.Kind >= fkScarab0 && fish.Kind <= fkScarab300;
            if (!scarab) fish.Pinned = false;
            const bool object = scarab || fish.Kind == fkCobra || fish.Kind == fkPyramid;
            if (object && (fish.JumpBall || (scarab && fish.Extras != 0))) {
                // Objects carry neither a ball nor extras.
                fish.JumpBall = false;
                fish.Extras = 0;
                links_.Out.CellChanged(cell, now);
            }
        }
    });
}

void TPlayRules::GiveJumpBall(TCell cell, uint32_t now) {
    Fish(cell).JumpBall = true;
    links_.Out.StartCellEffect(cell, JumpBallEffectFile, now);
}

int32_t TPlayRules::PictureHalfHeight(TCell cell) const {
    return links_.Out.CellPictureSize(cell).Y / 2;
}
