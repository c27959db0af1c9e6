// Drawing of particle effects on the screen: every particle of every system as its picture (or
// one frame of a picture strip, or a text), faded, tinted, drawn plainly, added onto the frame
// or filtered through a shader, clipped to its instance's bounds, and each drawn area marked on
// the redraw grid. Single effects are drawn at whole pixels or, sub-pixel, at real positions.
// Relies on the surface store, the fonts, the particle effects, the effect instances and the
// redraw grid.
#pragma once

#include <cstdint>
#include <string>

#include "app/RedrawGrid.h"
#include "app/ScreenEffects.h"
#include "graphics/KelFontEngine.h"
#include "graphics/SurfEngine.h"

// Where effects are drawn: the store holding the pictures and the target, the fonts of text
// instances, the grid that learns what changed, and the clock of the pass.
struct TEffectCanvas {
    TSurfEngine& Store;
    const TKelFontEngine* Fonts = nullptr;
    TRedrawGrid& Redraw;
    uint32_t Now = 0;
};

// Draws `source` of a picture (the whole picture when none) at (x, y) with alpha, cut so that
// the drawn area stays inside `clip`; nothing when it lies wholly outside.
void DrawWithClipper(TSurfEngine& store, const std::string& picture, const std::string& surface,
                     const TRect* source, uint8_t amount, uint32_t color, uint8_t opacity,
                     const TRect& clip, int x, int y);

// DrawWithClipper for a position in real pixels, drawn by the store's bilinear draw: the columns
// and rows from the position's whole pixel on are drawn, one fewer than `source` has (its last
// column and row only serve as neighbours), and those that would fall outside `clip` are cut
// from the source; nothing when it lies wholly outside or the position is undefined or far off.
void DrawwithClipperInReal(TSurfEngine& store, const std::string& picture,
                           const std::string& surface, const TRect* source, uint8_t amount,
                           uint32_t color, uint8_t opacity, const TRect& clip, double x, double y);

// Draws every active, started instance of the list onto `surface`, in list order. An error of
// one particle skips that particle; any other raises "Exception error it
// TKelGameEngine.DrawKelScreenEffects!".
void DrawKelScreenEffects(const TEffectCanvas& canvas, const std::string& surface,
                          const TScreenEffects& list);

// Draws one effect onto `surface` offset by (dx, dy) and clipped to `bounds`, once its start
// time has passed. An opacity below 255 scales each particle's; an amount above 0 replaces each
// particle's tint by `color` at that amount. Errors raise "Exception error in
// TKelGameEngine.DrawKelParticleEffect!".
void DrawKelParticleEffect(const TEffectCanvas& canvas, const TKelParticleEffect& effect,
                           const std::string& surface, int dx, int dy,
                           const TRect& bounds = ScreenRect, uint8_t opacity = 255,
                           uint32_t color = 0, uint8_t amount = 0);
// The same with each particle at its real position offset by (dx, dy), drawn sub-pixel: a
// particle between two pixels spreads over both. The same errors.
void DrawKelParticleEffectInReal(const TEffectCanvas& canvas, const TKelParticleEffect& effect,
                                 const std::string& surface, double dx, double dy,
                                 const TRect& bounds = ScreenRect, uint8_t opacity = 255,
                                 uint32_t color = 0, uint8_t amount = 0);
