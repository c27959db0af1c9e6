// Bitmap fonts: metrics, layout into the engine's placements, measuring, loading font files, and
// the text tool that draws with them.
#include "graphics/KelFont.h"

#include <gtest/gtest.h>

#include "content/DataBuilder.h"
#include "core/KelException.h"
#include "graphics/GraphicsClasses.h"
#include "graphics/KelFontEngine.h"
#include "resources/JpegPNG.h"
#include "support/RunTool.h"
#include "support/TempFolder.h"

namespace {

// The example metrics: "A" at (0, 0), 12 wide, "B" at (12, 0), 11 wide, one pixel around each.
const char* const ExampleMetrics = "65:0:0:1:12:1,66:12:0:1:11:1";

// Records what a font asks its host to draw.
struct RecordingHost : IKelFontHost {
    const TKelFontEngine* Engine = nullptr;
    std::string Picture;
    std::vector<TCharsRect> Drawn;
    int Calls = 0;
    void ExtDraw(const std::string& fontPicture, int count) override {
        ++Calls;
        Picture = fontPicture;
        Drawn.assign(Engine->Placements.begin(), Engine->Placements.begin() + count);
    }
};

class KelFontTest : public ::testing::Test {
  protected:
    TKelFont& AddFont(const std::string& metrics, int height = 10) {
        TKelFont& font = *engine.AddFontFromTag(Tag(metrics, height));
        return font;
    }
    TKelXMLTag& Tag(const std::string& metrics, int height) {
        tag.ClearAttributes();
        tag.AddAttribute("Name", "F" + std::to_string(engine.ObjectCount()));
        tag.AddAttribute("Height", std::to_string(height));
        tag.AddAttribute("Picture", "F.png");
        if (!metrics.empty()) tag.AddAttribute("Metrics", metrics);
        return tag;
    }
    void SetUp() override {
        host.Engine = &engine;
        engine.Host = &host;
    }
    TKelFontEngine engine;
    RecordingHost host;
    TKelXMLTag tag{"TKelFont"};
};

bool SamePlacement(const TCharsRect& a, const TCharsRect& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom &&
           a.X == b.X && a.Y == b.Y && a.Color == b.Color && a.Alpha == b.Alpha;
}

}  // namespace

TEST(GraphicsClassesTest, FontsAreCreatableByNameAndRegisteringAgainChangesNothing) {
    RegisterGraphicsClasses();
    const size_t count = TKelClassReg::Instance().Classes().size();
    RegisterGraphicsClasses();
    EXPECT_EQ(count, TKelClassReg::Instance().Classes().size());
    EXPECT_EQ(&TKelFont::StaticClass(), TKelClassReg::Instance().FindClass("TKelFont"));
}

TEST_F(KelFontTest, LaysTheExampleOutAndMeasuresIt) {
    TKelFont& font = AddFont(ExampleMetrics);
    font.DrawString(100, 20, 0x00112233, 200, U"AB");
    ASSERT_EQ(host.Calls, 1);
    EXPECT_EQ(host.Picture, "F.png");
    ASSERT_EQ(host.Drawn.size(), 2u);
    EXPECT_TRUE(SamePlacement(host.Drawn[0], {0, 0, 11, 9, 101, 20, 0x00112233, 200}));
    EXPECT_TRUE(SamePlacement(host.Drawn[1], {12, 0, 22, 9, 115, 20, 0x00112233, 200}));
    EXPECT_EQ(font.TextWidth(U"AB"), 27);
    EXPECT_EQ(font.TextWidth(U""), 0);
}

TEST_F(KelFontTest, DrawsNothingForBlankTextsALoneUnknownCharacterOrNoMetrics) {
    TKelFont& font = AddFont(ExampleMetrics);
    TKelFont& empty = AddFont("");
    const struct {
        TKelFont* font;
        std::u32string text;
    } cases[] = {
        {&font, U""},  {&font, U"   "}, {&font, U"\t \r\n"}, {&font, U" q "},
        {&font, U"A"}, {&empty, U"AB"}, {&empty, U"q"},
    };
    for (const auto& c : cases) {
        host.Calls = 0;
        c.font->DrawString(0, 0, 0, 255, c.text);
        // "A" is the description at index 0: unknown on its own, yet drawn inside longer text.
        EXPECT_EQ(host.Calls, 0) << std::string(c.text.begin(), c.text.end());
    }
    EXPECT_EQ(empty.TextWidth(U"AB"), 0);
    EXPECT_TRUE(empty.Descs().empty());
    font.DrawString(0, 0, 0, 255, U"AA");
    EXPECT_EQ(host.Drawn.size(), 2u);
}

TEST_F(KelFontTest, UnmappedCharactersDrawAndAdvanceLikeDescriptionZero) {
    TKelFont& font = AddFont(ExampleMetrics);
    EXPECT_FALSE(font.IsCharKnown(U'A'));  // its description is the placeholder at index 0
    EXPECT_TRUE(font.IsCharKnown(U'B'));
    EXPECT_TRUE(font.IsCharKnown(U' '));  // a space is always known
    EXPECT_FALSE(font.IsCharKnown(U'q'));
    // Above the 16-bit range nothing is known; U+10042 must not alias "B" (U+0042).
    EXPECT_FALSE(font.IsCharKnown(char32_t(0x10042)));

    font.DrawString(0, 0, 0, 255, U" B");  // the space has no glyph: description 0 is drawn
    ASSERT_EQ(host.Drawn.size(), 2u);
    EXPECT_EQ(host.Drawn[0].Left, 0);
    EXPECT_EQ(host.Drawn[1].X, 14 + 1);

    const std::u32string odd = {U'q', char32_t(0x10042), U'B', char32_t(0x1F600)};
    font.DrawString(0, 0, 0, 255, odd);
    ASSERT_EQ(host.Drawn.size(), 4u);
    const int lefts[] = {0, 0, 12, 0};
    const int xs[] = {1, 15, 29, 42};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(host.Drawn[size_t(i)].Left, lefts[i]) << i;
        EXPECT_EQ(host.Drawn[size_t(i)].X, xs[i]) << i;
    }
    EXPECT_EQ(font.TextWidth(odd), 14 * 3 + 13);
}

TEST_F(KelFontTest, LaysOutAtMostThreeThousandGlyphsButMeasuresTheWholeText) {
    TKelFont& font = AddFont(ExampleMetrics);
    const std::u32string text(3500, U'B');
    font.DrawString(0, 0, 0, 255, text);
    ASSERT_EQ(host.Drawn.size(), size_t(TKelFontEngine::MaxPlacements));
    EXPECT_EQ(engine.Placements.size(), size_t(TKelFontEngine::MaxPlacements));
    EXPECT_EQ(host.Drawn.back().X, 2999 * 13 + 1);
    EXPECT_EQ(font.TextWidth(text), 3500 * 13);
}

TEST_F(KelFontTest, MetricsParsing) {
    TKelFont& font = AddFont("");
    // Hexadecimal fields, extra fields ignored, missing ones 0, a later code wins, codes outside
    // the map kept in the list but mapping nothing (65601 must not alias "A", 65).
    font.SetMetrics("$41:1:2:3:4:5:99,66:7,65601:9:9:9:9:9,-1:8:8:8:8:8,66:20:21:0:5:0");
    ASSERT_EQ(font.Descs().size(), 5u);
    const TCharDesc& a = font.Descs()[0];
    EXPECT_EQ((std::vector<int>{a.Code, a.SrcX, a.SrcY, a.PreSpace, a.Width, a.PostSpace}),
              (std::vector<int>{65, 1, 2, 3, 4, 5}));
    EXPECT_EQ(font.Descs()[1].SrcY, 0);
    EXPECT_EQ(font.TextWidth(U"B"), 5);   // the last "66" wins
    EXPECT_EQ(font.TextWidth(U"A"), 12);  // unmapped as index 0: 3 + 4 + 5
    EXPECT_FALSE(font.IsCharKnown(U'A'));
    EXPECT_FALSE(font.IsCharKnown(char32_t(0xFFFF)));

    // A field that is not a number raises and leaves the font as it was.
    for (const char* bad : {"65:0:0:1:12:1,", "65:0:0:1:x:1", "", ":"}) {
        EXPECT_THROW(font.SetMetrics(bad), KelException) << bad;
        EXPECT_EQ(font.Descs().size(), 5u) << bad;
        EXPECT_EQ(font.TextWidth(U"B"), 5) << bad;
    }
    // New metrics replace the whole map.
    font.SetMetrics("66:0:0:0:1:0");
    EXPECT_FALSE(font.IsCharKnown(U'B'));
    EXPECT_EQ(font.TextWidth(U"A"), 1);
}

TEST_F(KelFontTest, EngineLoadsFontFilesAndListsPictures) {
    EXPECT_NE(TKelClassReg::Instance().FindClass("TKelFont"), nullptr);
    TKelFont* font = engine.LoadFontFromStream(TMemoryStream(std::string(
        "<?xml version=\"1.0\"?>\r\n<Font Name=\"Lithos\" Height=\"12\" Picture=\"Lithos.png\" "
        "Metrics=\"" +
        std::string(ExampleMetrics) + "\"/>\r\n")));
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(engine.FindFont("Lithos"), font);
    EXPECT_EQ(font->Height, 12);
    EXPECT_EQ(font->TextWidth(U"BB"), 26);
    EXPECT_EQ(engine.GetProperty("Lithos", "Picture"), TKelValue(std::string("Lithos.png")));

    engine.LoadFontFromStream(TMemoryStream(std::string("<TKelFont Name=\"NoPicture\"/>")));
    engine.LoadFontFromStream(TMemoryStream(std::string("<F Name=\"Small\" Picture=\"S.png\"/>")));
    EXPECT_EQ(engine.GetPictureList(), "Lithos.png\r\nS.png");

    // A bad attribute propagates and leaves no half-made font behind.
    EXPECT_ANY_THROW(
        engine.LoadFontFromStream(TMemoryStream(std::string("<F Name=\"X\" Colour=\"1\"/>"))));
    EXPECT_ANY_THROW(engine.LoadFontFromStream(
        TMemoryStream(std::string("<F Name=\"Y\" Metrics=\"65:0:0:1:12:1,\"/>"))));
    EXPECT_EQ(engine.ObjectCount(), 3);
    EXPECT_THROW(engine.LoadFontFromStream(TMemoryStream(std::string("no element"))), KelException);
}

TEST(KelFontToolTest, TextToolDrawsTheTextOntoAPictureJustLargeEnough) {
    TempFolder folder;
    BuildData(std::string(TERVOLIN_TEST_DATA) + "/fonts", folder.File("game.zxc"));
    const ToolResult tool = RunTool(
        {"text", folder.File("game.zxc"), "TestSans", "Hi ÄB", folder.File("hi.png"), "$0000FF"});
    ASSERT_EQ(tool.exitCode, 0) << tool.err;

    TFileFolder archive = TFileFolder::Open(folder.File("game.zxc"));
    TKelFontEngine engine;
    TKelFont* font = engine.LoadFontFromStream(*archive.FindFile("TestSans.xml"));
    const TPngPicture picture = TPngPicture::LoadFromFile(folder.File("hi.png"));
    EXPECT_EQ(picture.Width, font->TextWidth(U"Hi ÄB"));
    EXPECT_EQ(picture.Height, font->Height - 1);
    ASSERT_TRUE(picture.HasAlpha());
    int opaque = 0, clear = 0;
    for (size_t i = 0; i < picture.Alpha.size(); ++i) {
        opaque += picture.Alpha[i] >= 250;  // the blend never quite reaches 255
        clear += picture.Alpha[i] == 0;
        ASSERT_EQ(picture.Color[i * 3 + 2], 255);  // red everywhere
        ASSERT_EQ(picture.Color[i * 3], 0);
    }
    EXPECT_GT(opaque, 20);
    EXPECT_GT(clear, int(picture.Alpha.size()) / 2);

    const ToolResult missing =
        RunTool({"text", folder.File("game.zxc"), "Nope", "x", folder.File("x.png")});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_NE(missing.err.find("the archive has no entry Nope.xml"), std::string::npos)
        << missing.err;
}
