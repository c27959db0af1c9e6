#include "app/HeadlessGame.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "resources/JpegPNG.h"
#include "support/HeadlessGame.h"
#include "support/TempFolder.h"

namespace {

// The driver on a fixture archive of the six fonts, a sound table and a picture.
class DriverTest : public HeadlessGameTest {
  protected:
    DriverTest() { WriteArchive({{"Sounds.xml", "<Sounds/>"}}); }
    THeadlessConfig Config(uint32_t passMs = 10) {
        return {data.Path().string(), user.Path().string(), 7, passMs};
    }
};

TEST_F(DriverTest, PassesAdvanceTheClockByThePassLength) {
    THeadlessGame game(Config(16));
    game.Start();
    ASSERT_FALSE(game.Snapshot().Closed);
    const uint32_t start = game.Now();
    game.Step(100);  // six passes of 16 ms and one of 4
    EXPECT_EQ(game.Now(), start + 100);
    EXPECT_EQ(game.Snapshot().Tick, start + 100);
    EXPECT_EQ(game.Snapshot().FramesThisSecond, 1 + 7);

    int passes = 0;
    EXPECT_TRUE(game.RunUntil([&] { return ++passes > 3; }, 1000));
    EXPECT_EQ(game.Now(), start + 100 + 3 * 16);
    EXPECT_FALSE(game.RunUntil([] { return false; }, 50));
    EXPECT_EQ(game.Now(), start + 100 + 3 * 16 + 50);
}

TEST_F(DriverTest, InputArrivesAtItsClockValueAndCloseEndsTheRun) {
    THeadlessGame game(Config());
    game.Start();
    const uint32_t start = game.Now();
    game.Activate(false, start + 30);
    game.Activate(true, start + 60);
    game.Step(20);
    EXPECT_TRUE(game.Snapshot().Running);
    game.Step(20);
    EXPECT_FALSE(game.Snapshot().Running);  // deactivated at +30
    game.Step(30);
    // Activated at +60; the resume message the game posts to itself arrives in the same pass.
    EXPECT_TRUE(game.Snapshot().Running);

    game.Close(start + 100);
    game.Step(1000);
    EXPECT_TRUE(game.Snapshot().Closed);
    EXPECT_LT(game.Now(), start + 200);  // nothing runs after the window closed
}

TEST_F(DriverTest, SameSeedSameRun) {
    auto run = [&](const std::string& userFolder, uint64_t seed) {
        THeadlessGame game({data.Path().string(), userFolder, seed, 10});
        game.Start();
        game.Step(1000);
        return game.Engine().Services().Random.Random(1 << 30);
    };
    TempFolder other;
    EXPECT_EQ(run(user.Path().string(), 7), run(other.Path().string(), 7));
    TempFolder third;
    EXPECT_NE(run(user.Path().string(), 7), run(third.Path().string(), 8));
}

TEST_F(DriverTest, SavesThePresentedFrameAsPng) {
    THeadlessGame game(Config());
    EXPECT_FALSE(game.SaveFrame(user.File("none.png")));  // nothing presented yet
    game.Start();
    ASSERT_FALSE(game.Display().LastFrame.empty());
    std::vector<uint8_t>& frame = game.Display().LastFrame;
    frame[0] = 0x10;  // blue, green, red of the first pixel
    frame[1] = 0x20;
    frame[2] = 0x30;
    ASSERT_TRUE(game.SaveFrame(user.File("frame.png")));
    const TPngPicture picture = TPngPicture::LoadFromFile(user.File("frame.png"));
    ASSERT_EQ(picture.Width, 800);
    ASSERT_EQ(picture.Height, 600);
    EXPECT_EQ(picture.ColorRow(0)[0], 0x10);
    EXPECT_EQ(picture.ColorRow(0)[1], 0x20);
    EXPECT_EQ(picture.ColorRow(0)[2], 0x30);
    EXPECT_EQ(picture.ColorRow(599)[3 * 799], 0);
    EXPECT_FALSE(game.SaveFrame(user.File("missing/frame.png")));
}

TEST(FrameToPictureTest, WidensSixteenBitPixels) {
    const TPixelFormat format{16, 0xF800, 0x07E0, 0x001F};
    struct Case {
        uint16_t Pixel;
        uint8_t Blue, Green, Red;
    } cases[] = {{0x0000, 0, 0, 0},   {0xFFFF, 255, 255, 255}, {0xF800, 0, 0, 255},
                 {0x07E0, 0, 255, 0}, {0x001F, 255, 0, 0},     {0x8410, 132, 130, 132}};
    for (const Case& c : cases) {
        std::vector<uint8_t> frame(800 * 600 * 2);
        frame[0] = uint8_t(c.Pixel);
        frame[1] = uint8_t(c.Pixel >> 8);
        const TPngPicture picture = FrameToPicture(frame, format);
        EXPECT_EQ(picture.ColorRow(0)[0], c.Blue) << c.Pixel;
        EXPECT_EQ(picture.ColorRow(0)[1], c.Green) << c.Pixel;
        EXPECT_EQ(picture.ColorRow(0)[2], c.Red) << c.Pixel;
    }
    // A frame of the wrong size gives a black picture, never a read past its end.
    EXPECT_EQ(FrameToPicture(std::vector<uint8_t>(10, 0xFF), format).ColorRow(0)[0], 0);
}

#ifdef TERVOLIN_GAME_FOLDER
// The shipped game, started and played for a few hundred passes twice with the same seed: the
// same frames, presentations, sounds and log.
TEST(ShippedGameTest, ReplaysIdenticallyFromASeed) {
    struct Run {
        std::vector<std::vector<TRect>> Presented;
        std::vector<uint8_t> Frame;
        std::vector<std::string> AudioCalls;
        std::string Log;
    };
    auto play = [] {
        TempFolder user;
        THeadlessGame game({TERVOLIN_GAME_FOLDER, user.Path().string(), 42, 10});
        game.Start();
        EXPECT_FALSE(game.Snapshot().Closed);
        game.Step(1000);
        game.Engine().Services().Play.Game.ShowInstructions = false;
        (*game.Engine().Services().Levels).StartFirstLevel(game.Now());
        game.MouseMove(400, 300);
        game.Step(2000);
        game.Close();
        game.Step(2000);
        EXPECT_TRUE(game.Snapshot().Closed);
        return Run{game.Display().Presented, game.Display().LastFrame, game.Audio().Calls(),
                   user.Read("Tervolin.log")};
    };
    const Run first = play(), second = play();
    EXPECT_GT(first.Presented.size(), 1u);
    EXPECT_EQ(first.Presented, second.Presented);
    EXPECT_EQ(first.Frame, second.Frame);
    EXPECT_EQ(first.AudioCalls, second.AudioCalls);
    EXPECT_EQ(first.Log, second.Log);
}
#endif

}  // namespace
