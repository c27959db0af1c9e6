// Hue, lightness and saturation on the 0..240 scale (hue 160 for grey) and back to 8-bit
// channels, the colour model of the store's colour shift.
#pragma once

struct THLS {
    int H = 0, L = 0, S = 0;
    bool operator==(const THLS&) const = default;
};

struct TRGB {
    int R = 0, G = 0, B = 0;
    bool operator==(const TRGB&) const = default;
};

THLS RGBToHLS(int r, int g, int b);
// Channels are limited to 0..255; H, L and S may lie outside 0..240.
TRGB HLSToRGB(int h, int l, int s);
