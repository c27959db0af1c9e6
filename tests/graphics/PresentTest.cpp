// Presentation of the changed rectangles and the display set-up, on the test display, the
// headless platform display and SDL's dummy video driver.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/FakeDisplay.h"
#include "graphics/SurfEngine.h"
#include "platform/HeadlessPlatform.h"
#include "platform/SdlDisplay.h"

namespace {

// Counts what reaches the display it wraps.
class CountingDisplay : public IDisplay {
  public:
    explicit CountingDisplay(IDisplay& inner) : Inner(inner) {}
    void ShowWindow(bool f, int x, int y) override { Inner.ShowWindow(f, x, y); }
    bool Open(bool f, int b) override { return Inner.Open(f, b); }
    void Close() override { Inner.Close(); }
    bool IsOpen() const override { return Inner.IsOpen(); }
    bool IsFullScreen() const override { return Inner.IsFullScreen(); }
    TPixelFormat PixelFormat() const override { return Inner.PixelFormat(); }
    void Present(const uint8_t* frame, int pitch, const std::vector<TRect>& rects) override {
        Presented.push_back(rects);
        Inner.Present(frame, pitch, rects);
    }
    void SetCaption(const std::string& c) override { Inner.SetCaption(c); }
    void ShowCursor(bool v) override { Inner.ShowCursor(v); }
    void ShowProgress(const std::string& t, const uint32_t* p, int w, int h) override {
        Inner.ShowProgress(t, p, w, h);
    }
    void HideProgress() override { Inner.HideProgress(); }
    IDisplay& Inner;
    std::vector<std::vector<TRect>> Presented;
};

const std::vector<TRect> ThreeRects = {{0, 0, 9, 9}, {100, 50, 299, 59}, {790, 590, 799, 599}};

}  // namespace

TEST(PresentTest, OnlyTheChangedRectanglesInsideTheScreenArePresented) {
    FakeDisplay display;
    TSurfEngine engine;
    engine.Create(display);
    std::vector<TRect> rects = ThreeRects;
    engine.PresentRects("MemorySurface", rects);  // no frame yet
    EXPECT_TRUE(display.Presented.empty());
    engine.CreateEmptySurface("MemorySurface", 800, 600);
    engine.PresentRects("MemorySurface", rects);
    ASSERT_EQ(1u, display.Presented.size());
    EXPECT_EQ(ThreeRects, display.Presented[0]);
    EXPECT_EQ(engine.FindSurface("MemorySurface")->Bits, display.LastFrame);
    EXPECT_EQ(3200, display.LastPitch);

    std::vector<TRect> none;
    engine.PresentRects("MemorySurface", none);
    // Reaching past the screen or inverted: skipped, not clipped.
    std::vector<TRect> edges = {{700, 0, 800, 9},    {700, 0, 799, 9}, {-1, 0, 4, 4},
                                {0, 599, 9, 600},    {0, 599, 9, 599}, {5, 5, 4, 5},
                                {799, 599, 799, 599}};
    engine.PresentRects("MemorySurface", edges);
    ASSERT_EQ(2u, display.Presented.size());
    EXPECT_EQ((std::vector<TRect>{{700, 0, 799, 9}, {0, 599, 9, 599}, {799, 599, 799, 599}}),
              display.Presented[1]);

    // A frame smaller than the screen is never handed to the display.
    engine.CreateEmptySurface("Small", 400, 300);
    engine.PresentRects("Small", rects);
    EXPECT_EQ(2u, display.Presented.size());
}

TEST(PresentTest, RedrawRectanglesAreCutToTheVisibleRegion) {
    FakeDisplay display;
    TSurfEngine engine;
    engine.Create(display);
    std::vector<TRect> rects = ThreeRects;
    engine.CheckClipper();
    engine.ClipRedrawRects(rects);
    EXPECT_EQ(ThreeRects, rects);
    // Partly covered: visible are the left half and a strip at the bottom right.
    engine.ClipList = {{0, 0, 399, 599}, {400, 580, 799, 599}};
    rects = {{350, 10, 449, 19}, {500, 100, 599, 199}, {390, 585, 409, 594}, {400, 0, 400, 579}};
    engine.ClipRedrawRects(rects);
    EXPECT_EQ((std::vector<TRect>{{350, 10, 399, 19}, {390, 585, 399, 594}, {400, 585, 409, 594}}),
              rects);
}

TEST(PresentTest, DisplaySetUpFallsBackToSixteenBits) {
    FakeDisplay display;
    std::vector<std::string> log;
    const TLogSink sink = [&](const std::string& line) { log.push_back(line); };
    display.RefusedDepths = {32};
    EXPECT_TRUE(SetUpDisplay(display, true, 32, sink));
    EXPECT_EQ((std::vector<int>{32, 16}), display.OpenCalls);
    TSurfEngine engine;
    engine.Create(display);
    EXPECT_EQ("B5G6R5", engine.PixelFormat.Name);
    display.RefusedDepths = {32, 16};
    EXPECT_FALSE(SetUpDisplay(display, false, 32, sink));
    EXPECT_EQ((std::vector<std::string>{"Error in init DirectX mode FullScreen=0"}), log);
}

TEST(PresentTest, HeadlessDisplayReceivesOnlyTheChangedRectangles) {
    HeadlessDisplay headless;
    ASSERT_TRUE(SetUpDisplay(headless, false, 32, nullptr));
    TSurfEngine engine;
    engine.Create(headless);
    engine.CreateEmptySurface("MemorySurface", 800, 600);
    SetPixel(engine, "MemorySurface", 5, 5, 0x00ABCDEF);
    std::vector<TRect> rects = ThreeRects, none;
    engine.PresentRects("MemorySurface", rects);
    engine.PresentRects("MemorySurface", none);
    ASSERT_EQ(1u, headless.Presented.size());
    EXPECT_EQ(ThreeRects, headless.Presented[0]);
    EXPECT_EQ(0xEF, headless.LastFrame[(5 * 800 + 5) * 4]);
}

// The screen shows exactly the pixels of the presented rectangles, right and bottom edges
// included.
TEST(PresentTest, TheScreenShowsExactlyThePresentedPixels) {
    struct Case {
        const char* what;
        std::vector<TRect> rects;
        size_t shown;                    // pixels that reach the screen
        std::vector<TPoint> lit, unlit;  // some of them, and some neighbours that do not
    } cases[] = {
        {"whole screen", {ScreenRect}, 800 * 600, {{0, 0}, {799, 0}, {0, 599}, {799, 599}}, {}},
        {"one pixel", {{10, 20, 10, 20}}, 1, {{10, 20}}, {{9, 20}, {11, 20}, {10, 19}, {10, 21}}},
        {"last column", {{799, 0, 799, 599}}, 600, {{799, 0}, {799, 599}}, {{798, 300}}},
        {"last row", {{0, 599, 799, 599}}, 800, {{0, 599}, {799, 599}}, {{400, 598}}},
        {"two by three", {{5, 7, 6, 9}}, 6, {{5, 7}, {6, 9}}, {{7, 9}, {6, 10}, {4, 7}}},
        {"one past the screen", {{0, 0, 800, 599}, {0, 0, 799, 600}}, 0, {}, {}},
        {"inverted", {{10, 10, 9, 20}}, 0, {}, {}},
    };
    for (const Case& c : cases) {
        HeadlessDisplay headless;
        ASSERT_TRUE(SetUpDisplay(headless, false, 32, nullptr));
        TSurfEngine engine;
        engine.Create(headless);
        engine.CreateEmptySurface("MemorySurface", 800, 600);
        engine.FillRectByte("MemorySurface", 0xFF, ScreenRect);
        std::vector<TRect> rects = c.rects;
        engine.PresentRects("MemorySurface", rects);
        const auto lit = [&](TPoint p) {
            return headless.LastFrame.size() == 800u * 600u * 4u &&
                   headless.LastFrame[(size_t(p.Y) * 800 + p.X) * 4] == 0xFF;
        };
        size_t shown = 0;
        for (size_t i = 0; i < headless.LastFrame.size(); i += 4)
            shown += headless.LastFrame[i] == 0xFF;
        EXPECT_EQ(c.shown, shown) << c.what;
        for (TPoint p : c.lit) EXPECT_TRUE(lit(p)) << c.what << " " << p.X << "," << p.Y;
        for (TPoint p : c.unlit) EXPECT_FALSE(lit(p)) << c.what << " " << p.X << "," << p.Y;
    }
}

TEST(PresentTest, SdlDummyDisplaySmoke) {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_VIDEO)) << SDL_GetError();
    {
        SdlDisplay sdl("tervolin-test");
        CountingDisplay display(sdl);
        for (int depth : {32, 16}) {
            ASSERT_TRUE(SetUpDisplay(display, false, depth, nullptr));
            TSurfEngine engine;
            engine.Create(display);
            EXPECT_EQ(depth, engine.PixelFormat.BitCount);
            engine.CreateEmptySurface("MemorySurface", 800, 600);
            engine.FillRectByte("MemorySurface", 0x7F, ScreenRect);
            display.Presented.clear();
            std::vector<TRect> rects = ThreeRects, none;
            engine.PresentRects("MemorySurface", rects);
            engine.PresentRects("MemorySurface", none);
            ASSERT_EQ(1u, display.Presented.size());
            EXPECT_EQ(ThreeRects, display.Presented[0]);
        }
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
