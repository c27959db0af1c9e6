// Scalar implementations of the pixel operations, templated over the pixel type; the 32-bit
// alpha draw without tint, the 32-bit additive blend and the copy go through the row kernels.
#include "graphics/PixelOps.h"

#include <algorithm>
#include <cstring>

namespace {

// The colour-mask parts of a 16-bit layout.
struct TMasks {
    int M[3];      // red, green, blue masks
    int Shift[3];  // their lowest bits
    explicit TMasks(const TPixelLayout& l)
        : M{int(l.RMask), int(l.GMask), int(l.BMask)}, Shift{l.RShift, l.GShift, l.BShift} {}
};

// The tint colour as masked parts at the positions of a 5-6-5 layout (red, green, blue).
void TintParts16(uint32_t color, const TMasks& masks, int parts[3]) {
    const int cR = color & 255, cG = (color >> 8) & 255, cB = (color >> 16) & 255;
    parts[0] = ((cR >> 3) << 11) & masks.M[0];
    parts[1] = ((cG >> 2) << 5) & masks.M[1];
    parts[2] = (cB >> 3) & masks.M[2];
}

// The colour step of a 16-bit pixel: pulled towards the tint parts by k (0 and 255: unchanged).
int Tint16(int s, int k, const int parts[3], const TMasks& masks) {
    if (k == 0 || k == 255) return s;
    int v = 0;
    for (int c = 0; c < 3; ++c)
        v |= (parts[c] + ((((s & masks.M[c]) - parts[c]) * k) >> 8)) & masks.M[c];
    return v;
}

// The 16-bit blend of v over d at coverage u (u > 0).
int Blend16(int d, int v, int u, const TMasks& masks) {
    int r = 0;
    for (int c = 0; c < 3; ++c) {
        const int m = masks.M[c];
        r += (((255 - u) * (d & m) + u * (v & m)) >> 8) & m;
    }
    return r;
}

// The 32-bit colour step and blend of bytes 0-2; t holds the tint's blue, green and red.
void TintBlend32(uint8_t* d, const uint8_t* s, int u, const int t[3], int amount,
                 const uint8_t* table) {
    for (int i = 0; i < 3; ++i) {
        int v = s[i];
        if (amount != 0) {
            const int k = table ? 255 - ((table[s[i]] * amount) >> 8) : amount;
            v = t[i] + (((s[i] - t[i]) * k) >> 8);
        }
        d[i] = static_cast<uint8_t>((u * v + (255 - u) * d[i]) >> 8);
    }
}

void TintColor32(uint32_t color, int t[3]) {
    t[0] = (color >> 16) & 255;
    t[1] = (color >> 8) & 255;
    t[2] = color & 255;
}

}  // namespace

bool ClipToSurfaces(TRect& rect, int& x, int& y, int sourceWidth, int sourceHeight, int destWidth,
                    int destHeight) {
    int64_t l = rect.Left, t = rect.Top, r = rect.Right, b = rect.Bottom, px = x, py = y;
    if (l < 0) px -= l, l = 0;
    if (t < 0) py -= t, t = 0;
    r = std::min<int64_t>(r, sourceWidth - 1);
    b = std::min<int64_t>(b, sourceHeight - 1);
    if (px < 0) l -= px, px = 0;
    if (py < 0) t -= py, py = 0;
    r = std::min<int64_t>(r, l + destWidth - 1 - px);
    b = std::min<int64_t>(b, t + destHeight - 1 - py);
    if (l > r || t > b) return false;
    rect = {int(l), int(t), int(r), int(b)};
    x = int(px);
    y = int(py);
    return true;
}

void CopyArea(const TPixelView& dest, int x, int y, const TPixelView& source, const TRect& rect,
              int bytesPerPixel, const TRowKernels& kernels) {
    const size_t bytes = static_cast<size_t>(rect.Width()) * bytesPerPixel;
    const int rows = rect.Height();
    if (dest.Bits == source.Bits) {
        // One surface onto itself: copy rows in the order that reads each before it is written.
        const bool upwards = y > rect.Top;
        for (int i = 0; i < rows; ++i) {
            const int n = upwards ? rows - 1 - i : i;
            std::memmove(dest.PixelAt(x, y + n, bytesPerPixel),
                         source.PixelAt(rect.Left, rect.Top + n, bytesPerPixel), bytes);
        }
        return;
    }
    for (int n = 0; n < rows; ++n) {
        kernels.CopyRow(dest.PixelAt(x, y + n, bytesPerPixel),
                        source.PixelAt(rect.Left, rect.Top + n, bytesPerPixel), bytes);
    }
}

template <class P>
void AlphaDraw(const TPixelView& dest, int x, int y, const TPixelView& source, const TRect& rect,
               int opacity, const TTint& tint, const TPixelLayout& layout,
               const TRowKernels& kernels) {
    constexpr int bpp = sizeof(P);
    const int n = rect.Right - rect.Left + 1;
    int t32[3];
    TintColor32(tint.Color, t32);
    const TMasks masks(layout);
    int t16[3];
    TintParts16(tint.Color, masks, t16);
    for (int r = rect.Top; r <= rect.Bottom; ++r) {
        uint8_t* d = dest.PixelAt(x, y + r - rect.Top, bpp);
        const uint8_t* s = source.PixelAt(rect.Left, r, bpp);
        const uint8_t* a = source.AlphaAt(rect.Left, r);
        if constexpr (bpp == 4) {
            if (tint.Amount == 0) {
                kernels.AlphaRow32(d, s, a, n, opacity);
                continue;
            }
            for (int c = 0; c < n; ++c) {
                if (a[c] == 0) continue;
                TintBlend32(d + 4 * c, s + 4 * c, (a[c] * opacity) >> 8, t32, tint.Amount,
                            tint.Table);
            }
        } else {
            for (int c = 0; c < n; ++c) {
                if (a[c] == 0) continue;
                const int sp = LoadPixel<uint16_t>(s + 2 * c);
                if (a[c] == 255 && opacity == 255 && tint.Amount == 0) {
                    StorePixel<uint16_t>(d + 2 * c, uint16_t(sp));
                    continue;
                }
                const int u = (a[c] * opacity) >> 8;
                if (u == 0) continue;
                const int v = Tint16(sp, tint.Amount, t16, masks);
                const int dp = LoadPixel<uint16_t>(d + 2 * c);
                StorePixel<uint16_t>(d + 2 * c, uint16_t(Blend16(dp, v, u, masks)));
            }
        }
    }
}

template <class P>
void AlphaDrawReal(const TPixelView& dest, int ix, int iy, const TPixelView& source,
                   const TRect& rect, double fx, double fy, int opacity, uint32_t color, int amount,
                   const TPixelLayout& layout) {
    constexpr int bpp = sizeof(P);
    const double gx = 1 - fx, gy = 1 - fy;
    const int w[4] = {int(255 * ((1 - gx) * (1 - gy))), int(255 * (gx * (1 - gy))),
                      int(255 * ((1 - gx) * gy)), int(255 * (gx * gy))};
    int t32[3];
    TintColor32(color, t32);
    const TMasks masks(layout);
    int t16[3];
    TintParts16(color, masks, t16);
    for (int r = rect.Top; r < rect.Bottom; ++r) {
        uint8_t* d = dest.PixelAt(ix, iy + r - rect.Top, bpp);
        for (int c = rect.Left; c < rect.Right; ++c, d += bpp) {
            const uint8_t* a0 = source.AlphaAt(c, r);
            const uint8_t* a1 = source.AlphaAt(c, r + 1);
            const int A = (w[0] * a0[0] + w[1] * a0[1] + w[2] * a1[0] + w[3] * a1[1]) >> 8;
            if (A == 0) continue;
            const uint8_t* s[4] = {source.PixelAt(c, r, bpp), source.PixelAt(c + 1, r, bpp),
                                   source.PixelAt(c, r + 1, bpp),
                                   source.PixelAt(c + 1, r + 1, bpp)};
            if constexpr (bpp == 4) {
                uint8_t v[4] = {0, 0, 0, 0};
                for (int i = 0; i < 3; ++i) {
                    v[i] = static_cast<uint8_t>(
                        (w[0] * s[0][i] + w[1] * s[1][i] + w[2] * s[2][i] + w[3] * s[3][i]) >> 8);
                }
                int u = A;
                if (opacity == 255) {
                    if (A == 255 && amount == 0) {
                        std::memcpy(d, v, 3);
                        continue;
                    }
                } else {
                    u = (opacity * A) >> 8;
                }
                TintBlend32(d, v, u, t32, amount, nullptr);
            } else {
                int v = 0;
                for (int ch = 0; ch < 3; ++ch) {
                    const int m = masks.M[ch], sh = masks.Shift[ch];
                    int64_t sum = 0;
                    for (int j = 0; j < 4; ++j)
                        sum += int64_t(w[j]) * (LoadPixel<uint16_t>(s[j]) & m);
                    v += (int(sum >> (sh + 8)) << sh) & m;
                }
                if (A == 255 && opacity == 255 && amount == 0) {
                    StorePixel<uint16_t>(d, uint16_t(v));
                    continue;
                }
                const int u = (opacity * A) >> 8;
                if (u == 0) continue;
                const int tinted = Tint16(v, amount, t16, masks);
                StorePixel<uint16_t>(d,
                                     uint16_t(Blend16(LoadPixel<uint16_t>(d), tinted, u, masks)));
            }
        }
    }
}

template <class P>
void FillColor(const TPixelView& dest, const TRect& rect, uint32_t color, int amount,
               const TPixelLayout& layout) {
    constexpr int bpp = sizeof(P);
    int t[3];
    TintColor32(color, t);
    const TMasks masks(layout);
    for (int y = rect.Top; y <= rect.Bottom; ++y) {
        uint8_t* d = dest.PixelAt(rect.Left, y, bpp);
        for (int x = rect.Left; x <= rect.Right; ++x, d += bpp) {
            if constexpr (bpp == 4) {
                for (int i = 0; i < 3; ++i) {
                    d[i] = static_cast<uint8_t>((t[i] * amount + (255 - amount) * d[i]) >> 8);
                }
            } else {
                const int p = LoadPixel<uint16_t>(d);
                int r = 0;
                for (int ch = 0; ch < 3; ++ch) {
                    r += (((255 - amount) * (p & masks.M[ch])) >> 8) & masks.M[ch];
                }
                StorePixel<uint16_t>(d, uint16_t(r));
            }
        }
    }
}

void FillBytes(const TPixelView& dest, uint8_t value, const TRect& rect, int bytesPerPixel) {
    const size_t bytes = static_cast<size_t>(rect.Width()) * bytesPerPixel;
    for (int y = rect.Top; y <= rect.Bottom; ++y) {
        std::memset(dest.PixelAt(rect.Left, y, bytesPerPixel), value, bytes);
    }
}

void MergeAlpha(const TPixelView& dest, int x, int y, const TPixelView& source, const TRect& rect,
                int amount) {
    for (int r = rect.Top; r <= rect.Bottom; ++r) {
        const uint8_t* sa = source.AlphaAt(rect.Left, r);
        uint8_t* da = dest.AlphaAt(x, y + r - rect.Top);
        for (int c = 0; c <= rect.Right - rect.Left; ++c) {
            if (da[c] == 255) continue;
            da[c] =
                static_cast<uint8_t>(255 - (((255 - (sa[c] * amount) / 256) * (255 - da[c])) >> 8));
        }
    }
}

template <class P>
void AddBlend(const TPixelView& dest, const TPixelView& a, int ax, int ay, const TPixelView& b,
              int bx, int by, int columns, int rows, const TPixelLayout& layout,
              const TRowKernels& kernels) {
    constexpr int bpp = sizeof(P);
    const TMasks masks(layout);
    for (int n = 0; n < rows; ++n) {
        uint8_t* d = dest.PixelAt(bx, by + n, bpp);
        const uint8_t* pa = a.PixelAt(ax, ay + n, bpp);
        const uint8_t* pb = b.PixelAt(bx, by + n, bpp);
        if constexpr (bpp == 4) {
            kernels.AddRow32(d, pa, pb, columns);
        } else {
            for (int p = 0; p < columns; ++p) {
                const int va = LoadPixel<uint16_t>(pa + 2 * p),
                          vb = LoadPixel<uint16_t>(pb + 2 * p);
                int r = 0;
                for (int ch = 0; ch < 3; ++ch) {
                    const int m = masks.M[ch];
                    r += std::min((va & m) + (vb & m), m);
                }
                StorePixel<uint16_t>(d + 2 * p, uint16_t(r));
            }
        }
    }
}

template <class P>
void ShaderFilter(const TPixelView& dest, const TPixelView& source, const uint8_t* kernels,
                  int shaderWidth, int sx0, int sy0, int sx1, int sy1, int dx, int dy,
                  const TPixelLayout& layout) {
    constexpr int bpp = sizeof(P);
    const TMasks masks(layout);
    for (int sy = sy0; sy <= sy1; ++sy) {
        for (int sx = sx0; sx <= sx1; ++sx) {
            const uint8_t* k = kernels + 9 * (static_cast<size_t>(sy) * shaderWidth + sx);
            if (k[4] >= 250) continue;
            const int px = sx + dx, py = sy + dy;
            const uint8_t* s[9];
            for (int j = 0; j < 9; ++j) s[j] = source.PixelAt(px + j % 3 - 1, py + j / 3 - 1, bpp);
            uint8_t* d = dest.PixelAt(px, py, bpp);
            if constexpr (bpp == 4) {
                for (int i = 0; i < 3; ++i) {
                    int sum = 0;
                    for (int j = 0; j < 9; ++j) sum += k[j] * s[j][i];
                    d[i] = static_cast<uint8_t>(sum >> 8);
                }
            } else {
                int v = 0;
                for (int ch = 0; ch < 3; ++ch) {
                    const int m = masks.M[ch], sh = masks.Shift[ch];
                    int sum = 0;
                    for (int j = 0; j < 9; ++j)
                        sum += (k[j] * (LoadPixel<uint16_t>(s[j]) & m)) >> sh;
                    v += ((sum >> 8) << sh) & m;
                }
                StorePixel<uint16_t>(d, uint16_t(v));
            }
        }
    }
}

template <class P>
void LinePixel(uint8_t* pixel, int w, uint32_t color, const TPixelLayout& layout) {
    if constexpr (sizeof(P) == 4) {
        if (color == 0) {
            for (int i = 0; i < 3; ++i)
                pixel[i] = static_cast<uint8_t>(((255 - w) * pixel[i]) >> 8);
            return;
        }
        const int red = color & 255, green = (color >> 8) & 255, blue = (color >> 16) & 255;
        int c[3] = {0, green, 0};
        if (layout.Name == "B8G8R8") c[0] = blue, c[2] = red;
        if (layout.Name == "R8G8B8") c[0] = red, c[2] = blue;
        for (int i = 0; i < 3; ++i) {
            pixel[i] = static_cast<uint8_t>((c[i] * w + (255 - w) * pixel[i]) >> 8);
        }
    } else {
        const TMasks masks(layout);
        int parts[3] = {0, 0, 0};
        if (color != 0) TintParts16(color, masks, parts);
        const int p = LoadPixel<uint16_t>(pixel);
        int r = 0;
        for (int ch = 0; ch < 3; ++ch) {
            const int m = masks.M[ch];
            r += (((255 - w) * (p & m) + w * (parts[ch] & m)) >> 8) & m;
        }
        StorePixel<uint16_t>(pixel, uint16_t(r));
    }
}

#define TERVOLIN_INSTANTIATE(P)                                                                   \
    template void AlphaDraw<P>(const TPixelView&, int, int, const TPixelView&, const TRect&, int, \
                               const TTint&, const TPixelLayout&, const TRowKernels&);            \
    template void AlphaDrawReal<P>(const TPixelView&, int, int, const TPixelView&, const TRect&,  \
                                   double, double, int, uint32_t, int, const TPixelLayout&);      \
    template void FillColor<P>(const TPixelView&, const TRect&, uint32_t, int,                    \
                               const TPixelLayout&);                                              \
    template void AddBlend<P>(const TPixelView&, const TPixelView&, int, int, const TPixelView&,  \
                              int, int, int, int, const TPixelLayout&, const TRowKernels&);       \
    template void ShaderFilter<P>(const TPixelView&, const TPixelView&, const uint8_t*, int, int, \
                                  int, int, int, int, int, const TPixelLayout&);                  \
    template void LinePixel<P>(uint8_t*, int, uint32_t, const TPixelLayout&);

TERVOLIN_INSTANTIATE(uint16_t)
TERVOLIN_INSTANTIATE(uint32_t)
