// Image scripts over a small in-memory archive: every command, the clipping of rectangles, the
// size limits and the errors for missing pictures and commands without a picture.
#include "resources/ImageScript.h"

#include <gtest/gtest.h>

#include "support/PictureFixtures.h"

namespace {

constexpr TRgba Black{0, 0, 0}, White{255, 255, 255}, Red{255, 0, 0};

class ImageScriptTest : public ::testing::Test {
  protected:
    void SetUp() override {
        AddPictureEntry(archive, "white.png", FilledPicture(40, 20, White));
        TPngPicture marked = FilledPicture(3, 3, Black);
        SetPixel(marked, 0, 1, White);
        AddPictureEntry(archive, "marked.png", marked);
        AddPictureEntry(archive, "half.png", FilledPicture(2, 2, {10, 20, 30, 128}, true));
        archive.AddFile(
            "grey.jpg", 2,
            TMemoryStream(EncodeJpeg(FilledPicture(8, 8, {128, 128, 128}).ToBitmap(), 95)));
    }

    // Runs the script and answers the picture it stored as "out.pNg".
    TPngPicture Run(const std::string& script) {
        RunImageScript(archive, script);
        return EntryPicture(archive, "out.pNg");
    }

    std::string Error(const std::string& script) {
        try {
            RunImageScript(archive, script);
        } catch (const std::runtime_error& error) {
            return error.what();
        }
        return "no error";
    }

    TFileFolder archive = TFileFolder::CreateEmpty("unused.zxc");
};

TEST_F(ImageScriptTest, AutosizeTakesTheFirstPicturesSizeAndPlacesItAtTheOrigin) {
    const TPngPicture out =
        Run("<AutoImage name=\"out\" autosize=\"TRUE\">\n"
            "<AddImage name=\"white.png\" left=\"7\" top=\"3\"/>\n");
    EXPECT_EQ(out.Width, 40);
    EXPECT_EQ(out.Height, 20);
    EXPECT_EQ(PixelAt(out, 0, 0), White);
    EXPECT_EQ(PixelAt(out, 39, 19), White);
}

TEST_F(ImageScriptTest, AddImagePlacesTheSourceRectangleClippedOnBothSides) {
    // The rectangle reaches past the source and its placement past the working picture.
    const TPngPicture out =
        Run("<AutoImage name=\"out\" width=\"4\" height=\"3\">\n"
            "<AddImage name=\"marked.png\" left=\"3\" top=\"-1\" srcrect=\"0\t0 99 99\"/>\n");
    ASSERT_EQ(out.Width, 4);
    // Source row 0 is cut off, row 1 lands on row 0 and row 2 on row 1; column 0 on column 3.
    EXPECT_EQ(PixelAt(out, 3, 0), White);
    EXPECT_EQ(PixelAt(out, 3, 1), Black);
    EXPECT_EQ(PixelAt(out, 2, 0), Black);
}

TEST_F(ImageScriptTest, AddImageWithoutItsClosingAddsNothing) {
    const TPngPicture out =
        Run("<AutoImage name=\"out\" width=\"2\" height=\"2\">\n"
            "<AddImage name=\"white.png\">\n");
    EXPECT_EQ(PixelAt(out, 0, 0), Black);
}

TEST_F(ImageScriptTest, TintAndOpacity) {
    struct Case {
        const char* attributes;
        TRgba expected;
    };
    // White blended over the first, red picture with g = alfa * 255 / 256 and h = 255 - g: an
    // untinted opaque pixel is copied, anything else is blended.
    const Case cases[] = {
        {"colorvalue=\"0\" color=\"0 0 255\"", White},
        {"colorvalue=\"1\" color=\"0 0 255\"", {0, 0, 253}},        // almost the tint colour
        {"colorvalue=\"255\" color=\"255 0 0\"", {254, 252, 252}},  // almost the source
        {"alfa=\"128\"", {254, 126, 126}},
        {"alfa=\"0\"", {254, 0, 0}},
    };
    for (const Case& c : cases) {
        TFileFolder fresh = TFileFolder::CreateEmpty("unused.zxc");
        AddPictureEntry(fresh, "red.png", FilledPicture(1, 1, Red));
        AddPictureEntry(fresh, "white.png", FilledPicture(1, 1, White));
        RunImageScript(fresh,
                       "<AutoImage name=\"out\" autosize=\"true\">\n"
                       "<AddImage name=\"red.png\"/>\n"
                       "<AddImage name=\"white.png\" " +
                           std::string(c.attributes) + "/>");
        EXPECT_EQ(PixelAt(EntryPicture(fresh, "out.pNg"), 0, 0), c.expected) << c.attributes;
    }
}

TEST_F(ImageScriptTest, APictureWithAlphaGivesTheResultAnAlphaChannel) {
    const TPngPicture out =
        Run("<AutoImage name=\"out\" width=\"3\" height=\"2\">\n"
            "<AddImage name=\"half.png\"/>\n");
    ASSERT_TRUE(out.HasAlpha());
    EXPECT_EQ(PixelAt(out, 0, 0), (TRgba{10, 20, 30, 255 - 255 * (255 - 127) / 256}));
    EXPECT_EQ(PixelAt(out, 2, 1).A, 0);  // not covered: transparent
}

TEST_F(ImageScriptTest, JpegPicturesAndRotatedAdds) {
    const TPngPicture out =
        Run("<AutoImage name=\"out\" autosize=\"true\">\n"
            "<AddImage name=\"marked.png\" Rotate=\"180\" alfa=\"0\"/>\n"
            "<AddImage name=\"grey.jpg\" left=\"5\"/>\n");
    EXPECT_EQ(PixelAt(out, 2, 1), White);  // the alfa of a rotated add is ignored
    EXPECT_EQ(PixelAt(out, 0, 1), Black);
}

TEST_F(ImageScriptTest, FlipsAndSeveralCommandsOnOneLine) {
    const TPngPicture out =
        Run("<AutoImage name=\"out\" autosize=\"true\">\n"
            "<AddImage name=\"marked.png\"/><FlipImageHorizontal/>\n<FlipImageVertical/>\n");
    EXPECT_EQ(PixelAt(out, 2, 1), White);
    EXPECT_EQ(PixelAt(out, 0, 1), Black);
}

TEST_F(ImageScriptTest, HueChangeShiftsHueWithWrapAndLightness) {
    struct Case {
        const char* attributes;
        TRgba expected;
    };
    const Case cases[] = {
        {"hue=\"80\"", {0, 255, 0}},   {"hue=\"-80\"", {0, 0, 255}},
        {"hue=\"400\"", {0, 0, 255}},  // 400 wraps to 160
        {"lightness=\"-240\"", Black}, {"saturation=\"-240\"", {128, 128, 128}},
    };
    for (const Case& c : cases) {
        TFileFolder fresh = TFileFolder::CreateEmpty("unused.zxc");
        AddPictureEntry(fresh, "red.png", FilledPicture(1, 1, Red));
        RunImageScript(fresh,
                       "<AutoImage name=\"out\" autosize=\"true\">\n"
                       "<AddImage name=\"red.png\"/>\n"
                       "<ImageHueChange " +
                           std::string(c.attributes) + "/>");
        EXPECT_EQ(PixelAt(EntryPicture(fresh, "out.pNg"), 0, 0), c.expected) << c.attributes;
    }
}

TEST_F(ImageScriptTest, RotateImageTurnsCounterClockwiseAboutAPoint) {
    // The white pixel below the top left corner turns to the right of it.
    const TPngPicture out =
        Run("<AutoImage name=\"out\" autosize=\"true\">\n<AddImage name=\"marked.png\"/>\n"
            "<RotateImage x=\"0\" y=\"0\" angle=\"90\"/>\n");
    EXPECT_EQ(PixelAt(out, 1, 0), White);
    EXPECT_EQ(PixelAt(out, 0, 1), Black);
    EXPECT_EQ(out.Width, 3);
}

TEST_F(ImageScriptTest, RotateImageDefaultsToTheCentreAndSamplesBilinearly) {
    const TPngPicture quarter =
        Run("<AutoImage name=\"out\" autosize=\"true\">\n<AddImage name=\"marked.png\"/>\n"
            "<RotateImage angle=\"90\"/>\n");
    EXPECT_EQ(PixelAt(quarter, 1, 2), White);
    TFileFolder fresh = TFileFolder::CreateEmpty("unused.zxc");
    AddPictureEntry(fresh, "white.png", FilledPicture(5, 5, White));
    RunImageScript(fresh,
                   "<AutoImage name=\"out\" autosize=\"true\">\n<AddImage name=\"white.png\"/>\n"
                   "<RotateImage angle=\"45\"/>\n");
    const TPngPicture out = EntryPicture(fresh, "out.pNg");
    EXPECT_EQ(PixelAt(out, 2, 2), White);
    // The corner's source lies 2 - 2 sqrt(2) rows up: 17% white, 83% the black outside.
    EXPECT_EQ(PixelAt(out, 0, 0), (TRgba{44, 44, 44}));
}

TEST_F(ImageScriptTest, ScaleImageSamplesBilinearly) {
    TPngPicture pair = FilledPicture(2, 1, Black);
    SetPixel(pair, 1, 0, White);
    AddPictureEntry(archive, "pair.png", pair);
    const TPngPicture out =
        Run("<AutoImage name=\"out\" autosize=\"true\">\n<AddImage name=\"pair.png\"/>\n"
            "<ScaleImage width=\"1\"/>\n");
    EXPECT_EQ(out.Width, 1);
    EXPECT_EQ(out.Height, 1);
    EXPECT_EQ(PixelAt(out, 0, 0), (TRgba{128, 128, 128}));
}

TEST_F(ImageScriptTest, CropImageKeepsThePartOnThePicture) {
    const TPngPicture out =
        Run("<AutoImage name=\"out\" autosize=\"true\">\n<AddImage name=\"marked.png\"/>\n"
            "<CropImage left=\"-2\" top=\"1\" width=\"3\" height=\"100\"/>\n");
    EXPECT_EQ(out.Width, 1);
    EXPECT_EQ(out.Height, 2);
    EXPECT_EQ(PixelAt(out, 0, 0), White);
}

TEST_F(ImageScriptTest, BadScriptsEndWithAClearError) {
    struct Case {
        const char* script;
        const char* error;
    };
    const Case cases[] = {
        {"<AutoImage name=\"out\" width=\"0\" height=\"4\">",
         "'0 x 4' is not a valid picture size"},
        {"<AutoImage name=\"out\" width=\"-3\" height=\"4\">",
         "'-3 x 4' is not a valid picture size"},
        {"<AutoImage name=\"out\" width=\"16385\" height=\"1\">",
         "'16385 x 1' is not a valid picture size"},
        {"<AutoImage name=\"out\" width=\"16384\" height=\"16384\">",
         "'16384 x 16384' is not a valid picture size"},
        {"<AutoImage name=\"out\" width=\"4\">", "'4 x 0' is not a valid picture size"},
        {"<AutoImage name=\"out\" width=\"four\" height=\"4\">",
         "'four' is not a valid integer value"},
        {"<AutoImage name=\"out\" autosize=\"true\">\n<AddImage name=\"marked.png\" srcrect=\"2 2 "
         "1 1\"/>",
         "'0 x 0' is not a valid picture size"},
        {"<AutoImage name=\"out\" autosize=\"true\">\n<AddImage name=\"marked.png\" srcrect=\"0 0 "
         "1\"/>",
         "'0 0 1' is not a valid integer value"},
        {"<AutoImage name=\"out\" width=\"4\" height=\"4\">\n<ScaleImage width=\"0\"/>",
         "'0 x 4' is not a valid picture size"},
        {"<AutoImage name=\"out\" width=\"4\" height=\"4\">\n<ScaleImage height=\"99999\"/>",
         "'4 x 99999' is not a valid picture size"},
        {"<AutoImage name=\"out\" width=\"4\" height=\"4\">\n<CropImage width=\"-1\"/>",
         "'-1 x 4' is not a valid picture size"},
        {"<AutoImage name=\"out\" width=\"4\" height=\"4\">\n<CropImage left=\"4\"/>",
         "The crop rectangle lies outside the picture"},
        {"<AutoImage name=\"out\" width=\"4\" height=\"4\">\n<RotateImage angle=\"x\"/>",
         "'x' is not a valid floating point value"},
        {"<FlipImageVertical/>", "No picture to work on at <FlipImageVertical"},
        {"<AddImage name=\"marked.png\"/>", "<AddImage before <AutoImage"},
        {"<AutoImage name=\"out\" autosize=\"true\">\n<ScaleImage width=\"2\"/>",
         "No picture to work on at <ScaleImage"},
        {"<AutoImage name=\"out\" autosize=\"true\">",
         "No picture to work on at the end of the script"},
        {"<AutoImage name=\"out\" width=\"4\" height=\"4\">\n<AddImage name=\"missing.png\"/>",
         "File missing.png does not exist in File Folder!"},
    };
    for (const Case& c : cases) EXPECT_EQ(Error(c.script), c.error) << c.script;
    EXPECT_EQ(archive.IndexOfFile("out.pNg"), -1);
}

}  // namespace
