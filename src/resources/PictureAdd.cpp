// The blending of "<AddImage".
#include "resources/PictureAdd.h"

#include <algorithm>

TAddOptions WholePicture(const TPngPicture& source) {
    TAddOptions options;
    options.RectRight = source.Width - 1;
    options.RectBottom = source.Height - 1;
    return options;
}

void AddPicture(TPngPicture& target, const TPngPicture& source, const TAddOptions& options) {
    if (source.HasAlpha() && !target.HasAlpha()) {
        target.ColorType = pctRgbAlpha;
        target.Alpha.assign(size_t(target.Width) * target.Height, options.First ? 0 : 255);
    }
    const int alfa = std::clamp(options.Alfa, 0, 255);
    // Limited so that c * (s - k) cannot overflow; stronger tints are clamped to 0..255 anyway.
    const int c = std::clamp(options.ColorValue, -65536, 65536);
    const int tint[3] = {std::clamp(options.Blue, 0, 255), std::clamp(options.Green, 0, 255),
                         std::clamp(options.Red, 0, 255)};
    const bool copy = alfa == 255 && c == 0;

    // The rectangle clipped to the source, then to where it lands on the target.
    const int64_t shiftX = int64_t(options.Left) - options.RectLeft;
    const int64_t shiftY = int64_t(options.Top) - options.RectTop;
    const int64_t x0 = std::max<int64_t>({options.RectLeft, 0, -shiftX});
    const int64_t y0 = std::max<int64_t>({options.RectTop, 0, -shiftY});
    const int64_t x1 =
        std::min<int64_t>({options.RectRight + int64_t(1), source.Width, target.Width - shiftX});
    const int64_t y1 =
        std::min<int64_t>({options.RectBottom + int64_t(1), source.Height, target.Height - shiftY});
    for (int64_t y = y0; y < y1; ++y) {
        const uint8_t* from = source.ColorRow(int(y));
        uint8_t* to = target.ColorRow(int(y + shiftY));
        for (int64_t x = x0; x < x1; ++x) {
            const int e = source.HasAlpha() ? source.AlphaRow(int(y))[x] : 255;
            if (e == 0) continue;
            const int64_t tx = x + shiftX;
            const int g = alfa * e / 256, h = 255 - g;
            for (int i = 0; i < 3; ++i) {
                int s = from[x * 3 + i];
                if (copy && e == 255) {
                    to[tx * 3 + i] = uint8_t(s);
                    continue;
                }
                if (c != 0) s = std::clamp(tint[i] + c * (s - tint[i]) / 256, 0, 255);
                const int d = to[tx * 3 + i];
                to[tx * 3 + i] = uint8_t(options.First ? s : (h * d + g * s) / 256);
            }
            if (target.HasAlpha()) {
                uint8_t& a = target.AlphaRow(int(y + shiftY))[tx];
                if (a != 0 || g != 0) a = uint8_t(255 - (255 - a) * (255 - g) / 256);
            }
        }
    }
}
