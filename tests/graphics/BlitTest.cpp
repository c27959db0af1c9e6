// The store's blits and blends: the arithmetic of each on single pixels, the rectangle rules,
// and clipping of rectangles that reach outside the surfaces.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "support/FakeDisplay.h"
#include "graphics/SurfEngine.h"

namespace {

class BlitTest : public ::testing::Test {
  protected:
    void Open(TPixelFormat format = {}) {
        display.Format = format;
        engine.Create(display);
    }
    void MakeSurface(const std::string& name, int w, int h, int alpha = -1) {
        ASSERT_TRUE(engine.CreateEmptySurface(name, w, h));
        if (alpha >= 0) engine.CreateAlphaChannel(name, uint8_t(alpha));
    }
    void SetAlpha(const std::string& name, int x, int y, uint8_t a) {
        TSurface* s = engine.FindSurface(name);
        s->Alpha[size_t(y) * s->Width + x] = a;
    }
    uint8_t AlphaAt(const std::string& name, int x, int y) {
        TSurface* s = engine.FindSurface(name);
        return s->Alpha[size_t(y) * s->Width + x];
    }
    FakeDisplay display;
    TSurfEngine engine;
};

}  // namespace

TEST_F(BlitTest, AlphaDrawOfOnePixelFollowsTheBlendArithmetic) {
    struct Case {
        const char* what;
        uint8_t alpha, opacity;
        uint32_t source, dest, color;
        uint8_t amount;
        uint32_t expected;
    } cases[] = {
        {"opaque copy keeps byte 3", 255, 255, 0x11C8A050, 0x7F646464, 0, 0, 0x7FC8A050},
        {"opacity 254 is u 253", 255, 254, 0x00C8C8C8, 0x00646464, 0, 0, 0x00C6C6C6},
        {"u 0 still darkens", 1, 255, 0x00000000, 0x00C8C8C8, 0, 0, 0x00C7C7C7},
        {"alpha 0 leaves it", 0, 255, 0x00FFFFFF, 0x00123456, 0, 0, 0x00123456},
        {"amount 1 takes the colour", 255, 255, 0x00FFFFFF, 0x00000000, 0x000000FF, 1, 0x00FD0000},
    };
    Open();
    MakeSurface("src", 1, 1, 0);
    MakeSurface("dst", 4, 4);
    for (const Case& c : cases) {
        SetPixel(engine, "src", 0, 0, c.source);
        SetAlpha("src", 0, 0, c.alpha);
        SetPixel(engine, "dst", 2, 1, c.dest);
        engine.DrawWithAlphaChannel("src", "dst", 2, 1, c.opacity, nullptr, c.color, c.amount);
        EXPECT_EQ(c.expected, PixelAt(engine, "dst", 2, 1)) << c.what;
    }
}

TEST_F(BlitTest, TintTableOfZerosEqualsTheFullAmount) {
    Open();
    MakeSurface("src", 16, 16, 200);
    MakeSurface("a", 16, 16);
    MakeSurface("b", 16, 16);
    for (int i = 0; i < 256; ++i) SetPixel(engine, "src", i % 16, i / 16, 0x010101u * i);
    const uint8_t zeros[256] = {};
    engine.DrawWithAlphaChannel("src", "a", 0, 0, 255, nullptr, 0x00336699, 200, zeros);
    engine.DrawWithAlphaChannel("src", "b", 0, 0, 255, nullptr, 0x00336699, 255);
    EXPECT_EQ(Contents(engine, "b"), Contents(engine, "a"));
}

TEST_F(BlitTest, SixteenBitDrawSkipsZeroCoverageAndTintsWithTheMasks) {
    Open(Format565());
    MakeSurface("src", 1, 1, 1);
    MakeSurface("dst", 2, 2);
    SetPixel(engine, "src", 0, 0, 0xFFFF);
    SetPixel(engine, "dst", 0, 0, 0x8410);
    engine.DrawWithAlphaChannel("src", "dst", 0, 0, 255, nullptr);
    EXPECT_EQ(0x8410u, PixelAt(engine, "dst", 0, 0));
    // Full alpha, amount 1 towards pure red over white: every channel is pulled to red's parts.
    SetAlpha("src", 0, 0, 255);
    engine.DrawWithAlphaChannel("src", "dst", 1, 1, 255, nullptr, 0x000000FF, 1);
    // v = red 0xF800 | green 0 | blue 0; u = 254: (1 x d + 254 x v) >> 8 masked per channel.
    EXPECT_EQ(0xF000u, PixelAt(engine, "dst", 1, 1));
}

TEST_F(BlitTest, CentredAndNegativePositionsShiftTheDrawnArea) {
    Open();
    MakeSurface("src", 5, 5, 255);
    MakeSurface("dst", 20, 20);
    for (int x = 0; x < 5; ++x) {
        for (int y = 0; y < 5; ++y) SetPixel(engine, "src", x, y, 0x010000u * (x + 1) + y + 1);
    }
    engine.DrawWithAlphaChannel("src", "dst", 10, 10, 255, nullptr, 0, 0, nullptr, true);
    EXPECT_EQ(0x010001u, PixelAt(engine, "dst", 8, 8));
    EXPECT_EQ(0u, PixelAt(engine, "dst", 7, 8));
    EXPECT_EQ(0x050005u, PixelAt(engine, "dst", 12, 12));
    // X = -3 skips the first three source columns.
    engine.DrawWithAlphaChannel("src", "dst", -3, 0, 255, nullptr);
    EXPECT_EQ(0x040001u, PixelAt(engine, "dst", 0, 0));
    EXPECT_EQ(0x050001u, PixelAt(engine, "dst", 1, 0));
    EXPECT_EQ(0u, PixelAt(engine, "dst", 2, 0));
}

TEST_F(BlitTest, SourceWithoutAlphaIsCopiedOpaque) {
    Open();
    MakeSurface("src", 4, 4);
    MakeSurface("dst", 10, 10);
    FillSurface(engine, "src", 0x00ABCDEF);
    TRect rect{1, 1, 2, 2};
    engine.DrawWithAlphaChannel("src", "dst", 3, 3, 10, &rect);
    EXPECT_EQ((TRect{1, 1, 2, 2}), rect);
    EXPECT_EQ(0x00ABCDEFu, PixelAt(engine, "dst", 3, 3));
    EXPECT_EQ(0x00ABCDEFu, PixelAt(engine, "dst", 4, 4));
    EXPECT_EQ(0u, PixelAt(engine, "dst", 5, 4));
    EXPECT_EQ(0u, PixelAt(engine, "dst", 4, 5));
    rect = {1, 1, 2, 2};
    engine.DrawWithAlphaChannelInReal("src", "dst", 6.5, 6.0, 10, &rect);
    EXPECT_EQ(0x00ABCDEFu, PixelAt(engine, "dst", 7, 7));
    EXPECT_EQ(0u, PixelAt(engine, "dst", 8, 7));
}

// Rectangles from data that reach outside the source or the destination draw exactly their
// part inside both, never reading or writing outside the buffers.
TEST_F(BlitTest, RectanglesReachingOutsideAreClippedToBothSurfaces) {
    Open();
    MakeSurface("src", 4, 4, 255);
    for (int i = 0; i < 16; ++i) SetPixel(engine, "src", i % 4, i / 4, 0x00100000u * (i + 1));
    MakeSurface("dst", 8, 8);
    MakeSurface("expected", 8, 8);
    struct Case {
        const char* what;
        TRect rect;
        int x, y;
        TRect inside;
        int ix, iy;
    } cases[] = {
        {"negative left", {-2, 0, 3, 3}, 5, 1, {0, 0, 3, 3}, 7, 1},
        {"frame past the strip", {4, 0, 7, 3}, 0, 0, {0, 0, -1, -1}, 0, 0},
        {"larger than the source", {0, 0, 40, 40}, 2, 2, {0, 0, 3, 3}, 2, 2},
        {"past the destination", {0, 0, 3, 3}, 6, 6, {0, 0, 1, 1}, 6, 6},
        {"inverted", {3, 3, 0, 0}, 0, 0, {0, 0, -1, -1}, 0, 0},
    };
    for (const Case& c : cases) {
        FillSurface(engine, "dst", 0);
        FillSurface(engine, "expected", 0);
        TRect rect = c.rect;
        engine.DrawWithAlphaChannel("src", "dst", c.x, c.y, 255, &rect);
        if (c.inside.Right >= c.inside.Left) {
            TRect inside = c.inside;
            engine.DrawWithAlphaChannel("src", "expected", c.ix, c.iy, 255, &inside);
        }
        EXPECT_EQ(Contents(engine, "expected"), Contents(engine, "dst")) << c.what;
        TRect copy = c.rect;
        engine.DrawWithAlphaChannelInReal("src", "dst", c.x + 0.25, c.y, 200, &copy);
        engine.MergeAlphaChannel("src", "dst", c.x, c.y, &c.rect, 255);
        engine.AddBlend("dst", "src", "dst", &c.rect, nullptr, nullptr);
        engine.FillRectColor("dst", c.rect, 0x123456, 100);
        engine.FillRectByte("dst", 7, c.rect);
    }
}

TEST_F(BlitTest, OpaqueCopyDrawsOnlyWhatFitsBothSurfaces) {
    Open();
    MakeSurface("src", 4, 4);
    MakeSurface("dst", 6, 6);
    FillSurface(engine, "src", 0x00FFFFFF);
    engine.DrawSurface("src", "dst", 3, 3, nullptr);  // 4x4 at (3,3) does not fit 6x6
    EXPECT_EQ(std::vector<uint8_t>(6 * 6 * 4, 0), Contents(engine, "dst"));
    TRect rect{2, 2, 9, 9};  // beyond the source
    engine.DrawSurface("src", "dst", 0, 0, &rect);
    EXPECT_EQ(std::vector<uint8_t>(6 * 6 * 4, 0), Contents(engine, "dst"));
    rect = {-1, 1, 2, 3};  // a left or top below 0 becomes 0 in the caller's rectangle
    engine.DrawSurface("src", "dst", -5, 2, &rect);
    EXPECT_EQ((TRect{0, 1, 2, 3}), rect);
    EXPECT_EQ(0x00FFFFFFu, PixelAt(engine, "dst", 0, 2));
    EXPECT_EQ(0x00FFFFFFu, PixelAt(engine, "dst", 2, 4));
    EXPECT_EQ(0u, PixelAt(engine, "dst", 3, 2));
    EXPECT_EQ(0u, PixelAt(engine, "dst", 0, 5));
    // Against the screen: right and bottom are cut so that the copy ends at its last pixel.
    rect = {0, 0, 3, 3};
    engine.DrawSurface("src", "dst", 798, 0, &rect);
    EXPECT_EQ((TRect{0, 0, 1, 3}), rect);
    rect = {0, 0, 3, 3};
    engine.DrawSurface("src", "dst", 0, 596, &rect);
    EXPECT_EQ((TRect{0, 0, 3, 3}), rect);
    engine.DrawSurface("src", "dst", 0, 597, &rect);
    EXPECT_EQ((TRect{0, 0, 3, 2}), rect);
}

// The right and bottom edges of a rectangle belong to it: a one-pixel rectangle draws one
// pixel, and a whole surface fits a destination of exactly its size.
TEST_F(BlitTest, EveryOperationDrawsTheRightAndBottomEdgesOfItsRectangle) {
    Open();
    MakeSurface("src", 4, 4, 255);
    FillSurface(engine, "src", 0x00FFFFFF);
    MakeSurface("dst", 6, 6, 0);
    const auto drawn = [&] {
        std::vector<TPoint> points;
        for (int y = 0; y < 6; ++y) {
            for (int x = 0; x < 6; ++x) {
                if (PixelAt(engine, "dst", x, y) != 0 || AlphaAt("dst", x, y) != 0)
                    points.push_back({x, y});
            }
        }
        return points;
    };
    struct Case {
        const char* what;
        std::function<void(TRect*)> draw;
    } cases[] = {
        {"copy", [&](TRect* r) { engine.DrawSurface("src", "dst", 2, 3, r); }},
        {"alpha draw", [&](TRect* r) { engine.DrawWithAlphaChannel("src", "dst", 2, 3, 255, r); }},
        {"merge", [&](TRect* r) { engine.MergeAlphaChannel("src", "dst", 2, 3, r, 255); }},
        {"add",
         [&](TRect* r) {
             TRect b{2, 3, 2 + r->Right - r->Left, 3 + r->Bottom - r->Top};
             engine.AddBlend("dst", "src", "dst", r, &b, nullptr);
         }},
    };
    const auto clear = [&] {
        FillSurface(engine, "dst", 0);
        engine.FillAlphaChannel("dst", 0);
    };
    for (const Case& c : cases) {
        clear();
        TRect one{3, 3, 3, 3};
        c.draw(&one);
        EXPECT_EQ((std::vector<TPoint>{{2, 3}}), drawn()) << c.what;
        clear();
        TRect whole{0, 0, 3, 2};  // 4 x 3 at (2, 3): ends at the destination's last pixel
        c.draw(&whole);
        EXPECT_EQ(12u, drawn().size()) << c.what;
        EXPECT_EQ((TPoint{5, 5}), drawn().back()) << c.what;
    }
    const std::function<void(TRect)> fills[] = {
        [&](TRect r) { engine.FillRectByte("dst", 0xFF, r); },
        [&](TRect r) { engine.FillRectColor("dst", r, 0x00FFFFFF, 255); },
    };
    for (const auto& fill : fills) {
        clear();
        fill({3, 4, 3, 4});
        EXPECT_EQ((std::vector<TPoint>{{3, 4}}), drawn());
        clear();
        fill({-9, -9, 99, 99});  // the whole surface, last row and column included
        EXPECT_EQ(36u, drawn().size());
    }
}

TEST_F(BlitTest, RealPositionDrawIsBilinearAndLandsOnePixelUpLeft) {
    Open();
    MakeSurface("src", 6, 4, 255);
    MakeSurface("dst", 30, 30);
    for (int x = 0; x < 6; ++x) {
        for (int y = 0; y < 4; ++y)
            SetPixel(engine, "src", x, y, 0x00000010u * (x + 1) + 0x1000u * y);
    }
    engine.DrawWithAlphaChannelInReal("src", "dst", 10.0, 10.0, 255, nullptr);
    // Weights 0, 0, 0, 255 and A = 254: destination (10, 10) gets source (1, 1) blended at 254.
    const int s = 0x20, g = 0x10;
    EXPECT_EQ(uint32_t((254 * ((255 * s) >> 8)) >> 8) | uint32_t((254 * ((255 * g) >> 8)) >> 8)
                                                            << 8,
              PixelAt(engine, "dst", 10, 10));
    FillSurface(engine, "dst", 0);
    engine.DrawWithAlphaChannelInReal("src", "dst", 10.5, 10.0, 255, nullptr);
    // Weights 0, 0, 127, 127: (127 s(n, 1) + 127 s(n + 1, 1)) >> 8 per channel, A = 253.
    const int v0 = (127 * 0x10 + 127 * 0x20) >> 8;
    EXPECT_EQ(uint32_t((253 * v0) >> 8), PixelAt(engine, "dst", 10, 10) & 0xFF);
}

TEST_F(BlitTest, TextDrawsAllButTheGlyphsBottomRowInItsColour) {
    Open();
    MakeSurface("font", 8, 10, 255);
    FillSurface(engine, "font", 0x00FFFFFF);
    MakeSurface("dst", 20, 20);
    TCharsRect glyphs[2];
    glyphs[0] = {0, 0, 3, 9, 2, 2, 0x000000FF, 255};
    glyphs[1] = {5, 0, 40, 40, 15, 15, 0x00FF0000, 255};  // reaches outside picture and frame
    engine.DrawText("font", "dst", 2, glyphs);
    EXPECT_EQ(0x00FD0000u, PixelAt(engine, "dst", 2, 2));
    EXPECT_EQ(0x00FD0000u, PixelAt(engine, "dst", 5, 10));
    EXPECT_EQ(0u, PixelAt(engine, "dst", 5, 11));  // row 9 of the cell is not drawn
    EXPECT_EQ(0u, PixelAt(engine, "dst", 6, 2));
    EXPECT_EQ(0x000000FDu, PixelAt(engine, "dst", 17, 15));
    EXPECT_EQ(0u, PixelAt(engine, "dst", 18, 15));  // the font picture ends at column 7
}

TEST_F(BlitTest, AddBlendSaturatesEachChannelAlone) {
    for (TPixelFormat format : {TPixelFormat{}, Format565()}) {
        Open(format);
        engine.Surfaces.clear();
        MakeSurface("a", 4, 4);
        MakeSurface("b", 4, 4);
        const bool wide = format.BitCount == 32;
        for (int at : {1, 3}) {  // 3: the default rectangles end at the last row and column
            SetPixel(engine, "a", at, at, wide ? 0x6464C8u : 0xA010u);
            SetPixel(engine, "b", at, at, wide ? 0x646464u : 0x7010u);
        }
        engine.AddBlend("b", "a", "b", nullptr, nullptr, nullptr);
        // 32 bits: 200 + 100 = 255, 100 + 100 = 200. 16 bits: red 20 + 14 saturates at 31,
        // green 0 + 0, blue 16 + 16 saturates at 31.
        EXPECT_EQ(wide ? 0xC8C8FFu : 0xF81Fu, PixelAt(engine, "b", 1, 1));
        EXPECT_EQ(wide ? 0xC8C8FFu : 0xF81Fu, PixelAt(engine, "b", 3, 3));
    }
}

TEST_F(BlitTest, MergeAlphaUnitesAndFillsFollowTheirLimits) {
    Open();
    MakeSurface("src", 3, 1, 255);
    MakeSurface("dst", 3, 1);
    SetAlpha("src", 1, 0, 128);
    engine.MergeAlphaChannel("src", "dst", 0, 0, nullptr, 255);
    EXPECT_EQ(255, AlphaAt("dst", 0, 0));
    EXPECT_EQ(128, AlphaAt("dst", 1, 0));
    SetAlpha("dst", 2, 0, 255);
    SetAlpha("src", 2, 0, 0);
    engine.MergeAlphaChannel("src", "dst", 0, 0, nullptr, 255);
    EXPECT_EQ(255, AlphaAt("dst", 2, 0));

    MakeSurface("fill", 4, 4);
    FillSurface(engine, "fill", 0x00FFFFFF);
    engine.FillRectColor("fill", {-5, -5, 2, 9}, 0x000000FF, 128);  // limited to the surface
    EXPECT_EQ(0x00FE7E7Eu, PixelAt(engine, "fill", 2, 2));
    EXPECT_EQ(0x00FE7E7Eu, PixelAt(engine, "fill", 0, 3));
    EXPECT_EQ(0x00FFFFFFu, PixelAt(engine, "fill", 3, 0));
    engine.FillRectByte("fill", 0, {1, 1, 2, 3});
    EXPECT_EQ(0u, PixelAt(engine, "fill", 2, 3));
    EXPECT_EQ(0x00FE7E7Eu, PixelAt(engine, "fill", 0, 1));
}

// The whole operations give the same frame whichever row kernels run them.
TEST_F(BlitTest, FastKernelsComposeTheSameFrameAsTheReference) {
    Open();
    std::mt19937 random(11);
    MakeSurface("sprite", 37, 29, 0);
    TSurface* sprite = engine.FindSurface("sprite");
    for (auto& byte : sprite->Pixels) byte = uint8_t(random());
    for (auto& a : sprite->Alpha)
        a = uint8_t(random() % 3 == 0 ? 255 : random() % 2 ? 0 : random());
    std::vector<std::vector<uint8_t>> frames;
    std::vector<const TRowKernels*> sets = {&TRowKernels::Reference(), &TRowKernels::Sse2()};
    if (TRowKernels::Avx2()) sets.push_back(TRowKernels::Avx2());
    for (const TRowKernels* kernels : sets) {
        engine.Kernels = kernels;
        engine.DeleteSurface("frame");
        MakeSurface("frame", 101, 77);
        std::mt19937 place(5);
        for (int i = 0; i < 40; ++i) {
            const int x = int(place() % 120) - 20, y = int(place() % 90) - 15;
            engine.DrawWithAlphaChannel("sprite", "frame", x, y, uint8_t(place()), nullptr);
            engine.AddBlend("frame", "sprite", "frame", nullptr, nullptr, nullptr);
            TRect rect{int(place() % 5), 0, 30, 20};
            engine.DrawSurface("sprite", "frame", x + 20, y + 20, &rect);
        }
        frames.push_back(Contents(engine, "frame"));
    }
    for (size_t i = 1; i < frames.size(); ++i) EXPECT_EQ(frames[0], frames[i]) << sets[i]->Name;
}
