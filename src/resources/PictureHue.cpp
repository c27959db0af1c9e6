#include "resources/PictureHue.h"

#include <algorithm>

#include "core/ColorHLS.h"

void ShiftPictureHue(TPngPicture& picture, int hue, int saturation, int lightness) {
    if (picture.ColorType != pctRgb && picture.ColorType != pctRgbAlpha) return;
    // Lightness and saturation may leave 0..240; the channels are clamped instead. The shifts are
    // limited so that the math stays far from overflow; larger ones give the same channels.
    hue %= 240;
    saturation = std::clamp(saturation, -1000, 1000);
    lightness = std::clamp(lightness, -1000, 1000);
    for (size_t i = 0; i + 2 < picture.Color.size(); i += 3) {
        uint8_t* p = picture.Color.data() + i;
        const THLS hls = RGBToHLS(p[2], p[1], p[0]);
        const int h = ((hls.H + hue) % 240 + 240) % 240;
        const TRGB rgb = HLSToRGB(h, hls.L + lightness, hls.S + saturation);
        p[0] = uint8_t(rgb.B);
        p[1] = uint8_t(rgb.G);
        p[2] = uint8_t(rgb.R);
    }
}
