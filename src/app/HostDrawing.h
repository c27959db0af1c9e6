// THostDrawing: the game as the interface engine's and the font engine's host: the windows draw
// onto "MemorySurface" through the surface store, measure pictures there, play their sounds
// through the sound events, and get the animations the game draws over particular windows (a hint
// window's example, the level map's marker, a tutorial popup's arrow); the fonts' laid-out glyphs
// go into the frame. Relies on the game's services.
#pragma once

#include <optional>
#include <string>

#include "app/EffectDrawing.h"
#include "app/GameServices.h"
#include "graphics/KelFontEngine.h"
#include "ui/KelInterface.h"

class THostDrawing : public IKelFontHost, public IKelGraphic {
  public:
    explicit THostDrawing(TGameServices& services) : s_(services) {}

    // Draws the font engine's laid-out glyphs into the frame.
    void ExtDraw(const std::string& fontPicture, int count) override;

    void Draw(const std::string& picture, const std::string& bumpMap, TBlendingMode mode, int x,
              int y, uint8_t alpha, const std::optional<TRect>& source) override;
    void DrawBumpMap(const std::string& picture, const std::string& bumpMap, int x, int y) override;
    void DrawRect(const std::string& surface, const TRect& rect, uint32_t color, uint8_t alpha,
                  bool fill) override;
    void DrawColoredAlpha(const std::string& picture, const std::string& bumpMap, int x, int y,
                          uint32_t color, uint8_t alpha) override;
    void GetPictureSize(int& width, int& height, const std::string& picture) override;
    void GetScreenSize(int& width, int& height) override;
    void PlaySound(const std::string& sound) override;
    void PostFormDraw(const std::string& formName) override;
    void LowExtDraw(const std::string& picture, const TRect& source, const std::string& text, int x,
                    int y, uint32_t color, uint8_t alpha) override;

  private:
    // A hint window's animated example, advanced to the clock and centred in its picture well.
    void DrawHintExample(const TEffectCanvas& canvas, const std::string& formName,
                         const std::string& file);
    void DrawPopupArrow(const std::string& formName);

    TGameServices& s_;
};
