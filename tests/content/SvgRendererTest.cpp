// SVG rendering, strip recipes and the data builder's pictures step.
#include "content/SvgRenderer.h"

#include <gtest/gtest.h>

#include "content/DataBuilder.h"
#include "support/TempFolder.h"

namespace {

std::span<const uint8_t> Bytes(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

// 8 x 4: layer "left" an opaque red 2-pixel column at x 0..1, layer "glass" a half-transparent
// green column at x 4..5.
const std::string Columns = R"(<svg xmlns="http://www.w3.org/2000/svg" width="8" height="4">
  <rect id="left" x="0" y="0" width="2" height="4" fill="#ff0000"/>
  <rect id="glass" x="4" y="0" width="2" height="4" fill="#40c020" fill-opacity="0.5"/>
</svg>)";

struct Pixel {
    int b, g, r, a;
    bool operator==(const Pixel&) const = default;
};

Pixel At(const TPngPicture& picture, int x, int y) {
    const uint8_t* c = picture.ColorRow(y) + 3 * x;
    return {c[0], c[1], c[2], picture.AlphaRow(y)[x]};
}

}  // namespace

TEST(SvgRendererTest, RendersChosenLayersWithPlainColourUnderPartialAlpha) {
    const TSvgPicture svg(Bytes(Columns));
    EXPECT_EQ(svg.Width(), 8);
    EXPECT_EQ(svg.Height(), 4);

    TPngPicture whole = BlankPicture(8, 4);
    svg.Render(whole, 0, 0, 8, 4, {}, {});
    EXPECT_EQ(At(whole, 1, 2), (Pixel{0, 0, 255, 255}));
    // Half-covered pixels keep their own colour (to the rounding of cairo's premultiplied
    // bytes), not the colour darkened by the coverage.
    const Pixel glass = At(whole, 4, 1);
    EXPECT_NEAR(glass.b, 0x20, 1);
    EXPECT_NEAR(glass.g, 0xC0, 1);
    EXPECT_NEAR(glass.r, 0x40, 1);
    EXPECT_NEAR(glass.a, 128, 1);
    EXPECT_EQ(At(whole, 7, 3), (Pixel{0, 0, 0, 0}));

    TPngPicture glassOnly = BlankPicture(8, 4);
    svg.Render(glassOnly, 0, 0, 8, 4, {"#glass"}, {});
    EXPECT_EQ(At(glassOnly, 1, 2).a, 0);
    EXPECT_EQ(At(glassOnly, 5, 2).a, glass.a);

    EXPECT_THROW(svg.Render(glassOnly, 0, 0, 8, 4, {"#missing"}, {}), TPictureError);
    EXPECT_THROW(svg.Render(glassOnly, 1, 0, 8, 4, {}, {}), TPictureError);  // past the edge
    EXPECT_THROW(TSvgPicture(Bytes("<svg")), TPictureError);
    EXPECT_THROW(TSvgPicture(Bytes("not a picture")), TPictureError);
}

TEST(SvgRendererTest, StripFramesFollowTheRecipesMotionFromTheBaseOnFrameZero) {
    const TStripRecipe recipe = ParseStripRecipe(
        "# moving column\n"
        "source columns.svg\n"
        "frames 4\n"
        "size 8 4\n"
        "dx 0 4   # a quarter cycle per frame\n"
        "opacity 1\n"
        "strip Move_anime.png left\n"
        "still Move.png left glass\n");
    ASSERT_EQ(recipe.Outputs.size(), 2u);
    EXPECT_EQ(recipe.Outputs[1].Layers, (std::vector<std::string>{"#left", "#glass"}));

    const TSvgPicture svg(Bytes(Columns));
    const TPngPicture strip = RenderStripOutput(svg, recipe, recipe.Outputs[0]);
    ASSERT_EQ(strip.Width, 32);
    ASSERT_EQ(strip.Height, 4);
    // dx = 4 sin(2 pi k / 4): 0, 4, 0, -4 (the column leaves the frame).
    const int columnAt[] = {0, 4, 0, -1};
    for (int frame = 0; frame < 4; ++frame) {
        for (int x = 0; x < 8; ++x) {
            const bool inside =
                columnAt[frame] >= 0 && x >= columnAt[frame] && x < columnAt[frame] + 2;
            EXPECT_EQ(At(strip, 8 * frame + x, 1).a, inside ? 255 : 0) << frame << " " << x;
        }
    }
    const TPngPicture still = RenderStripOutput(svg, recipe, recipe.Outputs[1]);
    EXPECT_EQ(still.Width, 8);
    EXPECT_NEAR(At(still, 5, 0).a, 128, 1);

    const TSvgTransform spun = ParseStripRecipe(
                                   "source a.svg\nsize 1 1\nframes 3\nspin 30\n"
                                   "rotate 10 0\nscale 2\n")
                                   .FrameTransform(1);
    EXPECT_DOUBLE_EQ(spun.Rotate, 20);
    EXPECT_DOUBLE_EQ(spun.Scale, 2);
}

TEST(SvgRendererTest, RecipeErrorsNameTheLine) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"size 8 4\n", "names no source"},
        {"source a.svg\n", "no frame size"},
        {"source a.svg\nframes 0\n", "line 2: frames must be 1..256"},
        {"source a.svg\nsize 8\n", "line 2: size must be"},
        {"source a.svg\nsize 2000 4\n", "line 2: size must be"},
        {"source a.svg\nwobble 3\n", "line 2: unknown directive wobble"},
        {"source a.svg\nstrip A.png\n", "line 2: strip needs at least one layer"},
        {"source a.svg\nrotate x\n", "line 2: rotate needs a base value"},
        {"source a.svg\nscale 1 0.1 2 9\n", "line 2: unexpected 9"},
    };
    for (const auto& c : cases) {
        try {
            ParseStripRecipe(c.text);
            ADD_FAILURE() << c.text;
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.error), std::string::npos)
                << c.text << " -> " << error.what();
        }
    }
}

TEST(SvgRendererTest, PicturesStepRendersEntriesDeterministically) {
    TempFolder folder;
    std::filesystem::create_directories(folder.Path() / "data/pictures/sub");
    folder.Write("data/pictures/sub/Columns.png.svg", Columns);
    folder.Write("data/pictures/Back.jpg.svg", Columns);
    folder.Write("data/pictures/sub/columns.svg", Columns);
    folder.Write("data/pictures/sub/Move.strips",
                 "source columns.svg\nframes 3\nsize 8 4\nstrip Move_anime.png left\n");
    BuildData(folder.File("data"), folder.File("a.zxc"));
    BuildData(folder.File("data"), folder.File("b.zxc"));
    EXPECT_EQ(folder.Read("a.zxc"), folder.Read("b.zxc"));

    TFileFolder archive = TFileFolder::Open(folder.File("a.zxc"));
    ASSERT_EQ(archive.Count(), 3);
    EXPECT_EQ(archive.Entry(0).Name, "Back.jpg");  // in the order of the source paths
    EXPECT_EQ(archive.Entry(1).Name, "Columns.png");
    EXPECT_EQ(archive.Entry(2).Name, "Move_anime.png");
    const TMemoryStream* jpeg = archive.FindFile("Back.jpg");
    const TBitmap24 back = DecodeJpeg({jpeg->Memory(), jpeg->Size()});
    EXPECT_EQ(back.Width, 8);
    const TMemoryStream* strip = archive.FindFile("Move_anime.png");
    const TPngPicture move = TPngPicture::Decode({strip->Memory(), strip->Size()});
    EXPECT_EQ(move.Width, 24);
    EXPECT_EQ(move.AlphaRow(0)[0], 255);

    const struct {
        const char* file;
        const char* content;
        const char* error;
    } bad[] = {
        {"notes.txt", "", "notes.txt: not a picture source"},
        {"Broken.png.svg", "<svg", "Broken.png.svg: SVG not read"},
        {"Long.strips",
         "source sub/columns.svg\nsize 8 4\nstill ABCDEFGHIJKLMNOPQRSTUVWXYZ_12345.png left\n",
         "longer than 32"},
        {"Twice.strips", "source sub/columns.svg\nsize 8 4\nstill back.JPG left\n",
         "Twice.strips: entry back.JPG is already in the archive"},
    };
    for (const auto& c : bad) {
        folder.Write("data/pictures/" + std::string(c.file), c.content);
        try {
            BuildData(folder.File("data"), folder.File("c.zxc"));
            ADD_FAILURE() << c.file;
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.error), std::string::npos) << error.what();
        }
        std::filesystem::remove(folder.Path() / "data/pictures" / c.file);
    }
}
