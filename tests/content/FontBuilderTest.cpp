// The font builder: recipes, the rendered sheet and metrics, and the data builder's fonts step.
#include "content/FontBuilder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <map>
#include <sstream>

#include "content/DataBuilder.h"
#include "support/TempFolder.h"

namespace {

const std::string TestFonts = std::string(TERVOLIN_TEST_DATA) + "/fonts";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TFontRecipe SansRecipe() {
    return ParseFontRecipe(ReadFile(TestFonts + "/fonts/TestSans.font"));
}

struct Desc {
    int Code, SrcX, SrcY, Pre, Width, Post;
    int Advance() const { return Pre + Width + Post; }
};

std::string Attribute(const std::string& xml, const std::string& name) {
    const size_t start = xml.find(" " + name + "=\"") + name.size() + 3;
    return xml.substr(start, xml.find('"', start) - start);
}

std::vector<Desc> Metrics(const std::string& xml) {
    std::vector<Desc> descs;
    std::istringstream in(Attribute(xml, "Metrics"));
    std::string piece;
    while (std::getline(in, piece, ',')) {
        Desc d{};
        EXPECT_EQ(std::sscanf(piece.c_str(), "%d:%d:%d:%d:%d:%d", &d.Code, &d.SrcX, &d.SrcY, &d.Pre,
                              &d.Width, &d.Post),
                  6)
            << piece;
        descs.push_back(d);
    }
    return descs;
}

std::map<int, Desc> ByCode(const std::vector<Desc>& descs) {
    std::map<int, Desc> map;
    for (const Desc& d : descs) map[d.Code] = d;
    return map;
}

struct Rgba {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Pixels;
    const uint8_t* At(int x, int y) const { return &Pixels[(size_t(y) * Width + x) * 4]; }
};

Rgba DecodePng(const std::vector<uint8_t>& bytes) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Rgba result;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return result;
    image.format = PNG_FORMAT_RGBA;
    result.Pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, result.Pixels.data(), 0, nullptr)) return {};
    result.Width = int(image.width);
    result.Height = int(image.height);
    return result;
}

}  // namespace

TEST(FontBuilderTest, ParsesRecipes) {
    const TFontRecipe recipe = ParseFontRecipe(
        "# comment\n"
        "Name: Caption\r\n"
        "Source: /fonts/a.t1   # trailing comment\n"
        "Kerning: /fonts/a.afm\n"
        "Size: 22\nEmbolden: 0.5\nSmallCaps: 0.8\nTabularDigits: yes\nTracking: -1\n"
        "KerningFold: 0.5\nGamma: 1.2\nColour: FFEE00\nSheetWidth: 256\n"
        "Glyphs: 0020-007E 00C4\nGlyphs: 0410-044F\n");
    EXPECT_EQ(recipe.Name, "Caption");
    EXPECT_EQ(recipe.Source, "/fonts/a.t1");
    EXPECT_EQ(recipe.KerningFile, "/fonts/a.afm");
    EXPECT_EQ(recipe.Size, 22);
    EXPECT_DOUBLE_EQ(recipe.Embolden, 0.5);
    EXPECT_DOUBLE_EQ(recipe.SmallCaps, 0.8);
    EXPECT_TRUE(recipe.TabularDigits);
    EXPECT_EQ(recipe.Tracking, -1);
    EXPECT_DOUBLE_EQ(recipe.Gamma, 1.2);
    EXPECT_EQ(recipe.Colour, 0xFFEE00u);
    EXPECT_EQ(recipe.SheetWidth, 256);
    const std::vector<std::pair<char32_t, char32_t>> glyphs = {
        {0x20, 0x7E}, {0xC4, 0xC4}, {0x410, 0x44F}};
    EXPECT_EQ(recipe.Glyphs, glyphs);
}

TEST(FontBuilderTest, RefusesBadRecipesNamingTheLine) {
    const std::string base = "Name: A\nSource: a.ttf\nSize: 12\n";
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {base + "Glyphs: 0020-007E\nColor: FFFFFF\n", "line 5: unknown key \"Color\""},
        {base + "Glyphs: 0020-", "line 4: bad hexadecimal value \"\""},
        {base + "Glyphs: 007E-0020", "line 4: bad glyph range"},
        {base + "Glyphs: 0000-0020", "line 4: bad glyph range"},
        {base + "Glyphs: 0020-10000", "line 4: bad hexadecimal value \"10000\""},
        {base + "Glyphs: 20\nSize: 12px", "line 5: bad number \"12px\""},
        {base + "Glyphs: 20\nSize: 1000", "line 5: bad number"},
        {base + "Glyphs: 20\nTabularDigits: true", "line 5: expected yes or no"},
        {base + "Glyphs: 20\nJust text", "line 5: expected \"Key: value\""},
        {base, "recipe needs Name, Source, Size and Glyphs"},
    };
    for (const auto& c : cases) {
        try {
            ParseFontRecipe(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.error), std::string::npos)
                << error.what() << " / expected " << c.error;
        }
    }
}

TEST(FontBuilderTest, RendersSheetAndMetricsDeterministically) {
    const TFontRecipe recipe = SansRecipe();
    const TBuiltFont font = BuildFont(recipe);
    EXPECT_EQ(BuildFont(recipe).Picture, font.Picture);
    EXPECT_EQ(BuildFont(recipe).Description, font.Description);

    EXPECT_EQ(font.Description.rfind("<TKelFont Name=\"TestSans\" Height=\"", 0), 0u);
    EXPECT_EQ(Attribute(font.Description, "Picture"), "TestSans.png");
    EXPECT_EQ(Attribute(font.Description, "Height"), std::to_string(font.Height));

    const std::vector<Desc> descs = Metrics(font.Description);
    ASSERT_EQ(int(descs.size()), font.GlyphCount);
    EXPECT_EQ(descs[0].Code, int(PlaceholderCode));
    const std::map<int, Desc> byCode = ByCode(descs);
    // 95 ASCII codes, A-umlaut and the placeholder; U+0378 is unassigned and left out.
    EXPECT_EQ(descs.size(), 97u);
    EXPECT_EQ(byCode.count(0x378), 0u);
    EXPECT_EQ(byCode.count(0xC4), 1u);

    const Rgba sheet = DecodePng(font.Picture);
    ASSERT_EQ(sheet.Width, recipe.SheetWidth);
    ASSERT_EQ(sheet.Height % font.Height, 0);
    for (const Desc& d : descs) {
        ASSERT_GE(d.SrcX, 0);
        ASSERT_GE(d.Width, 1);
        ASSERT_LE(d.SrcX + d.Width, sheet.Width) << d.Code;
        ASSERT_LE(d.SrcY + font.Height, sheet.Height) << d.Code;
        // The bottom row of every cell is blank: the text drawing leaves it out.
        for (int x = d.SrcX; x < d.SrcX + d.Width; ++x)
            EXPECT_EQ(sheet.At(x, d.SrcY + font.Height - 1)[3], 0) << d.Code;
    }
    // White everywhere; the placeholder's box has an opaque outline, the space no ink.
    for (int i = 0; i < sheet.Width * sheet.Height; ++i)
        ASSERT_EQ(sheet.Pixels[size_t(i) * 4] & sheet.Pixels[size_t(i) * 4 + 1] &
                      sheet.Pixels[size_t(i) * 4 + 2],
                  255);
    const Desc& box = descs[0];
    int boxInk = 0;
    for (int y = 0; y < font.Height; ++y) boxInk += sheet.At(box.SrcX, box.SrcY + y)[3] == 255;
    EXPECT_GT(boxInk, font.Height / 3);
    const Desc& space = byCode.at(' ');
    EXPECT_EQ(space.Width, 1);
    for (int y = 0; y < font.Height; ++y) EXPECT_EQ(sheet.At(space.SrcX, space.SrcY + y)[3], 0);
    EXPECT_GT(space.Advance(), 2);

    // Wider letters advance further; the glyph of "l" is narrow but not empty.
    EXPECT_GT(byCode.at('W').Advance(), byCode.at('i').Advance());
    EXPECT_GT(byCode.at('l').Width, 0);
}

TEST(FontBuilderTest, SmallCapsTabularDigitsAndTracking) {
    TFontRecipe recipe = SansRecipe();
    const std::map<int, Desc> plain = ByCode(Metrics(BuildFont(recipe).Description));
    recipe.SmallCaps = 0.75;
    recipe.TabularDigits = true;
    recipe.Tracking = 3;
    const std::map<int, Desc> styled = ByCode(Metrics(BuildFont(recipe).Description));

    // A small capital is the capital's shape, smaller than the capital, unlike the lower case.
    EXPECT_LT(styled.at('l').Width, styled.at('L').Width);
    EXPECT_GT(styled.at('l').Width, plain.at('l').Width);
    for (char digit = '0'; digit <= '9'; ++digit)
        EXPECT_EQ(styled.at(digit).Advance(), styled.at('0').Advance()) << digit;
    EXPECT_EQ(styled.at('W').Advance(), plain.at('W').Advance() + 3);
}

TEST(FontBuilderTest, FoldsKerningIntoSideSpaces) {
    TFontRecipe recipe = ParseFontRecipe(ReadFile(TestFonts + "/fonts/TestSerif.font"));
    const std::map<int, Desc> plain = ByCode(Metrics(BuildFont(recipe).Description));
    recipe.KerningFold = 1;
    const std::map<int, Desc> kerned = ByCode(Metrics(BuildFont(recipe).Description));
    // "T" kerns tightly against most lower-case letters; "H" has no kerning pairs.
    EXPECT_LT(kerned.at('T').Post, plain.at('T').Post);
    EXPECT_EQ(kerned.at('H').Advance(), plain.at('H').Advance());
}

TEST(FontBuilderTest, DataBuilderAddsEveryRecipesDescriptionAndPicture) {
    TempFolder folder;
    BuildData(TestFonts, folder.File("game.zxc"));
    TFileFolder archive = TFileFolder::Open(folder.File("game.zxc"));
    ASSERT_EQ(archive.LastError(), "");
    const char* names[] = {"TestSans.xml", "TestSans.png", "TestSerif.xml", "TestSerif.png"};
    ASSERT_EQ(archive.Count(), int(std::size(names)));
    for (int i = 0; i < archive.Count(); ++i) EXPECT_EQ(archive.Entry(i).Name, names[i]);
    EXPECT_EQ(archive.FindFile("TestSans.xml")->ToString(), BuildFont(SansRecipe()).Description);

    folder.Write("bad/fonts/Broken.font",
                 "Name: Broken\nSource: /nowhere.ttf\nSize: 9\nGlyphs: 41\n");
    try {
        BuildData(folder.File("bad"), folder.File("bad.zxc"));
        ADD_FAILURE() << "built a font from a missing file";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(),
                     "build-data step fonts: Broken.font: cannot open font file /nowhere.ttf");
    }
}
