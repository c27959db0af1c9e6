// The first start's progress window: drawn in software, shown while the install job runs and
// closed before the game's window opens; later starts show none.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "app/HeadlessGame.h"
#include "app/InstallWindow.h"
#include "support/TempFolder.h"

namespace {

// Writes the window for a person to look at when TERVOLIN_SHOTS names a folder.
void Shot(const std::vector<uint32_t>& pixels, const std::string& name) {
    const char* folder = std::getenv("TERVOLIN_SHOTS");
    if (!folder) return;
    TPngPicture picture;
    picture.Width = TInstallWindow::Width;
    picture.Height = TInstallWindow::Height;
    for (uint32_t pixel : pixels)
        for (int shift : {0, 8, 16}) picture.Color.push_back(uint8_t(pixel >> shift));
    const std::vector<uint8_t> bytes = picture.Encode();
    std::ofstream(std::string(folder) + "/" + name + ".png", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

uint32_t PixelAt(const std::vector<uint32_t>& pixels, int x, int y) {
    return pixels[size_t(y) * TInstallWindow::Width + size_t(x)];
}

TEST(InstallWindowTest, TheBarFollowsThePercentageAndTheTitleTellsIt) {
    HeadlessDisplay display;
    {
        TInstallWindow window(display, nullptr);  // no font: the window goes without text
        window.Update("Done: 50% ( Back1.jpg)", 50);
        EXPECT_EQ(display.ProgressTitles.back(), "Tervolin (50%)");
        EXPECT_TRUE(display.ProgressShown);
        EXPECT_EQ(display.ProgressWidth, TInstallWindow::Width);
        const uint32_t filled = PixelAt(display.ProgressPicture, 60, 115);
        const uint32_t empty = PixelAt(display.ProgressPicture, 280, 115);
        EXPECT_NE(filled, empty);
        window.Update("", 250);
        EXPECT_EQ(display.ProgressTitles.back(), "Tervolin (100%)");
        EXPECT_EQ(PixelAt(display.ProgressPicture, 280, 115), filled);
        window.Update("", -5);
        EXPECT_EQ(display.ProgressTitles.back(), "Tervolin (0%)");
    }
    EXPECT_FALSE(display.ProgressShown) << "closed with the install step";
}

#ifdef TERVOLIN_GAME_FOLDER
TEST(InstallWindowTest, OnlyTheFirstStartShowsItWithItsTexts) {
    TempFolder user;
    {
        THeadlessGame game({TERVOLIN_GAME_FOLDER, user.Path().string(), 1, 10});
        game.Start();
        const HeadlessDisplay& display = game.Display();
        ASSERT_FALSE(display.ProgressTitles.empty());
        EXPECT_EQ(display.ProgressTitles.back(), "Tervolin (100%)");
        EXPECT_FALSE(display.ProgressShown);
        // The caption's row holds text drawn with the shipped font.
        const std::vector<uint32_t>& pixels = display.ProgressPicture;
        const uint32_t panel = PixelAt(pixels, 5, 30);
        int inked = 0;
        for (int x = 10; x < TInstallWindow::Width - 10; ++x)
            for (int y = 24; y < 44; ++y) inked += PixelAt(pixels, x, y) != panel;
        EXPECT_GT(inked, 100);
        Shot(pixels, "install-window");
    }
    THeadlessGame again({TERVOLIN_GAME_FOLDER, user.Path().string(), 1, 10});
    again.Start();
    EXPECT_TRUE(again.Display().ProgressTitles.empty());
}
#endif

}  // namespace
