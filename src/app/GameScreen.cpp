// The game screen's backgrounds.
#include "app/GameScreen.h"

#include <algorithm>

#include "core/KelException.h"

void TGameScreen::DrawGameStateBackground() {
    Guarded("Exception error in TKelGameEngine.DrawGameStateBackground!", [this] {
        switch (links_.Play.Game.State) {
            case gsGame:
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
