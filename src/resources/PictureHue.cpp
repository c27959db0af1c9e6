// HLS conversions with rounding to the nearest integer. The resources layer cannot use the
// graphics layer's colour model, so the same math is kept here for the image scripts.
#include "resources/PictureHue.h"

#include <algorithm>
#include <cmath>

namespace {

struct THls {
    int H, L, S;
};

int Nearest(double value) {
    return int(std::nearbyint(std::clamp(value, -1e9, 1e9)));
}

double HueValue(double m1, double m2, double h) {
    if (h < 0) h += 240;
    if (h > 240) h -= 240;
    if (h < 40) return m1 + ((m2 - m1) * h + 20) / 40;
    if (h < 120) return m2;
    if (h < 160) return m1 + ((m2 - m1) * (160 - h) + 20) / 40;
    return m1;
}

THls ToHls(int r, int g, int b) {
    const int max = std::max({r, g, b}), min = std::min({r, g, b});
    THls hls{160, Nearest(((max + min) * 240.0 + 255) / 510), 0};
    if (max == min) return hls;
    const int sum = max + min, range = max - min;
    hls.S = hls.L <= 120 ? Nearest((range * 240.0 + sum / 2.0) / sum)
                         : Nearest((range * 240.0 + (510 - sum) / 2.0) / (510 - sum));
    const double dR = (range / 2.0 + (max - r) * 40.0) / range;
    const double dG = (range / 2.0 + (max - g) * 40.0) / range;
    const double dB = (range / 2.0 + (max - b) * 40.0) / range;
    if (r == max)
        hls.H = Nearest(dB - dG);
    else if (g == max)
        hls.H = Nearest(dR + 80 - dB);
    else
        hls.H = Nearest(dG + 160 - dR);
    if (hls.H < 0) hls.H += 240;
    if (hls.H > 240) hls.H -= 240;
    hls.S = std::clamp(hls.S, 0, 240);
    hls.L = std::clamp(hls.L, 0, 240);
    return hls;
}

uint8_t Channel(double value) {
    return uint8_t(std::clamp(Nearest(value), 0, 255));
}

// Writes blue, green, red.
void FromHls(int h, int l, int s, uint8_t* bgr) {
    if (s == 0) {
        bgr[0] = bgr[1] = bgr[2] = Channel(l * 255.0 / 240);
        return;
    }
    const double m2 =
        l <= 120 ? (l * (s + 240.0) + 120) / 240 : l + s - (l * double(s) + 120) / 240;
    const double m1 = 2.0 * l - m2;
    bgr[2] = Channel((HueValue(m1, m2, h + 80) * 255 + 120) / 240);
    bgr[1] = Channel((HueValue(m1, m2, h) * 255 + 120) / 240);
    bgr[0] = Channel((HueValue(m1, m2, h - 80) * 255 + 120) / 240);
}

}  // namespace

void ShiftPictureHue(TPngPicture& picture, int hue, int saturation, int lightness) {
    if (picture.ColorType != pctRgb && picture.ColorType != pctRgbAlpha) return;
    // Lightness and saturation may leave 0..240; the channels are clamped instead. The shifts are
    // limited so that the math stays far from overflow; larger ones give the same channels.
    hue %= 240;
    saturation = std::clamp(saturation, -1000, 1000);
    lightness = std::clamp(lightness, -1000, 1000);
    for (size_t i = 0; i + 2 < picture.Color.size(); i += 3) {
        uint8_t* p = picture.Color.data() + i;
        const THls hls = ToHls(p[2], p[1], p[0]);
        const int h = ((hls.H + hue) % 240 + 240) % 240;
        FromHls(h, hls.L + lightness, hls.S + saturation, p);
    }
}
