#include "app/FrameParts.h"

#include <algorithm>

#include "core/KelException.h"

void DrawBackgroundByGrid(TGameServices& s_) {
    Guarded("Exception error in TKelGameEngine.DrawBackgroundByGrid!", [&s_] {
        // The play states restore the whole background, a little wider than the screen on the
        // left for pictures that reach past its edge. So do the others while windows are shown:
        // the windows are drawn whole every frame, and their soft edges must not pile up on
        // themselves.
        const bool whole = s_.Play.Game.State == gsGame || s_.Play.Game.State == gsPause ||
                           !s_.Interface.ModalStack().empty();
        if (whole) {
            TRect screen{-8, 0, ScreenWidth - 1, ScreenHeight - 1};
            s_.Surfaces->DrawSurface("Background", "MemorySurface", -8, 0, &screen);
        }
        // The grid's runs still mark the tiles after them; their background is already back
        // when the whole of it was restored.
        s_.Redraw.RestoreRuns([&s_, whole](const TRect& rect) {
            if (whole) return;
            TRect area = rect;
            s_.Surfaces->DrawSurface("Background", "MemorySurface", rect.Left, rect.Top, &area);
        });
    });
}

void DrawCursor(TGameServices& s_) {
    const TKelParticleEffect* cursor = s_.GlobalEffects.Cursor();
    if (!cursor) return;
    const TPoint frame = s_.Surfaces->GetSurfaceSize("cursor_line.png");
    const int w = frame.X / 45, h = frame.Y;
    const TPoint offset = s_.GlobalEffects.CursorOffset();
    const int x = s_.MousePos.X + offset.X, y = s_.MousePos.Y + offset.Y;
    const int px = s_.PrevMousePos.X + offset.X, py = s_.PrevMousePos.Y + offset.Y;
    s_.Redraw.FillRect(
        {std::min(x, px) - 3, std::min(y, py) - 3, std::max(x, px) + w, std::max(y, py) + h});
    DrawKelParticleEffect(s_.Canvas(), *cursor, "MemorySurface", x, y);
}
