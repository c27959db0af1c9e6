// Drawing particle effects.
#include "app/EffectDrawing.h"

#include <algorithm>
#include <cmath>

#include "core/KelException.h"
#include "core/Utf8.h"
#include "fx/KelFXNumbers.h"
#include "graphics/KelFont.h"

namespace {

// Effect values come from data: NaN and values out of range convert with the saturating rule.
int Rounded(double value) {
    return SaturateRound<int>(value);
}

uint8_t ByteOf(double value) {
    return uint8_t(std::clamp(SaturateTrunc<int>(value), 0, 255));
}

// How one particle is drawn, taken from the particle, its system and its instance.
struct TParticleLook {
    uint8_t Opacity = 255;
    uint32_t Color = 0;
    uint8_t Amount = 0;
};

TParticleLook ScreenLook(const TKelParticle& particle) {
    const TKelVector color = particle.GetColor();
    const double value = particle.GetColorValue();
    return {ByteOf(particle.GetAlpha() * 255.0),
            uint32_t(ByteOf(color[0])) | uint32_t(ByteOf(color[1])) << 8 |
                uint32_t(ByteOf(color[2])) << 16,
            value == 0 ? uint8_t(0) : uint8_t(std::clamp(Rounded((1.0 - value) * 255.0), 1, 255))};
}

// What a particle system draws: its picture and, for strips, the frame layout.
struct TSystemPicture {
    std::string Name;
    int Width = 0, Height = 0;
};

TSystemPicture FindPicture(const TSurfEngine& store, const std::string& name, int outputMode) {
    TSystemPicture picture{name};
    if (outputMode == 2) {
        const int index = store.IndexOfShader(name);
        if (index < 0) return {};
        picture.Width = store.Shaders[size_t(index)].Width;
        picture.Height = store.Shaders[size_t(index)].Height;
        return picture;
    }
    const int index = store.IndexOfSurface(name);
    if (index < 0) return {};
    picture.Width = store.Surfaces[size_t(index)].Width;
    picture.Height = store.Surfaces[size_t(index)].Height;
    return picture;
}

// The frame of a strip (one row, or FramePerLine frames a row) the particle shows.
struct TFrame {
    TRect Source;
    int Width = 0, Height = 0;
};

TFrame FrameOf(const TKelParticle& particle, const TSystemPicture& picture, int frameCount) {
    const int f = std::max(0, particle.GetFrame());  // saturated by the particle
    const TKelParticleParams* perLine =
        particle.GetParamRecord(particle.IndexOfParam("FramePerLine"));
    const int p = perLine ? SaturateTrunc<int>(perLine->Value[0]) : 0;
    if (p < 1) {  // one row of frames, also for a FramePerLine below 1
        const int w = picture.Width / frameCount;
        return {{f * w, 0, (f + 1) * w - 1, picture.Height - 1}, w, picture.Height};
    }
    const int rows = std::max(1, frameCount / p + (frameCount % p != 0 ? 1 : 0));
    const int w = picture.Width / p, h = picture.Height / rows;
    const int col = f % p, row = f / p;
    return {{col * w, row * h, (col + 1) * w - 1, (row + 1) * h - 1}, w, h};
}

// Where a particle's picture goes: its top-left corner, whole pixels unless drawn sub-pixel.
struct TSpot {
    double X = 0, Y = 0;
    bool SubPixel = false;
};

// The whole pixel of a coordinate; far-off and undefined values are kept where the pixel
// arithmetic of an area cannot overflow (nothing is drawn there).
int PixelOf(double value) {
    return SaturateTrunc<int>(std::floor(std::clamp(value, -1e9, 1e9)));
}

// Draws the source rectangle of a picture at the spot, clipped to `bounds`.
void DrawClipped(TSurfEngine& store, const std::string& picture, const std::string& surface,
                 const TRect* source, const TParticleLook& look, const TRect& bounds, TSpot spot) {
    if (spot.SubPixel)
        DrawwithClipperInReal(store, picture, surface, source, look.Amount, look.Color,
                              look.Opacity, bounds, spot.X, spot.Y);
    else
        DrawWithClipper(store, picture, surface, source, look.Amount, look.Color, look.Opacity,
                        bounds, PixelOf(spot.X), PixelOf(spot.Y));
}

// Draws the source rectangle of a picture at the spot with the system's blending; `area` is
// what it covers, from the spot's whole pixel on.
void Blend(const TEffectCanvas& canvas, const TSystemPicture& picture, int outputMode,
           const std::string& surface, const TRect* source, const TRect& area,
           const TParticleLook& look, const TRect& bounds, TSpot spot) {
    TSurfEngine& store = canvas.Store;
    if (outputMode == 1) {
        store.FillRectByte("MemoryBufferAdd", 0, area);
        DrawClipped(store, picture.Name, "MemoryBufferAdd", source, look, bounds, spot);
        store.AddBlend(surface, "MemoryBufferAdd", surface, &area, &area, &bounds);
    } else if (outputMode == 2) {
        // Shaders filter whole pixels.
        TRect copy = area;
        store.DrawSurface(surface, "MemoryBufferAdd", area.Left, area.Top, &copy);
        if (area.Left + picture.Width - 1 <= bounds.Right &&
            area.Top + picture.Height - 1 <= bounds.Bottom)
            store.DrawShader(surface, picture.Name, "MemoryBufferAdd", area.Left, area.Top, source);
    } else {
        DrawClipped(store, picture.Name, surface, source, look, bounds, spot);
    }
}

// One particle of a system: a picture or a strip frame, positioned by its centre, at its
// rounded position or, sub-pixel, at its real one. `screen` selects the screen instances'
// marked strip rectangle (one frame high) over the whole picture height of single effects.
void DrawParticle(const TEffectCanvas& canvas, const TKelParticle& particle,
                  const TSystemPicture& picture, int frameCount, int outputMode,
                  const std::string& surface, double dx, double dy, bool subPixel,
                  const TParticleLook& look, const TRect& bounds, bool screen) {
    const TKelVector position = particle.GetPosition();
    auto place = [subPixel](double at, double offset, int half) {
        return (subPixel ? at : Rounded(at)) + offset - half;
    };
    if (frameCount < 2) {
        const int hw = picture.Width / 2, hh = picture.Height / 2;
        const TSpot spot{place(position[0], dx, hw), place(position[1], dy, hh), subPixel};
        const int x = PixelOf(spot.X), y = PixelOf(spot.Y);
        const TRect area{x, y, x + 2 * hw, y + 2 * hh};
        canvas.Redraw.FillRect(area);
        Blend(canvas, picture, outputMode, surface, nullptr, area, look, bounds, spot);
        return;
    }
    if (particle.GetFrame() >= frameCount) return;  // past the strip: nothing to show
    const TFrame frame = FrameOf(particle, picture, frameCount);
    const TSpot spot{place(position[0], dx, frame.Width / 2),
                     place(position[1], dy, frame.Height / 2), subPixel};
    const int x = PixelOf(spot.X), y = PixelOf(spot.Y);
    canvas.Redraw.FillRect(
        {x, y, x + frame.Width, y + (screen ? frame.Height : picture.Height) - 1});
    const TRect area{x, y, x + frame.Width - 1, y + frame.Height - 1};
    TRect source = frame.Source;
    Blend(canvas, picture, outputMode, surface, &source, area, look, bounds, spot);
}

bool Started(uint32_t start, uint32_t now) {
    return int32_t(now - start) >= 0;
}

// The text a text instance's particles draw, decoded and measured once per instance.
struct TInstanceText {
    TKelFont* Font = nullptr;  // none: the instance draws nothing
    std::u32string Text;
    int Width = 0;
};

TInstanceText InstanceText(const TEffectCanvas& canvas, const TPartEffect& instance) {
    if (!canvas.Fonts || instance.FontIndex < 0 ||
        instance.FontIndex >= canvas.Fonts->ObjectCount())
        return {};
    auto* font = dynamic_cast<TKelFont*>(canvas.Fonts->Objects()[size_t(instance.FontIndex)].get());
    if (!font) return {};
    std::u32string text = Utf8ToWide(instance.Picture);
    const int width = font->TextWidth(text);
    return {font, std::move(text), width};
}

void DrawTextParticle(const TEffectCanvas& canvas, const TPartEffect& instance,
                      const TInstanceText& text, const TKelParticle& particle,
                      const TParticleLook& look) {
    const TKelVector position = particle.GetPosition();
    const int x = Rounded(position[0]) + instance.X - text.Width / 2;
    const int y = Rounded(position[1]) + instance.Y - text.Font->Height / 2;
    const uint32_t color = instance.TextColor != -1 ? uint32_t(instance.TextColor) : look.Color;
    text.Font->DrawString(x, y, color, look.Opacity, text.Text);
    canvas.Redraw.FillRect(TRect{x, y, x + text.Width, y + text.Font->Height});
}

// The given source rectangle, or the whole picture.
TRect SourceArea(const TSurfEngine& store, const std::string& picture, const TRect* source) {
    if (source) return *source;
    const TPoint size = store.GetSurfaceSize(picture);
    return {0, 0, size.X - 1, size.Y - 1};
}

}  // namespace

void DrawWithClipper(TSurfEngine& store, const std::string& picture, const std::string& surface,
                     const TRect* source, uint8_t amount, uint32_t color, uint8_t opacity,
                     const TRect& clip, int x, int y) {
    TRect area = SourceArea(store, picture, source);
    if (y < clip.Top) {
        area.Top += clip.Top - y;
        y = clip.Top;
    }
    if (y + area.Height() - 1 > clip.Bottom) area.Bottom -= y + area.Height() - 1 - clip.Bottom;
    if (x < clip.Left) {
        area.Left += clip.Left - x;
        x = clip.Left;
    }
    if (x + area.Width() - 1 > clip.Right) area.Right -= x + area.Width() - 1 - clip.Right;
    if (y > clip.Bottom || x > clip.Right || area.IsEmpty()) return;
    store.DrawWithAlphaChannel(picture, surface, x, y, opacity, &area, color, amount);
}

void DrawwithClipperInReal(TSurfEngine& store, const std::string& picture,
                           const std::string& surface, const TRect* source, uint8_t amount,
                           uint32_t color, uint8_t opacity, const TRect& clip, double x, double y) {
    if (!(std::abs(x) < 1e9 && std::abs(y) < 1e9)) return;
    TRect area = SourceArea(store, picture, source);
    // Whole pixels cut from a side keep the fraction, so the pixels left inside come out as
    // they would uncut.
    int left = int(std::floor(x)), top = int(std::floor(y));
    if (top < clip.Top) {
        area.Top += clip.Top - top;
        y += clip.Top - top;
        top = clip.Top;
    }
    if (top + area.Height() - 2 > clip.Bottom) area.Bottom -= top + area.Height() - 2 - clip.Bottom;
    if (left < clip.Left) {
        area.Left += clip.Left - left;
        x += clip.Left - left;
        left = clip.Left;
    }
    if (left + area.Width() - 2 > clip.Right) area.Right -= left + area.Width() - 2 - clip.Right;
    if (area.Right <= area.Left || area.Bottom <= area.Top) return;  // no column or row drawn
    store.DrawWithAlphaChannelInReal(picture, surface, x, y, opacity, &area, color, amount);
}

void DrawKelScreenEffects(const TEffectCanvas& canvas, const std::string& surface,
                          const TScreenEffects& list) {
    Guarded("Exception error it TKelGameEngine.DrawKelScreenEffects!", [&] {
        for (const TPartEffect& instance : list) {
            if (!instance.Effect || !instance.Active ||
                !Started(instance.Effect->StartTime, canvas.Now))
                continue;
            const TKelParticleEffect& effect = *instance.Effect;
            const TInstanceText text =
                instance.IsText ? InstanceText(canvas, instance) : TInstanceText{};
            if (instance.IsText && !text.Font) continue;
            for (int s = 0; s < effect.SystemCount(); ++s) {
                const TKelParticleSystem* system = effect.GetSystem(s);
                if (!system) continue;
                const std::string name =
                    instance.Picture.empty() ? system->Resource : instance.Picture;
                const TSystemPicture picture =
                    instance.IsText ? TSystemPicture{}
                                    : FindPicture(canvas.Store, name, system->OutputMode);
                if (!instance.IsText && picture.Name.empty()) continue;
                for (const auto& particle : system->Particles) {
                    try {
                        const TParticleLook look = ScreenLook(*particle);
                        if (instance.IsText)
                            DrawTextParticle(canvas, instance, text, *particle, look);
                        else
                            DrawParticle(canvas, *particle, picture, system->FrameCount,
                                         system->OutputMode, surface, instance.X, instance.Y, false,
                                         look, instance.Bounds, true);
                    } catch (const std::exception&) {
                        // Only this particle is lost. Not logged: a broken particle would write
                        // a line on every pass.
                    }
                }
            }
        }
    });
}

namespace {

void DrawSingleEffect(const TEffectCanvas& canvas, const TKelParticleEffect& effect,
                      const std::string& surface, double dx, double dy, bool subPixel,
                      const TRect& bounds, uint8_t opacity, uint32_t color, uint8_t amount) {
    if (int32_t(canvas.Now - effect.StartTime) <= 0) return;
    Guarded("Exception error in TKelGameEngine.DrawKelParticleEffect!", [&] {
        for (int s = 0; s < effect.SystemCount(); ++s) {
            const TKelParticleSystem* system = effect.GetSystem(s);
            if (!system) continue;
            const TSystemPicture picture =
                FindPicture(canvas.Store, system->Resource, system->OutputMode);
            if (picture.Name.empty()) continue;
            for (const auto& particle : system->Particles) {
                TParticleLook look = ScreenLook(*particle);
                look.Opacity = ByteOf(Rounded(particle->GetAlpha() * 255.0));
                if (opacity < 255) look.Opacity = uint8_t((look.Opacity * opacity) >> 8);
                if (amount > 0) {
                    look.Color = color;
                    look.Amount = amount;
                }
                DrawParticle(canvas, *particle, picture, system->FrameCount, system->OutputMode,
                             surface, dx, dy, subPixel, look, bounds, false);
            }
        }
    });
}

}  // namespace

void DrawKelParticleEffect(const TEffectCanvas& canvas, const TKelParticleEffect& effect,
                           const std::string& surface, int dx, int dy, const TRect& bounds,
                           uint8_t opacity, uint32_t color, uint8_t amount) {
    DrawSingleEffect(canvas, effect, surface, dx, dy, false, bounds, opacity, color, amount);
}

void DrawKelParticleEffectInReal(const TEffectCanvas& canvas, const TKelParticleEffect& effect,
                                 const std::string& surface, double dx, double dy,
                                 const TRect& bounds, uint8_t opacity, uint32_t color,
                                 uint8_t amount) {
    DrawSingleEffect(canvas, effect, surface, dx, dy, true, bounds, opacity, color, amount);
}
