// The pixel operations of the surface store on plain pixel buffers: opaque copy, alpha draw with
// opacity and tint, the bilinear alpha draw at a fractional position, tinted and byte fills,
// alpha merging, the saturating additive blend, the 3x3 shader filter and antialiased lines.
// Every operation is templated over the pixel type (uint16_t or uint32_t) and follows the
// engine's integer arithmetic exactly; the row kernels of RowKernels.h supply the fast paths.
// Rectangles are TRects, all four edges inclusive. Callers clip first (ClipToSurfaces); these
// functions trust their rectangles.
#pragma once

#include <cstdint>
#include <cstring>

#include "graphics/PixelLayout.h"
#include "graphics/RowKernels.h"
#include "platform/Platform.h"

// One surface's pixels and optional alpha buffer (Width bytes per row).
struct TPixelView {
    uint8_t* Bits = nullptr;
    int Pitch = 0;
    int Width = 0, Height = 0;
    uint8_t* Alpha = nullptr;

    uint8_t* PixelAt(int x, int y, int bytesPerPixel) const {
        return Bits + static_cast<ptrdiff_t>(y) * Pitch + static_cast<ptrdiff_t>(x) * bytesPerPixel;
    }
    uint8_t* AlphaAt(int x, int y) const { return Alpha + static_cast<ptrdiff_t>(y) * Width + x; }
};

template <class P>
inline P LoadPixel(const uint8_t* p) {
    P v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <class P>
inline void StorePixel(uint8_t* p, P v) {
    std::memcpy(p, &v, sizeof v);
}

// Clips a source rectangle drawn with its top-left corner at (x, y) so that it reads only inside
// the sourceWidth x sourceHeight source and writes only inside the destWidth x destHeight
// destination; what is cut on the left or top moves (x, y) along. False when nothing is left to
// draw (also for an inverted rectangle).
bool ClipToSurfaces(TRect& rect, int& x, int& y, int sourceWidth, int sourceHeight, int destWidth,
                    int destHeight);

// The tint of an alpha draw: colour $00BBGGRR, amount 0 for none, optional 256-byte table
// (32-bit pixels only).
struct TTint {
    uint32_t Color = 0;
    int Amount = 0;
    const uint8_t* Table = nullptr;
};

// Opaque copy of the source rectangle to (x, y). Overlapping areas of one surface are copied as
// if through a temporary.
void CopyArea(const TPixelView& dest, int x, int y, const TPixelView& source, const TRect& rect,
              int bytesPerPixel, const TRowKernels& kernels = TRowKernels::Active());

// The alpha draw of the source rectangle to (x, y) at Opacity, with the tint;
// pixels of alpha 0 stay; alpha and Opacity 255 without tint copy the colour.
template <class P>
void AlphaDraw(const TPixelView& dest, int x, int y, const TPixelView& source, const TRect& rect,
               int opacity, const TTint& tint, const TPixelLayout& layout,
               const TRowKernels& kernels = TRowKernels::Active());

// The bilinear alpha draw of the source rectangle: its rows top..bottom-1 and columns
// left..right-1 land at (ix, iy), its last row and column only serve as their neighbours; fx and fy
// are the position's fractions as the caller computed them (X - ix, Y - iy).
template <class P>
void AlphaDrawReal(const TPixelView& dest, int ix, int iy, const TPixelView& source,
                   const TRect& rect, double fx, double fy, int opacity, uint32_t color, int amount,
                   const TPixelLayout& layout);

// Pulls the rectangle towards the colour by amount; on 16-bit pixels it darkens by amount
// instead.
template <class P>
void FillColor(const TPixelView& dest, const TRect& rect, uint32_t color, int amount,
               const TPixelLayout& layout);

// Sets every byte of the rectangle's pixels.
void FillBytes(const TPixelView& dest, uint8_t value, const TRect& rect, int bytesPerPixel);

// Unites the source alpha of the rectangle into the destination alpha at (x, y).
void MergeAlpha(const TPixelView& dest, int x, int y, const TPixelView& source, const TRect& rect,
                int amount);

// dest(bx + p, by + n) = A(ax + p, ay + n) + B(bx + p, by + n), saturating per channel, for
// p < columns and n < rows. The destination may be B.
template <class P>
void AddBlend(const TPixelView& dest, const TPixelView& a, int ax, int ay, const TPixelView& b,
              int bx, int by, int columns, int rows, const TPixelLayout& layout,
              const TRowKernels& kernels = TRowKernels::Active());

// The 3x3 filter: for each shader pixel (sx, sy) of [sx0, sx1] x [sy0, sy1] whose kernel does not
// leave it alone, dest(sx + dx, sy + dy) becomes the kernel-weighted sum of the source pixels
// around the same position. kernels holds nine bytes per shader pixel, shaderWidth per row.
template <class P>
void ShaderFilter(const TPixelView& dest, const TPixelView& source, const uint8_t* kernels,
                  int shaderWidth, int sx0, int sy0, int sx1, int sy1, int dx, int dy,
                  const TPixelLayout& layout);

// One pixel of an antialiased line at intensity w: colour 0 darkens, any other colour blends.
template <class P>
void LinePixel(uint8_t* pixel, int w, uint32_t color, const TPixelLayout& layout);
