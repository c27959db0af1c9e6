#include "app/EffectDrawing.h"

#include <gtest/gtest.h>

#include "core/Random.h"
#include "support/FakeDisplay.h"

namespace {

constexpr uint32_t Black = 0, White = 0xFFFFFF, Grey = 0x404040;

// A constant one-dimensional function and its morph, both named after `name`.
std::string Constant(const std::string& name, int value) {
    return R"(<Function Name=")" + name + R"(" Dim="1" Type="periodic"><XParam>)" +
           std::to_string(value) + "</XParam></Function>";
}
std::string ConstantMorph(const std::string& name) {
    return R"(<Morph Name="M)" + name + R"(" Dim="1"><Functions><Function Name=")" + name +
           R"("/></Functions></Morph>)";
}
std::string ConstantParameter(const std::string& name) {
    return R"(<Parameter Name=")" + name + R"(" Dim="1" Morph="M)" + name + R"("/>)";
}

// One particle system throwing one particle with full alpha at the system's position, showing
// frame `frame` of its picture; with `perLine` set, the particle also has a "FramePerLine"
// parameter of that value.
std::string OneParticle(const std::string& system, int frame = 0, int perLine = -1) {
    std::string functions = Constant("Alpha", 1) + Constant("Frame", frame);
    std::string morphs = ConstantMorph("Alpha") + ConstantMorph("Frame");
    std::string parameters = ConstantParameter("Alpha") + ConstantParameter("Frame");
    if (perLine >= 0) {
        functions += Constant("FramePerLine", perLine);
        morphs += ConstantMorph("FramePerLine");
        parameters += ConstantParameter("FramePerLine");
    }
    return R"(<ParticleEffect Name="T"><Functions>)" + functions + "</Functions><Morphs>" + morphs +
           R"(</Morphs><Particles><Particle Name="P">)" + parameters +
           R"(</Particle></Particles><ParticleSystems>)"
           R"(<ParticleSystem Name="S" Template="P"><InitParticles>1</InitParticles>)" +
           system + R"(</ParticleSystem></ParticleSystems></ParticleEffect>)";
}

class EffectDrawingTest : public ::testing::Test {
  protected:
    EffectDrawingTest() {
        store.Create(display);
        for (const char* name : {"MemorySurface", "MemoryBufferAdd"})
            store.CreateEmptySurface(name, 800, 600);
        Picture("dot.png", 5, 5, White);
        // A strip of three 4x3 frames: red, green, blue.
        Picture("strip.png", 12, 3, 0);
        for (int x = 0; x < 12; ++x)
            for (int y = 0; y < 3; ++y)
                SetPixel(store, "strip.png", x, y, x < 4 ? 0xFF0000u : x < 8 ? 0x00FF00u : 0xFFu);
    }
    void Picture(const std::string& name, int width, int height, uint32_t color) {
        store.CreateEmptySurface(name, width, height);
        FillSurface(store, name, color);
        store.CreateAlphaChannel(name, 255);
    }
    // An instance of the effect text at (x, y), started at 1000 and advanced to 1100.
    TPartEffect Instance(const std::string& text, int x, int y, TRect bounds = ScreenRect) {
        TPartEffect instance;
        instance.Effect = std::make_unique<TKelParticleEffect>();
        instance.Effect->SetRandom(&random);
        instance.Effect->LoadFromText(text);
        StartEffect(*instance.Effect, 1000);
        instance.Effect->Update(1100);
        instance.X = x;
        instance.Y = y;
        instance.Bounds = bounds;
        return instance;
    }
    uint32_t At(int x, int y) { return PixelAt(store, "MemorySurface", x, y); }

    FakeDisplay display;
    TSurfEngine store;
    TKelRandom random{1};
    TRedrawGrid grid;
    TEffectCanvas canvas{store, nullptr, grid, 1100};
};

TEST_F(EffectDrawingTest, APictureIsDrawnCentredOnItsParticleAndMarked) {
    TScreenEffects list;
    list.push_back(Instance(OneParticle("<Resource>dot.png</Resource>"), 100, 50));
    DrawKelScreenEffects(canvas, "MemorySurface", list);
    EXPECT_EQ(At(98, 48), White);
    EXPECT_EQ(At(102, 52), White);
    EXPECT_EQ(At(97, 48), Black);
    EXPECT_EQ(At(103, 52), Black);
    EXPECT_EQ(grid.Tile(5, 3), 2);  // (98, 48) .. (102, 52)
    EXPECT_EQ(grid.Tile(6, 3), 2);
    EXPECT_EQ(grid.Tile(7, 3), 0);

    // Not drawn: inactive, not started yet, or without effect.
    FillSurface(store, "MemorySurface", Black);
    list[0].Active = false;
    list.push_back(Instance(OneParticle("<Resource>dot.png</Resource>"), 200, 50));
    list[1].Effect->StartTime = 1200;
    list.emplace_back();
    DrawKelScreenEffects(canvas, "MemorySurface", list);
    EXPECT_EQ(At(100, 50), Black);
    EXPECT_EQ(At(200, 50), Black);
}

TEST_F(EffectDrawingTest, DrawingIsClippedToTheInstanceBounds) {
    TScreenEffects list;
    list.push_back(Instance(OneParticle("<Resource>dot.png</Resource>"), 100, 50, {0, 0, 99, 599}));
    list.push_back(Instance(OneParticle("<Resource>dot.png</Resource>"), 1, 1));  // screen edge
    DrawKelScreenEffects(canvas, "MemorySurface", list);
    EXPECT_EQ(At(99, 50), White);
    EXPECT_EQ(At(100, 50), Black);
    EXPECT_EQ(At(0, 0), White);
    EXPECT_EQ(At(3, 3), White);
}

TEST_F(EffectDrawingTest, StripsShowTheParticlesFrame) {
    struct Case {
        int Frame;
        uint32_t Expected;
    } cases[] = {{0, 0xFF0000}, {1, 0x00FF00}, {2, 0x0000FF}};
    for (const Case& c : cases) {
        TScreenEffects list;
        list.push_back(Instance(
            OneParticle("<Resource>strip.png</Resource><FrameCount>3</FrameCount>", c.Frame), 300,
            300));
        DrawKelScreenEffects(canvas, "MemorySurface", list);
        EXPECT_EQ(At(298, 299), c.Expected) << c.Frame;  // a 4x3 frame at (298, 299)
        EXPECT_EQ(At(301, 301), c.Expected) << c.Frame;
        EXPECT_EQ(At(302, 301), Black) << c.Frame;  // one frame wide only
    }
}

TEST_F(EffectDrawingTest, FramesPerLineLayTheStripOutAsAGrid) {
    // Four 4x3 frames two a row: red, green / blue, white. Below 1 frame a row, one row.
    store.CreateEmptySurface("grid.png", 8, 6);
    const uint32_t colors[2][2] = {{0xFF0000, 0x00FF00}, {0x0000FF, 0xFFFFFF}};
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 6; ++y) SetPixel(store, "grid.png", x, y, colors[y / 3][x / 4]);
    store.CreateAlphaChannel("grid.png", 255);
    struct Case {
        int Frame, PerLine;
        uint32_t Expected;
        int Width, Height;  // of a frame
    } cases[] = {{3, 2, 0xFFFFFF, 4, 3},
                 {2, 2, 0x0000FF, 4, 3},
                 {1, 2, 0x00FF00, 4, 3},
                 {3, 0, 0x00FF00, 2, 6}};  // one row: frame 3 of four 2x6 frames
    for (const Case& c : cases) {
        FillSurface(store, "MemorySurface", Black);
        TScreenEffects list;
        list.push_back(
            Instance(OneParticle("<Resource>grid.png</Resource><FrameCount>4</FrameCount>", c.Frame,
                                 c.PerLine),
                     400, 400));
        DrawKelScreenEffects(canvas, "MemorySurface", list);
        const int left = 400 - c.Width / 2, top = 400 - c.Height / 2;
        EXPECT_EQ(At(left, top), c.Expected) << c.Frame << "/" << c.PerLine;
        EXPECT_EQ(At(left + c.Width, top), Black) << c.Frame << "/" << c.PerLine;
    }
}

TEST_F(EffectDrawingTest, AdditiveSystemsAddOntoTheFrame) {
    FillSurface(store, "MemorySurface", Grey);
    Picture("dim.png", 5, 5, 0x101010);
    TScreenEffects list;
    list.push_back(
        Instance(OneParticle("<Resource>dim.png</Resource><OutputMode>1</OutputMode>"), 100, 50));
    DrawKelScreenEffects(canvas, "MemorySurface", list);
    EXPECT_EQ(At(100, 50), 0x505050u);
    EXPECT_EQ(At(104, 50), Grey);
}

TEST_F(EffectDrawingTest, ASingleEffectTakesAnOpacityAndATint) {
    TPartEffect instance = Instance(OneParticle("<Resource>dot.png</Resource>"), 0, 0);
    DrawKelParticleEffect(canvas, *instance.Effect, "MemorySurface", 100, 50, ScreenRect, 128);
    const uint32_t half = At(100, 50);
    EXPECT_GT(half & 0xFF, 0x70u);
    EXPECT_LT(half & 0xFF, 0x90u);
    DrawKelParticleEffect(canvas, *instance.Effect, "MemorySurface", 200, 50, ScreenRect, 255,
                          0x0000FF, 1);
    // Tinted all but fully red (colours are $00BBGGRR; amount 1 is the strongest tint).
    EXPECT_EQ(At(200, 50) & 0xFFFF, 0u);
    EXPECT_GE(At(200, 50) >> 16, 0xF0u);
    // Not before its start time has passed.
    TEffectCanvas early{store, nullptr, grid, 1000};
    DrawKelParticleEffect(early, *instance.Effect, "MemorySurface", 300, 50);
    EXPECT_EQ(At(300, 50), Black);
}

// A 3x3 white picture opaque only in its middle column, drawn sub-pixel half-way between two
// pixels: the column covers half of each.
class SubPixelDrawingTest : public EffectDrawingTest {
  protected:
    SubPixelDrawingTest() {
        Picture("line.png", 3, 3, White);
        std::vector<uint8_t>& alpha =
            store.Surfaces[size_t(store.IndexOfSurface("line.png"))].Alpha;
        for (size_t i = 0; i < alpha.size(); ++i) alpha[i] = i % 3 == 1 ? 255 : 0;
        FillSurface(store, "MemorySurface", Black);
    }
    static bool Half(uint32_t pixel) { return (pixel & 0xFF) > 0x60 && (pixel & 0xFF) < 0xA0; }

    TPartEffect line = Instance(OneParticle("<Resource>line.png</Resource>"), 0, 0);
};

TEST_F(SubPixelDrawingTest, AParticleBetweenTwoPixelsSpreadsOverBoth) {
    DrawKelParticleEffect(canvas, *line.Effect, "MemorySurface", 100, 50);
    EXPECT_EQ(At(100, 50), White);  // whole pixels: the column on one pixel
    EXPECT_EQ(At(99, 50), Black);

    FillSurface(store, "MemorySurface", Black);
    DrawKelParticleEffectInReal(canvas, *line.Effect, "MemorySurface", 100.5, 50);
    EXPECT_TRUE(Half(At(99, 50))) << std::hex << At(99, 50);
    EXPECT_TRUE(Half(At(100, 50))) << std::hex << At(100, 50);
    EXPECT_EQ(At(99, 50), At(100, 50));
    EXPECT_EQ(At(98, 50), Black);
    EXPECT_EQ(At(101, 50), Black);
    EXPECT_EQ(grid.Tile(5, 3), 2);  // (99, 49) .. (101, 51)
}

TEST_F(SubPixelDrawingTest, ClippingCutsWholePixelsAndKeepsTheRest) {
    DrawKelParticleEffectInReal(canvas, *line.Effect, "MemorySurface", 100.5, 50);
    const uint32_t half = At(99, 50);
    struct Case {
        TRect Bounds;
        double X;
        bool Left, Right;  // whether the pixels at X - 1.5 and X - 0.5 are drawn
    } cases[] = {{{0, 0, 99, 599}, 100.5, true, false},
                 {{100, 0, 799, 599}, 100.5, false, true},
                 {{0, 51, 799, 599}, 100.5, false, false},
                 {ScreenRect, 0.5, false, true},  // the screen's left edge
                 {ScreenRect, 800.5, true, false}};
    for (const Case& c : cases) {
        FillSurface(store, "MemorySurface", Black);
        DrawKelParticleEffectInReal(canvas, *line.Effect, "MemorySurface", c.X, 50, c.Bounds);
        const int left = int(c.X - 1.5);
        if (c.X > 1) {
            EXPECT_EQ(At(left, 50), c.Left ? half : Black) << c.X;
        }
        if (c.X < 800) {
            EXPECT_EQ(At(left + 1, 50), c.Right ? half : Black) << c.X;
        }
    }
}

TEST_F(SubPixelDrawingTest, AFramePastTheStripDrawsNothing) {
    const std::vector<uint8_t> blank = Contents(store, "MemorySurface");
    for (int frame : {3, 7, 1000000000}) {
        TPartEffect strip = Instance(
            OneParticle("<Resource>strip.png</Resource><FrameCount>3</FrameCount>", frame), 0, 0);
        DrawKelParticleEffectInReal(canvas, *strip.Effect, "MemorySurface", 790.5, 598.5);
        DrawKelParticleEffect(canvas, *strip.Effect, "MemorySurface", 790, 598);
        EXPECT_EQ(Contents(store, "MemorySurface"), blank) << frame;
    }
}

}  // namespace
