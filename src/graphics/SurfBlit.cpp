// The store's blits and blends by surface name: rectangle adjustment and clipping, then the
// pixel operations for the display's pixel size. Every rectangle may come from data, so each is
// clipped to the surfaces it reads and writes; a rectangle already inside both draws exactly
// what the unclipped arithmetic would.
#include <algorithm>
#include <climits>
#include <cmath>

#include "graphics/SurfEngine.h"

namespace {

bool Wide(const TPixelLayout& layout) {
    return layout.BitCount != 16;
}

// Arithmetic on coordinates from data is done in 64 bits and brought back saturated.
int Sat(int64_t value) {
    return int(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

}  // namespace

void TSurfEngine::DrawSurface(const std::string& source, const std::string& dest, int x, int y,
                              TRect* rect, uint32_t) {
    TSurface* s = FindSurface(source);
    TSurface* d = FindSurface(dest);
    if (s && d) CopyOpaque(*s, *d, x, y, rect);
}

void TSurfEngine::DrawSurfaceInd(int source, int dest, int x, int y, TRect* rect, uint32_t) {
    const int count = int(Surfaces.size());
    if (source < 0 || source >= count || dest < 0 || dest >= count) return;
    CopyOpaque(Surfaces[size_t(source)], Surfaces[size_t(dest)], x, y, rect);
}

// The opaque copy. The caller's rectangle is changed in place: its right and bottom are cut so
// that the copy ends at the screen's last column and row, then a negative left or top becomes 0;
// a negative position becomes 0 without moving the rectangle (the picture is shifted, not
// clipped). Like the display copy it replaces, it copies only when the rectangle lies inside
// the source and the area inside the destination, and otherwise draws nothing.
void TSurfEngine::CopyOpaque(TSurface& source, TSurface& dest, int x, int y, TRect* rect) {
    if (!source.HasSurface() || !dest.HasSurface()) return;
    TRect area{0, 0, source.Width - 1, source.Height - 1};
    if (rect) {
        if (int64_t(x) + rect->Right - rect->Left >= ScreenWidth) {
            rect->Right = Sat(int64_t(rect->Left) + ScreenWidth - 1 - x);
        }
        if (int64_t(y) + rect->Bottom - rect->Top >= ScreenHeight) {
            rect->Bottom = Sat(int64_t(rect->Top) + ScreenHeight - 1 - y);
        }
        rect->Left = std::max(rect->Left, 0);
        rect->Top = std::max(rect->Top, 0);
        area = *rect;
    }
    x = std::max(x, 0);
    y = std::max(y, 0);
    if (x > ScreenWidth || y > ScreenHeight) return;
    if (area.IsEmpty() || area.Right >= source.Width || area.Bottom >= source.Height) return;
    if (int64_t(x) + area.Width() > dest.Width || int64_t(y) + area.Height() > dest.Height) return;
    CopyArea(dest.View(), x, y, source.View(), area, PixelFormat.BytesPerPixel(), *Kernels);
}

void TSurfEngine::DrawWithAlphaChannel(const std::string& source, const std::string& dest, int x,
                                       int y, uint8_t opacity, TRect* rect, uint32_t color,
                                       uint8_t amount, const uint8_t* table, bool centred) {
    if (opacity == 0) return;
    TSurface* s = FindSurface(source);
    if (!s) return;
    if (centred) {
        x -= s->Width / 2;
        y -= s->Height / 2;
    }
    // A source without alpha is copied opaque, whatever the opacity and tint.
    if (!s->HasAlpha()) {
        DrawSurface(source, dest, x, y, rect, 16);
        return;
    }
    TSurface* d = FindSurface(dest);
    if (!d || !s->HasSurface() || !d->HasSurface()) return;
    TRect area = rect ? *rect : TRect{0, 0, s->Width - 1, s->Height - 1};
    if (!ClipToSurfaces(area, x, y, s->Width, s->Height, d->Width, d->Height)) return;
    const TTint tint{color, amount, table};
    if (Wide(PixelFormat)) {
        AlphaDraw<uint32_t>(d->View(), x, y, s->View(), area, opacity, tint, PixelFormat, *Kernels);
    } else {
        AlphaDraw<uint16_t>(d->View(), x, y, s->View(), area, opacity, tint, PixelFormat, *Kernels);
    }
}

void TSurfEngine::DrawWithAlphaChannelInReal(const std::string& source, const std::string& dest,
                                             double x, double y, uint8_t opacity, TRect* rect,
                                             uint32_t color, uint8_t amount) {
    if (opacity == 0) return;
    TSurface* s = FindSurface(source);
    if (!s) return;
    // Positions far outside any surface draw nothing; this also keeps the truncation defined.
    if (!(std::abs(x) < 1e9 && std::abs(y) < 1e9)) return;
    int ix = int(x), iy = int(y);
    if (!s->HasAlpha()) {
        DrawSurface(source, dest, ix, iy, rect, 16);
        return;
    }
    TSurface* d = FindSurface(dest);
    if (!d || !s->HasSurface() || !d->HasSurface()) return;
    TRect area = rect ? *rect : TRect{0, 0, s->Width - 1, s->Height - 1};
    if (x < 0) {
        area.Left = Sat(int64_t(area.Left) - ix);
        x = x - ix + 1;
        ix = 0;
    }
    if (y < 0) {
        area.Top = Sat(int64_t(area.Top) - iy);
        y = y - iy + 1;
        iy = 0;
    }
    const double fx = x - ix, fy = y - iy;
    // Columns left..right-1 are drawn and column right is read as their neighbour: clip the
    // drawn part to the destination and the drawn part plus its neighbours to the source.
    TRect drawn{area.Left, area.Top, area.Right - 1, area.Bottom - 1};
    if (!ClipToSurfaces(drawn, ix, iy, s->Width - 1, s->Height - 1, d->Width, d->Height)) return;
    const TRect clipped{drawn.Left, drawn.Top, drawn.Right + 1, drawn.Bottom + 1};
    if (Wide(PixelFormat)) {
        AlphaDrawReal<uint32_t>(d->View(), ix, iy, s->View(), clipped, fx, fy, opacity, color,
                                amount, PixelFormat);
    } else {
        AlphaDrawReal<uint16_t>(d->View(), ix, iy, s->View(), clipped, fx, fy, opacity, color,
                                amount, PixelFormat);
    }
}

void TSurfEngine::DrawText(const std::string& fontPicture, const std::string& dest, int count,
                           const TCharsRect* placements) {
    TSurface* s = FindSurface(fontPicture);
    TSurface* d = FindSurface(dest);
    if (!s || !s->HasAlpha() || !d || !s->HasSurface() || !d->HasSurface() || !placements) return;
    for (int i = 0; i < count; ++i) {
        const TCharsRect& glyph = placements[i];
        int64_t left = glyph.Left, top = glyph.Top, right = glyph.Right, bottom = glyph.Bottom;
        int64_t gx = glyph.X, gy = glyph.Y;
        if (gy < 0) top -= gy, gy = 0;
        if (gy + bottom - top + 1 > ScreenHeight) bottom -= gy + bottom - top + 1 - ScreenHeight;
        if (gx < 0) left -= gx, gx = 0;
        if (gx + right - left + 1 > ScreenWidth) right -= gx + right - left + 1 - ScreenWidth;
        // The glyph's bottom row is not drawn.
        TRect drawn{Sat(left), Sat(top), Sat(right), Sat(bottom - 1)};
        int x = Sat(gx), y = Sat(gy);
        if (!ClipToSurfaces(drawn, x, y, s->Width, s->Height, d->Width, d->Height)) continue;
        const TTint tint{glyph.Color, 1, nullptr};
        if (Wide(PixelFormat)) {
            AlphaDraw<uint32_t>(d->View(), x, y, s->View(), drawn, glyph.Alpha, tint, PixelFormat,
                                *Kernels);
        } else {
            AlphaDraw<uint16_t>(d->View(), x, y, s->View(), drawn, glyph.Alpha, tint, PixelFormat,
                                *Kernels);
        }
    }
}

namespace {

// Limits a fill rectangle to the surface; false when nothing of it is left.
bool LimitFill(TRect& r, int width, int height) {
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    r.Right = std::min(r.Right, width - 1);
    r.Bottom = std::min(r.Bottom, height - 1);
    return !r.IsEmpty();
}

}  // namespace

void TSurfEngine::FillRectColor(const std::string& dest, TRect rect, uint32_t color,
                                uint8_t amount) {
    TSurface* d = FindSurface(dest);
    if (!d || !d->HasSurface() || !LimitFill(rect, d->Width, d->Height)) return;
    if (Wide(PixelFormat)) {
        FillColor<uint32_t>(d->View(), rect, color, amount, PixelFormat);
    } else {
        FillColor<uint16_t>(d->View(), rect, color, amount, PixelFormat);
    }
}

void TSurfEngine::FillRectByte(const std::string& dest, uint8_t value, TRect rect) {
    TSurface* d = FindSurface(dest);
    if (!d || !d->HasSurface() || !LimitFill(rect, d->Width, d->Height)) return;
    FillBytes(d->View(), value, rect, PixelFormat.BytesPerPixel());
}

void TSurfEngine::MergeAlphaChannel(const std::string& source, const std::string& dest, int x,
                                    int y, const TRect* rect, uint8_t amount) {
    TSurface* s = FindSurface(source);
    TSurface* d = FindSurface(dest);
    if (!s || !d || !s->HasAlpha()) return;
    if (!d->HasAlpha()) CreateAlphaChannel(dest, 0);
    const TRect given = rect ? *rect : TRect{0, 0, s->Width - 1, s->Height - 1};
    int64_t left = given.Left, top = given.Top, right = given.Right, bottom = given.Bottom;
    int64_t px = x, py = y;
    if (px < 0) left -= px, px = 0;
    if (py < 0) top -= py, py = 0;
    right = std::min<int64_t>(right, left + d->Width - 1 - px);
    bottom = std::min<int64_t>(bottom, top + d->Height - 1 - py);
    // Only rectangles starting inside the source are merged.
    if (left < 0 || left > right || top > bottom) return;
    TRect area{Sat(left), Sat(top), Sat(right), Sat(bottom)};
    x = Sat(px);
    y = Sat(py);
    if (!ClipToSurfaces(area, x, y, s->Width, s->Height, d->Width, d->Height)) return;
    MergeAlpha(d->View(), x, y, s->View(), area, amount);
}

void TSurfEngine::AddBlend(const std::string& dest, const std::string& a, const std::string& b,
                           const TRect* rectA, const TRect* rectB, const TRect* clip) {
    TSurface* d = FindSurface(dest);
    TSurface* sa = FindSurface(a);
    TSurface* sb = FindSurface(b);
    if (!d || !sa || !sb || !d->HasSurface() || !sa->HasSurface() || !sb->HasSurface()) return;
    TRect ra = rectA ? *rectA : TRect{0, 0, sb->Width - 1, sb->Height - 1};
    TRect rb = rectB ? *rectB : TRect{0, 0, d->Width - 1, d->Height - 1};
    const TRect c = clip ? *clip : WholeScreen();
    for (TRect* r : {&ra, &rb}) {
        r->Right = std::min(r->Right, c.Right);
        r->Bottom = std::min(r->Bottom, c.Bottom);
        r->Left = std::max(r->Left, c.Left);
        r->Top = std::max(r->Top, c.Top);
        if (r->IsEmpty()) return;
    }
    // B's rectangle is walked from its top-left corner and A's from its own; every pixel read or
    // written must lie inside A, B and the destination. right and bottom are one past the last
    // column and row.
    int64_t left = rb.Left, top = rb.Top, right = int64_t(rb.Right) + 1,
            bottom = int64_t(rb.Bottom) + 1;
    int64_t ax = ra.Left, ay = ra.Top;
    if (ax < 0) left -= ax, ax = 0;
    if (ay < 0) top -= ay, ay = 0;
    if (left < 0) ax -= left, left = 0;
    if (top < 0) ay -= top, top = 0;
    right = std::min<int64_t>({right, sb->Width, d->Width, left + sa->Width - ax});
    bottom = std::min<int64_t>({bottom, sb->Height, d->Height, top + sa->Height - ay});
    if (right <= left || bottom <= top) return;
    const int columns = int(right - left), rows = int(bottom - top);
    if (Wide(PixelFormat)) {
        ::AddBlend<uint32_t>(d->View(), sa->View(), int(ax), int(ay), sb->View(), int(left),
                             int(top), columns, rows, PixelFormat, *Kernels);
    } else {
        ::AddBlend<uint16_t>(d->View(), sa->View(), int(ax), int(ay), sb->View(), int(left),
                             int(top), columns, rows, PixelFormat, *Kernels);
    }
}
