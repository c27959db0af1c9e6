// The game screen: state backgrounds, the board and its overlays, the bar and the Pharaoh.
#include "app/GameScreen.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "core/KelException.h"
#include "fx/KelFXNumbers.h"

void TGameScreen::DrawGameStateBackground() {
    Guarded("Exception error in TKelGameEngine.DrawGameStateBackground!", [this] {
        switch (links_.Play.Game.State) {
            case gsGame:
            case gsInstructions:  // the instructions stand over the level they introduce
                DrawPlayBackground(true);
                break;
            case gsPause:
                DrawPlayBackground(false);
                break;
            case gsBetweenLevels:
                DrawMapBackground();
                break;
            default:
                break;  // the other states keep the background they have
        }
        links_.Redraw.FillRect(ScreenRect);
    });
}

void TGameScreen::DrawPlayBackground(bool withBoard) {
    TSurfEngine& store = *links_.SurfaceStore;
    const TLevel& level = links_.Play.Level;
    store.DrawSurface(level.BackPicture, "Background", 0, 0, nullptr);
    if (withBoard) {
        const int fragWidth = store.GetSurfaceSize(level.UnderFrag).X;
        for (int col = 1; col <= BoardColumns; ++col)
            for (int row = 1; row <= BoardRows; ++row)
                if (level.Board.CellExists(col, row))
                    store.DrawWithAlphaChannel(level.UnderFrag, "Background",
                                               65 * col - 31 - fragWidth / 2, CellBox(col, row).Top,
                                               255, nullptr);
        for (const TCell& cell : level.BombPlaces) {
            const TPoint centre = CellCentre(cell.Col, cell.Row);
            store.DrawWithAlphaChannel("BombCellFrame.png", "Background", centre.X, centre.Y, 255,
                                       nullptr, 0, 0, nullptr, true);
        }
        for (const TCell& cell : level.CompleteOn) {
            const TRect box = CellBox(cell.Col, cell.Row);
            store.DrawWithAlphaChannel("QuestCellFrame.png", "Background", box.Left, box.Top, 255,
                                       nullptr);
        }
        DrawLevelLines("Background");
    }
    store.DrawWithAlphaChannel("Column.png", "Background", 0, 0, 255, nullptr);
}

void TGameScreen::DrawMapBackground() {
    TSurfEngine& store = *links_.SurfaceStore;
    store.DrawSurface("map.jpg", "Background", 0, 0, nullptr);
    const int last = std::min<int>(links_.Play.Game.CurrentLevel, 41);
    for (int k = 0; k <= last && size_t(k) < links_.PathPoints.size(); ++k) {
        const TPathPoint& point = links_.PathPoints[size_t(k)];
        store.DrawWithAlphaChannel("LevelDone.png", "Background", point.X, point.Y, 255, nullptr, 0,
                                   0, nullptr, true);
    }
}

void TGameScreen::DrawLevelLines(const std::string& surface) {
    Guarded("Exception error in TKelGameEngine.DrawLevelLines!", [&] {
        TSurfEngine& store = *links_.SurfaceStore;
        const TBoard& board = links_.Play.Level.Board;
        const int fragWidth = store.GetSurfaceSize(links_.Play.Level.UnderFrag).X;
        auto missing = [&](int col, int row) { return !board.CellExists(col, row); };
        auto line = [&](int x1, int y1, int x2, int y2) {
            store.DrawLine(surface, 0, x1, y1, x2, y2, 255);
        };
        for (int c = 1; c <= BoardColumns; ++c) {
            const int s = c % 2 == 1 ? -1 : 0, t = c % 2 == 1 ? 0 : 1;
            for (int r = 1; r <= BoardRows; ++r) {
                if (!board.CellExists(c, r)) continue;
                const int x0 = 65 * c - 31 - fragWidth / 2, y0 = CellBox(c, r).Top;
                if (r == 1 || missing(c, r - 1)) line(x0 + 22, y0, x0 + 65, y0);
                if (r == BoardRows || missing(c, r + 1)) line(x0 + 22, y0 + 72, x0 + 65, y0 + 72);
                if (c == BoardColumns || r == 1 || (r + s < BoardRows && missing(c + 1, r + s)))
                    line(x0 + 65, y0, x0 + 87, y0 + 36);
                if (c == 1 || r == 1 || (r + s < BoardRows && missing(c - 1, r + s)))
                    line(x0, y0 + 36, x0 + 22, y0);
                if (c == BoardColumns || r == BoardRows ||
                    (r + t <= BoardRows && missing(c + 1, r + t)))
                    line(x0 + 87, y0 + 36, x0 + 65, y0 + 72);
                if (c == 1 || r == BoardRows || (r + t <= BoardRows && missing(c - 1, r + t)))
                    line(x0 + 22, y0 + 72, x0, y0 + 36);
            }
        }
    });
}

namespace {

// Whether the clock has reached a tick (-1 and other negative ticks are never reached).
bool Reached(int32_t tick, uint32_t now) {
    return tick >= 0 && int32_t(now - uint32_t(tick)) >= 0;
}

TPoint RoundedSlidePos(const TFish& fish) {
    return {int(std::nearbyint(fish.SlidePos.X)), int(std::nearbyint(fish.SlidePos.Y))};
}

}  // namespace

void TGameScreen::DrawLevelBox(const TEffectCanvas& canvas) {
    Guarded("Exception error in TKelGameEngine.DrawLevelBox!", [&] {
        TSurfEngine& store = canvas.Store;
        const TGame& game = links_.Play.Game;
        const TBoard& board = links_.Play.Level.Board;
        if (game.WillCompleteShown && !game.SelectedCell.IsNone()) {
            for (const TCell& cell : game.PreviewGroup) {
                const TPoint centre = CellCentre(cell.Col, cell.Row);
                store.DrawWithAlphaChannel("CellFrame.png", "MemorySurface", centre.X, centre.Y,
                                           255, nullptr, 0, 0, nullptr, true);
            }
            const TPoint centre = CellCentre(game.SelectedCell.Col, game.SelectedCell.Row);
            store.DrawWithAlphaChannel("CellFrame.png", "MemorySurface", centre.X, centre.Y, 255,
                                       nullptr, 0, 0, nullptr, true);
        }
        for (int row = 1; row <= BoardRows; ++row)
            for (int col = 1; col <= BoardColumns; ++col)
                if (board.CellExists(col, row)) DrawCell(canvas, col, row);
        for (int row = 1; row <= BoardRows; ++row)
            for (int col = 1; col <= BoardColumns; ++col)
                if (links_.View.Cell(col, row).Effect) DrawAttachedEffect(canvas, col, row);
        // Cells sliding along a scarab's line: their pictures travel as screen effects, their
        // markers and scarabs are drawn here.
        for (int row = 1; row <= BoardRows; ++row)
            for (int col = 1; col <= BoardColumns; ++col) {
                const TFish& fish = board.Cell(col, row);
                if (fish.SlideTime < 0 || Reached(fish.SlideTime, canvas.Now)) continue;
                const TPoint at = RoundedSlidePos(fish);
                DrawMarkers(canvas, fish.Extras, false, at);
                DrawMarkers(canvas, fish.Extras, true, at);
                if (fish.Kind < fkScarab0 || fish.Kind > fkScarab300) continue;
                const std::string picture = ScarabPictureName(fish.Kind);
                const TPoint size = store.GetSurfaceSize(picture);
                store.DrawWithAlphaChannelInReal(picture, "MemorySurface",
                                                 fish.SlidePos.X - size.X / 2.0,
                                                 fish.SlidePos.Y - size.Y / 2.0, 255, nullptr);
            }
    });
}

void TGameScreen::DrawCell(const TEffectCanvas& canvas, int col, int row) {
    TSurfEngine& store = canvas.Store;
    const TFish& fish = links_.Play.Level.Board.Cell(col, row);
    TCellView& cell = links_.View.Cell(col, row);
    const bool selected = links_.Play.Game.SelectedCell == TCell{col, row};
    const int top = CellBox(col, row).Top;
    const TPoint centre = CellCentre(col, row);
    if (fish.InGroup)
        store.DrawWithAlphaChannel("CellFrame.png", "MemorySurface", centre.X, top + 36, 255,
                                   nullptr, 0, 0, nullptr, true);
    // A completing fishka stays visible until it breaks, though hidden until its removal.
    const bool visible = fish.HiddenUntil < 0 || Reached(fish.HiddenUntil, canvas.Now) ||
                         (fish.BreakTime >= 0 && !Reached(fish.BreakTime, canvas.Now));
    const bool sliding = fish.SlideTime >= 0 && !Reached(fish.SlideTime, canvas.Now);
    if (visible && fish.Type != -1 && !sliding) {
        const TPoint markers = fish.Falling ? TPoint{centre.X, fish.FallY + 32} : centre;
        DrawMarkers(canvas, fish.Extras, false, markers);
        const int w = cell.PicWidth, h = cell.PicHeight;
        const int x = 65 * col - 63 + (65 - w) / 2;
        const int y = fish.Falling ? fish.FallY : top + (73 - h) / 2;
        if (selected || fish.JumpBall) {
            TRect frame{cell.Frame * w, 0, (cell.Frame + 1) * w - 1, h - 1};
            const std::string strip = cell.SurfName + "anime";
            const TKelParticleSystem* ball =
                fish.JumpBall && cell.Effect && cell.Effect->SystemCount() > 0
                    ? cell.Effect->GetSystem(0)
                    : nullptr;
            if (ball && !ball->Particles.empty()) {
                const TKelVector offset = ball->Particles.front()->GetPosition();
                store.DrawWithAlphaChannelInReal(strip, "MemorySurface", x + offset[0],
                                                 fish.Falling ? fish.FallY : y + offset[1], 255,
                                                 &frame);
            } else {
                store.DrawWithAlphaChannel(strip, "MemorySurface", x, y, 255, &frame);
            }
        } else {
            store.DrawWithAlphaChannel(cell.SurfName, "MemorySurface", x, y, 255, nullptr);
        }
        DrawMarkers(canvas, fish.Extras, true, markers);
    }
    if (selected && fish.MergeTime == -1) {
        const TPoint size = store.GetSurfaceSize("Select.png");
        store.DrawWithAlphaChannel("Select.png", "MemorySurface", 65 * col - 63 + (65 - size.X) / 2,
                                   fish.Falling ? fish.FallY : top + (73 - size.Y) / 2, 255,
                                   nullptr);
        links_.Redraw.FillRect(CellBox(col, row));
    }
    if (fish.JumpBall) links_.Redraw.FillRect({65 * col - 73, top, 65 * col + 12, top + 73});
}

void TGameScreen::DrawAttachedEffect(const TEffectCanvas& canvas, int col, int row) {
    TCellView& cell = links_.View.Cell(col, row);
    const TFish& fish = links_.Play.Level.Board.Cell(col, row);
    cell.Effect->Update(canvas.Now);
    if (cell.Effect->Finished) {
        cell.Effect.reset();
        cell.EffectFile.clear();
        return;
    }
    const TPoint centre = CellCentre(col, row);
    TPoint at = centre;
    if (fish.Falling)
        at = {centre.X, fish.FallY + 32};
    else if (fish.SlideTime >= 0 && !Reached(fish.SlideTime, canvas.Now))
        at = RoundedSlidePos(fish);
    DrawKelParticleEffect(canvas, *cell.Effect, "MemorySurface", at.X, at.Y);
}

void TGameScreen::DrawFlyingPieces(const TEffectCanvas& canvas) {
    Guarded("Exception error in TKelGameEngine.CreateMoveEffect!", [&] {
        for (int col = 1; col <= BoardColumns; ++col)
            for (int row = 1; row <= BoardRows; ++row) {
                const TFish& fish = links_.Play.Level.Board.Cell(col, row);
                const TCellView& cell = links_.View.Cell(col, row);
                if (fish.MergeTime <= 0 || Reached(fish.MergeTime, canvas.Now) ||
                    cell.FlyPicture.empty())
                    continue;
                canvas.Store.DrawWithAlphaChannel(
                    cell.FlyPicture, "MemorySurface", cell.FlyFrom.X - cell.FlyHalfSize.X,
                    cell.FlyFrom.Y - cell.FlyHalfSize.Y, 255, nullptr);
            }
    });
}

void TGameScreen::AnimateCells(uint32_t now) {
    if (animated_ && int32_t(now - lastAnimation_) <= 22) return;
    const TBoard& board = links_.Play.Level.Board;
    for (int row = 1; row <= BoardRows; ++row)
        for (int col = 1; col <= BoardColumns; ++col) {
            const TFish& fish = board.Cell(col, row);
            TCellView& cell = links_.View.Cell(col, row);
            const bool selected = links_.Play.Game.SelectedCell == TCell{col, row};
            if (!selected && !fish.JumpBall) continue;
            const int frames = fish.Type >= 0 && size_t(fish.Type) < links_.Types.size()
                                   ? links_.Types[size_t(fish.Type)].Frames()
                                   : 1;
            if (selected) {
                cell.Frame = cell.Frame + 1 > frames - 1 ? 0 : cell.Frame + 1;
            } else {
                const double swing = std::sin(double(now) / 300.0);
                cell.Frame = frames < 21 ? int(std::nearbyint(7 * swing)) + frames / 2
                                         : (int(std::nearbyint(12 * swing)) + frames) % frames;
            }
            links_.Redraw.FillRect(CellBox(col, row));
        }
    lastAnimation_ = now;
    animated_ = true;
}

void TGameScreen::DrawMarkers(const TEffectCanvas& canvas, uint8_t extras, bool gem, TPoint at) {
    struct TMarker {
        uint8_t Bit;
        const char* File;
    };
    static constexpr TMarker bombs[] = {{feVerticalBomb, "efVertBombBonus.xml"},
                                        {feBomb25, "efDiagRTBombBonus.xml"},
                                        {feBomb36, "efDiagLTBombBonus.xml"}};
    static constexpr TMarker gems[] = {{feBonusGem, "efBonusGem.xml"}};
    for (const TMarker& marker : gem ? std::span<const TMarker>(gems) : std::span(bombs))
        if (extras & marker.Bit)
            if (const TKelParticleEffect* effect = links_.Effects.Find(marker.File))
                DrawKelParticleEffect(canvas, *effect, "MemorySurface", at.X, at.Y);
}

void TGameScreen::DrawFinishBar(const TEffectCanvas& canvas) {
    Guarded("Exception error in TKelGameEngine.DrawFinishBar!", [&] {
        const TLevel& level = links_.Play.Level;
        if (!level.ShowFinishBar) return;
        TSurfEngine& store = canvas.Store;
        // A level without a positive goal shows a full bar.
        const double full = level.Goal > 0 ? level.Progress * 299.0 / level.Goal : 299.0;
        const int b = std::clamp(SaturateRound<int>(full), 0, 299);
        const TPoint size = store.GetSurfaceSize("FinishLight.png");
        TRect source{0, 347 - b, size.X - 1, size.Y - 1};
        if (links_.Play.Game.MoodState != 0) {
            store.DrawWithAlphaChannel("FinishLight.png", "MemorySurface", 48, 460 - b, 255,
                                       &source);
        } else {
            // The angry Pharaoh's pulse tints the bar red; without it the bar stays untinted.
            double pulse = 1;
            const TKelParticleEffect* angry = links_.Effects.Find("efPharaohAngry.xml");
            if (angry && angry->SystemCount() > 0 && angry->GetSystem(0) &&
                !angry->GetSystem(0)->Particles.empty())
                pulse = angry->GetSystem(0)->Particles.front()->GetColorValue();
            const uint8_t amount =
                uint8_t(std::clamp(SaturateRound<int>((1 - pulse) * 255), 0, 255));
            store.DrawWithAlphaChannel("FinishLight.png", "MemorySurface", 48, 460 - b, 255,
                                       &source, 255, amount);
            links_.Redraw.FillRect({19, 400 - b, 108, 505});
        }
        store.DrawWithAlphaChannel("FinishScarab.png", "MemorySurface", 19, 405 - b, 255, nullptr);
    });
}

void TGameScreen::DrawArrowCursor(const TEffectCanvas& canvas, TGame& game) {
    Guarded("Exception error in TKelGameEngine.DrawArrowCursor!", [&] {
        if (game.KeyCursorTime <= 0 ||
            int32_t(canvas.Now - uint32_t(game.KeyCursorTime)) >= 10000) {
            game.KeyCursorTime = -1;
            return;
        }
        const TCell cell = game.KeyCursor;
        if (!TBoard::InRange(cell.Col, cell.Row)) return;
        const TRect box = CellBox(cell.Col, cell.Row);
        canvas.Store.DrawWithAlphaChannel("KeyCursor.png", "MemorySurface", box.Left - 2,
                                          box.Top - 2, 255, nullptr);
    });
}

void TGameScreen::DrawMouseOverEffects(const TEffectCanvas& canvas) {
    Guarded("Exception error in TKelGameEngine.DrawMouseOverEffects!", [&] {
        const TBoard& board = links_.Play.Level.Board;
        for (const TCell& cell : links_.Play.Game.PreviewGroup) {
            if (!TBoard::InRange(cell.Col, cell.Row)) continue;
            links_.Redraw.FillRect(CellBox(cell.Col, cell.Row));
            const TFish& fish = board.Cell(cell.Col, cell.Row);
            int piece = 1;
            while (piece <= 3 && !fish.Has[size_t(piece)]) ++piece;
            if (piece > 3) continue;
            const TKelParticleEffect* effect =
                links_.Effects.Find("efMouseOver" + std::to_string(piece) + ".xml");
            const TPoint centre = CellCentre(cell.Col, cell.Row);
            if (effect) DrawKelParticleEffect(canvas, *effect, "MemorySurface", centre.X, centre.Y);
        }
    });
}

void TGameScreen::DrawPharaoh(const TEffectCanvas& canvas, const std::string& topForm) {
    Guarded("Exception error in TKelGameEngine.DrawPharaoh!", [&] {
        if (topForm == "WGameOver") {
            canvas.Store.DrawWithAlphaChannel("Pharaoh0.png", "MemorySurface", 7, 6, 255, nullptr);
            const TPoint size = canvas.Store.GetSurfaceSize("Pharaoh0.png");
            links_.Redraw.FillRect({7, 6, 6 + size.X, 5 + size.Y});
            return;
        }
        const TGame& game = links_.Play.Game;
        const bool angry = game.MoodState == 0 && game.State == gsGame;
        const std::string file = angry ? std::string("efPharaohAngry.xml")
                                       : "efPharaohFaces" + std::to_string(game.MoodState) + ".xml";
        if (!angry && (game.MoodState < 1 || game.MoodState > 6)) return;
        if (TKelParticleEffect* face = links_.Effects.Find(file)) {
            face->Update(canvas.Now);
            DrawKelParticleEffect(canvas, *face, "MemorySurface", 0, 0);
        }
    });
}
