#include "app/Options.h"

#include <gtest/gtest.h>

#include "app/IniFile.h"
#include "support/TempFolder.h"

TEST(OptionsTest, MissingKeysAndNonNumbersKeepDefaults) {
    TempFolder folder;
    folder.Write("options.cfg",
                 "[Options]\r\nSoundVolume=40\r\nMusicVolume=loud\r\nBitsPerPixel= 16 \r\n"
                 "DebugMode=463\r\nPlayerName=Ann\r\nFullScreenMode=1.5\r\n");
    TGameOptions options;
    options.LoadOptions(folder.File("options.cfg"));
    EXPECT_EQ(options.SoundVolume, 40);
    EXPECT_EQ(options.MusicVolume, 100);
    EXPECT_EQ(options.BitsPerPixel, 16);
    EXPECT_TRUE(options.Diagnostic());
    EXPECT_EQ(options.PlayerName, "Ann");
    EXPECT_EQ(options.FullScreenMode, 0);
    EXPECT_EQ(options.ScreenWidth, 800);

    TGameOptions missing;
    missing.LoadOptions(folder.File("none.cfg"));
    EXPECT_EQ(missing.PlayerName, "Player");
    EXPECT_EQ(missing.SoundVolume, 100);
}

TEST(OptionsTest, SavingReplacesValuesWhereTheyStandAndKeepsOtherKeys) {
    TempFolder folder;
    folder.Write(
        "options.cfg",
        "; made by "
        "hand\r\n[Options]\r\nSoundVolume=40\r\nDebugMode=463\r\n\r\n[Extra]\r\nKeep=1\r\n");
    TGameOptions options;
    options.LoadOptions(folder.File("options.cfg"));
    options.SoundVolume = 250;  // stored values are written back as they are
    options.PlayerName = "Bo\r\nInjected=1";
    options.AnimationImages = 7;
    ASSERT_TRUE(options.SaveOptions(folder.File("options.cfg")));
    EXPECT_EQ(folder.Read("options.cfg"),
              "; made by hand\r\n[Options]\r\nSoundVolume=250\r\nDebugMode=463\r\n"
              "PlayerName=BoInjected=1\r\nMusicVolume=100\r\nFullScreenMode=0\r\nTurnOffHint=0\r\n"
              "BitsPerPixel=32\r\nAnimationImages=0\r\n\r\n[Extra]\r\nKeep=1\r\n[Version]\r\nBuild="
              "103\r\n");
}

TEST(OptionsTest, TheWindowModeForTheRunIsInForceButNeverWritten) {
    TempFolder folder;
    folder.Write("options.cfg", "[Options]\r\nFullScreenMode=0\r\n");
    TGameOptions options;
    options.FullScreenForRun = 1;
    options.LoadOptions(folder.File("options.cfg"));
    EXPECT_EQ(options.FullScreenMode, 1);
    options.SoundVolume = 30;
    ASSERT_TRUE(options.SaveOptions(folder.File("options.cfg")));
    TGameOptions stored;
    stored.LoadOptions(folder.File("options.cfg"));
    EXPECT_EQ(stored.FullScreenMode, 0);
    EXPECT_EQ(stored.SoundVolume, 30);

    // Once the player switches the mode, the choice is stored.
    options.FullScreenForRun.reset();
    options.FullScreenMode = 1;
    ASSERT_TRUE(options.SaveOptions(folder.File("options.cfg")));
    stored.LoadOptions(folder.File("options.cfg"));
    EXPECT_EQ(stored.FullScreenMode, 1);
}

TEST(IniFileTest, WholeNumbers) {
    const struct {
        const char* text;
        bool ok;
        int value;
    } cases[] = {{"12", true, 12}, {"-7", true, -7},  {"+3", true, 3},    {" 5 ", true, 5},
                 {"", false, 0},   {"1e3", false, 0}, {"0x10", false, 0}, {"99999999999", false, 0},
                 {"-", false, 0}};
    for (const auto& c : cases) {
        int value = 0;
        EXPECT_EQ(ParseWholeNumber(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}
