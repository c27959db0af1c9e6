// IKelGraphic: everything the interface engine draws or plays goes through this host, which the
// game implements on its surface store and sound system. Relies on the blending modes of KelEnums,
// on Geometry and on the input types of the platform (mouse buttons, shift states, key numbers),
// which the interface objects' event operations take.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/Geometry.h"
#include "core/KelEnums.h"
#include "platform/Platform.h"

class IKelGraphic {
  public:
    virtual ~IKelGraphic() = default;

    // Draws the picture with its top-left corner at (x, y) at opacity alpha; with a source
    // rectangle only that part. Empty or unknown names draw nothing.
    virtual void Draw(const std::string& picture, const std::string& bumpMap, TBlendingMode mode,
                      int x, int y, uint8_t alpha, const std::optional<TRect>& source) = 0;
    // Places the bump picture at (x, y), or with an empty bump name resets the area of the
    // object's picture there.
    virtual void DrawBumpMap(const std::string& picture, const std::string& bumpMap, int x,
                             int y) = 0;
    // Fills the rectangle; the interface engine passes an empty surface name and fill true.
    virtual void DrawRect(const std::string& surface, const TRect& rect, uint32_t color,
                          uint8_t alpha, bool fill) = 0;
    virtual void ExtDraw(const std::string& text, int value) = 0;
    virtual void DrawColoredAlpha(const std::string& picture, const std::string& bumpMap, int x,
                                  int y, uint32_t color, uint8_t alpha) = 0;
    // 0 by 0 for an empty or unknown name.
    virtual void GetPictureSize(int& width, int& height, const std::string& picture) = 0;
    virtual void GetScreenSize(int& width, int& height) = 0;
    virtual void PlaySound(const std::string& sound) = 0;
    // Called right after a shown form and its children have been drawn.
    virtual void PostFormDraw(const std::string& formName) = 0;
    virtual void LowExtDraw(const std::string& picture, const TRect& source,
                            const std::string& text, int x, int y, uint32_t color,
                            uint8_t alpha) = 0;
};

// The plain-text clipboard the host lends the engine's edits. An empty text stands for a
// clipboard without text or one that could not be opened.
class IKelClipboard {
  public:
    virtual ~IKelClipboard() = default;
    virtual std::string Text() = 0;
    virtual void SetText(const std::string& text) = 0;
};
