// tervolin-tool ui: a window of a description drawn with the archive's pictures and fonts,
// presses running scripts, a language file changing a caption, and the exit codes.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "resources/FileFolder.h"
#include "resources/JpegPNG.h"
#include "support/RunTool.h"
#include "support/TempFolder.h"
#include "support/TestContent.h"

namespace {

using Colour = std::array<uint8_t, 3>;  // blue, green, red

class UiToolTest : public ::testing::Test {
  protected:
    // An archive with the test window's description, a picture of its own colour for each name
    // and the font KelUnicode, whose "A" is a white 8x12 block (its first description, the space,
    // stands in for the characters it lacks).
    void SetUp() override {
        TFileFolder archive = TFileFolder::CreateEmpty(folder.File("game.zxc"));
        const auto add = [&](const std::string& name, const std::string& bytes) {
            archive.AddFile(name, 1, TMemoryStream(bytes));
        };
        add("Tervolin.li", ReadText(Description()));
        add("Back.png", SolidPng(400, 300, 40, 40, 40));
        add("Button.png", SolidPng(80, 30, 0, 0, 200));
        add("ButtonOver.png", SolidPng(80, 30, 0, 200, 0));
        add("ButtonDown.png", SolidPng(80, 30, 200, 0, 0));
        add("Box.png", SolidPng(16, 16, 0, 100, 100));
        add("BoxChecked.png", SolidPng(16, 16, 100, 100, 0));
        add("Radio.png", SolidPng(16, 16, 10, 10, 90));
        add("RadioOn.png", SolidPng(16, 16, 90, 10, 10));
        add("BarBack.png", SolidPng(200, 20, 0, 0, 0));
        add("Bar.png", SolidPng(10, 20, 0, 220, 220));
        add("Spin.png", SolidPng(80, 20, 220, 0, 220));
        add("KelUnicode.png", SolidPng(8, 12, 255, 255, 255));
        add("KelUnicode.xml",
            "<Font Name=\"KelUnicode\" Height=\"12\" Picture=\"KelUnicode.png\" "
            "Metrics=\"32:0:0:0:4:0,65:0:0:0:8:1\"/>");
        archive.Save();
    }
    static std::string Description() { return TERVOLIN_TEST_DATA "/ui/window.li"; }
    Colour Pixel(int x, int y) const {
        const TPngPicture frame = TPngPicture::LoadFromFile(folder.File("out.png"));
        const uint8_t* p = frame.ColorRow(y) + 3 * x;
        return {p[0], p[1], p[2]};
    }
    ToolResult Run(std::vector<std::string> extra) {
        std::vector<std::string> args{"ui", folder.File("game.zxc"), "Main",
                                      folder.File("out.png")};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunTool(args);
    }

    TempFolder folder;
    // The window, 400x300, is centred: its top-left corner is at (200, 150).
    static constexpr int X = 200, Y = 150;
};

TEST_F(UiToolTest, DrawsTheWindowWithEveryWidget) {
    const ToolResult result = Run({});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Pixel(X + 5, Y + 5), (Colour{40, 40, 40}));
    EXPECT_EQ(Pixel(X + 60, Y + 75), (Colour{0, 0, 200}));     // the button, not pressed
    EXPECT_EQ(Pixel(X + 28, Y + 118), (Colour{0, 100, 100}));  // the box, not checked
    EXPECT_EQ(Pixel(X + 28, Y + 148), (Colour{90, 10, 10}));   // the checked radio button
    EXPECT_EQ(Pixel(X + 148, Y + 148), (Colour{10, 10, 90}));
    EXPECT_EQ(Pixel(X + 25 + 90, Y + 210), (Colour{0, 220, 220}));  // ten bars of 10
    EXPECT_EQ(Pixel(X + 25 + 100, Y + 210), (Colour{0, 0, 0}));
    EXPECT_EQ(Pixel(X + 305, Y + 205), (Colour{220, 0, 220}));  // one frame of the strip
    EXPECT_EQ(Pixel(X + 325, Y + 205), (Colour{40, 40, 40}));
}

TEST_F(UiToolTest, PressesRunScriptsAndALanguageChangesCaptions) {
    const ToolResult result =
        Run({"--press", "Start", "--lang", TERVOLIN_TEST_DATA "/ui/window-lang.li"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "exec StartGame\n");
    EXPECT_EQ(Pixel(X + 28, Y + 118), (Colour{100, 100, 0}));               // checked by the script
    for (uint8_t channel : Pixel(X + 24, Y + 26)) EXPECT_GT(channel, 200);  // the caption's "A"
}

TEST_F(UiToolTest, KeysMoveAFramedFocusAndReturnPressesIt) {
    const ToolResult result = Run({"--key", "Down", "--key", "Return"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "exec StartGame\n");
    EXPECT_EQ(Pixel(X + 60, Y + 75), (Colour{0, 200, 0}));  // the mouse-over look
    // The frame's bright ring and its dark edge, within the fill's rounding.
    const auto near = [](Colour a, Colour b) {
        for (size_t i = 0; i < 3; ++i)
            if (std::abs(int(a[i]) - int(b[i])) > 2) return false;
        return true;
    };
    EXPECT_TRUE(near(Pixel(X + 16, Y + 75), Colour{96, 216, 255}));
    EXPECT_TRUE(near(Pixel(X + 15, Y + 75), Colour{16, 36, 58}));
    EXPECT_EQ(Run({"--key", "Sideways"}).exitCode, 2);
}

TEST_F(UiToolTest, TypingFollowsTheEditsRules) {
    // The font has only "A"; the edit takes three characters.
    const ToolResult result = Run({"--type", "PlayerName", "AxAAA"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (uint8_t channel : Pixel(X + 250 + 4, Y + 66)) EXPECT_GT(channel, 200);
    for (uint8_t channel : Pixel(X + 250 + 16 + 4, Y + 66)) EXPECT_GT(channel, 200);
    EXPECT_EQ(Pixel(X + 250 + 30, Y + 66), (Colour{40, 40, 40}));
    EXPECT_EQ(Run({"--type", "Start", "A"}).exitCode, 1);
    EXPECT_EQ(Run({"--type", "PlayerName"}).exitCode, 2);
}

TEST_F(UiToolTest, ADescriptionOnDiskTakesThePicturesOfTheArchive) {
    const ToolResult result = RunTool({"ui", Description(), "Main", folder.File("out.png"),
                                       "--archive", folder.File("game.zxc")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Pixel(X + 60, Y + 75), (Colour{0, 0, 200}));
}

TEST_F(UiToolTest, AClickFollowsARichLabelsLink) {
    // "AA" and a space take 22 pixels; the link's "AAA" lies from (42, 20) to (68, 31).
    const std::string description = folder.File("rich.li");
    TMemoryStream(R"(<KelInterface Version="1.0">
  <o c="TKelForm">
    <p n="Name">Main</p><p n="ParentName">Screen</p><p n="Width">400</p><p n="Height">300</p>
  </o>
  <o c="TKelRichLabel">
    <p n="Name">Help</p><p n="ParentName">Main</p><p n="Left">20</p><p n="Top">20</p>
    <p n="Width">300</p><p n="Height">40</p><p n="Visible">True</p>
    <p n="Caption">AA {Link Action=ExecMethod Method="Follow";}AAA{/Link}</p>
  </o>
</KelInterface>)")
        .SaveToFile(description);
    const auto click = [&](const std::string& x, const std::string& y) {
        return RunTool({"ui", description, "Main", folder.File("out.png"), "--archive",
                        folder.File("game.zxc"), "--click", x, y});
    };
    const ToolResult followed = click("50", "25");
    ASSERT_EQ(followed.exitCode, 0) << followed.err;
    EXPECT_EQ(followed.out, "exec Follow\n");
    EXPECT_EQ(click("25", "25").out, "");  // on the text before the link
    EXPECT_EQ(click("x", "25").exitCode, 2);
}

TEST_F(UiToolTest, FailuresAndBadArguments) {
    EXPECT_EQ(RunTool({"ui", "only-one"}).exitCode, 2);
    EXPECT_EQ(Run({"--colour", "red"}).exitCode, 2);
    const std::string broken = folder.File("broken.li");
    TMemoryStream("<KelInterface><o c=\"TKelForm\" d=\"1\"><p n=\"Name\">A</p></o></KelInterface>")
        .SaveToFile(broken);
    const ToolResult result =
        RunTool({"ui", broken, "A", folder.File("out.png"), "--archive", folder.File("game.zxc")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              "[TKelInterfaceEngine.CreateInterfaceObjects] Tag <o> has wrong number of "
              "attributes!\n");
    EXPECT_EQ(Run({"--press", "Nothing"}).exitCode, 1);
    EXPECT_EQ(RunTool({"ui", Description(), "Missing", folder.File("out.png"), "--archive",
                       folder.File("game.zxc")})
                  .exitCode,
              1);
}

}  // namespace
