// The HLS colour model with rounding to the nearest integer, halves to the even neighbour.
#include "core/ColorHLS.h"

#include <algorithm>
#include <cmath>

namespace {

// Values far outside any channel range (from extreme shifts) are held to +-1e9 before conversion.
int Nearest(double value) {
    return int(std::nearbyint(std::clamp(value, -1e9, 1e9)));
}
int Nearest(float value) {
    return int(std::nearbyintf(std::clamp(value, -1e9f, 1e9f)));
}

float Hue(float m1, float m2, float h) {
    if (h < 0) h += 240;
    if (h > 240) h -= 240;
    if (h < 40) return m1 + ((m2 - m1) * h + 20) / 40;
    if (h < 120) return m2;
    if (h < 160) return m1 + ((m2 - m1) * (160 - h) + 20) / 40;
    return m1;
}

}  // namespace

THLS RGBToHLS(int r, int g, int b) {
    const int max = std::max({r, g, b}), min = std::min({r, g, b});
    THLS hls;
    hls.L = Nearest(((max + min) * 240.0 + 255) / 510);
    if (max == min) {
        hls.S = 0;
        hls.H = 160;
    } else {
        if (hls.L <= 120) {
            hls.S = Nearest(((max - min) * 240.0 + (max + min) / 2.0) / (max + min));
        } else {
            hls.S = Nearest(((max - min) * 240.0 + (510 - max - min) / 2.0) / (510 - max - min));
        }
        const float range = float(max - min);
        const float dR = (range / 2 + float(max - r) * 40) / range;
        const float dG = (range / 2 + float(max - g) * 40) / range;
        const float dB = (range / 2 + float(max - b) * 40) / range;
        if (r == max) {
            hls.H = Nearest(dB - dG);
        } else if (g == max) {
            hls.H = Nearest(dR + 80 - dB);
        } else {
            hls.H = Nearest(dG + 160 - dR);
        }
        if (hls.H < 0) hls.H += 240;
        if (hls.H > 240) hls.H -= 240;
    }
    hls.S = std::clamp(hls.S, 0, 240);
    hls.L = std::clamp(hls.L, 0, 240);
    return hls;
}

TRGB HLSToRGB(int h, int l, int s) {
    TRGB rgb;
    if (s == 0) {
        rgb.R = rgb.G = rgb.B = Nearest(l * 255.0 / 240);
    } else {
        const float L = float(l), S = float(s);
        const float m2 = l <= 120 ? (L * (S + 240) + 120) / 240 : L + S - (L * S + 120) / 240;
        const float m1 = 2 * L - m2;
        rgb.R = Nearest((Hue(m1, m2, float(h + 80)) * 255 + 120) / 240);
        rgb.G = Nearest((Hue(m1, m2, float(h)) * 255 + 120) / 240);
        rgb.B = Nearest((Hue(m1, m2, float(h - 80)) * 255 + 120) / 240);
    }
    rgb.R = std::clamp(rgb.R, 0, 255);
    rgb.G = std::clamp(rgb.G, 0, 255);
    rgb.B = std::clamp(rgb.B, 0, 255);
    return rgb;
}
