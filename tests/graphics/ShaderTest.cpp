// Shader kernels and the filter, antialiased lines and the HLS colour shift.
#include <gtest/gtest.h>

#include "core/ColorHLS.h"
#include "support/FakeDisplay.h"
#include "graphics/SurfEngine.h"
#include "resources/FileFolder.h"
#include "resources/JpegPNG.h"

namespace {

TPngPicture ShaderPicture(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    TPngPicture p;
    p.Width = w;
    p.Height = h;
    p.Color.resize(size_t(w) * h * 3);
    for (size_t i = 0; i < p.Color.size(); i += 3)
        p.Color[i] = b, p.Color[i + 1] = g, p.Color[i + 2] = r;
    return p;
}

class ShaderTest : public ::testing::Test {
  protected:
    void SetUp() override { engine.Create(display); }
    FakeDisplay display;
    TSurfEngine engine;
};

}  // namespace

TEST_F(ShaderTest, KernelsComeFromThePixelColours) {
    struct Case {
        uint8_t r, g, b;
        std::vector<uint8_t> kernel;
    } cases[] = {
        {128, 128, 255, {0, 0, 0, 0, 255, 0, 0, 0, 0}},
        {128, 128, 0, {28, 28, 28, 28, 28, 28, 28, 28, 28}},
        {0, 128, 255, {0, 0, 0, 255, 0, 0, 0, 0, 0}},
        {255, 255, 255, {0, 0, 0, 0, 0, 0, 0, 0, 255}},
    };
    for (const Case& c : cases) {
        engine.AddShader("s", ShaderPicture(1, 1, c.r, c.g, c.b));
        const uint8_t* k = engine.Shaders.back().Kernel(0, 0);
        EXPECT_EQ(c.kernel, std::vector<uint8_t>(k, k + 9))
            << int(c.r) << "," << int(c.g) << "," << int(c.b);
    }
    EXPECT_EQ(0, engine.IndexOfShader("s"));
    EXPECT_EQ(-1, engine.IndexOfShader("S"));
}

TEST_F(ShaderTest, FilterDisplacesAndLeavesMarkedPixelsAlone) {
    engine.CreateEmptySurface("src", 10, 10);
    engine.CreateEmptySurface("dst", 10, 10);
    for (int x = 0; x < 10; ++x) {
        for (int y = 0; y < 10; ++y) SetPixel(engine, "src", x, y, 0x00010101u * (x * 20 + y));
    }
    TPngPicture picture = ShaderPicture(5, 5, 0, 128, 255);  // take the left neighbour
    std::memset(picture.ColorRow(2) + 3 * 2, 0, 3);
    picture.ColorRow(2)[3 * 2] = 255, picture.ColorRow(2)[3 * 2 + 1] = 128,
                            picture.ColorRow(2)[3 * 2 + 2] = 128;  // (128, 128, 255): alone
    engine.AddShader("Shader1.png", picture);
    FillSurface(engine, "dst", 0x00FFFFFF);
    engine.DrawShader("dst", "Shader1.png", "src", 3, 4, nullptr);
    // Shader pixels 1..2 of the 5 x 5 picture are filtered: destination (4..5, 5..6).
    const auto left = [](int x, int y) {
        return uint32_t(((255 * ((x - 1) * 20 + y)) >> 8)) * 0x010101u;
    };
    EXPECT_EQ(left(4, 5), PixelAt(engine, "dst", 4, 5));
    EXPECT_EQ(left(5, 5), PixelAt(engine, "dst", 5, 5));
    EXPECT_EQ(left(4, 6), PixelAt(engine, "dst", 4, 6));
    EXPECT_EQ(0x00FFFFFFu, PixelAt(engine, "dst", 5, 6));  // the marked pixel
    EXPECT_EQ(0x00FFFFFFu, PixelAt(engine, "dst", 3, 4));
    EXPECT_EQ(0x00FFFFFFu, PixelAt(engine, "dst", 6, 5));
    // A rectangle beyond the shader and positions at the surfaces' edges stay inside them.
    const TRect big{-3, -3, 50, 50};
    engine.DrawShader("dst", "Shader1.png", "src", 0, 0, &big);
    engine.DrawShader("dst", "Shader1.png", "src", 8, 8, nullptr);
    engine.DrawShader("dst", "Shader1.png", "src", -1, 0, nullptr);
}

TEST_F(ShaderTest, LinesDarkenOrBlendInsideTheScreen) {
    engine.CreateEmptySurface("dst", 800, 600);
    FillSurface(engine, "dst", 0x00C8C8C8);
    engine.DrawLine("dst", 0, 10.5, 20.0, 30.5, 20.0, 255);
    for (int x = 11; x <= 31; ++x) {
        EXPECT_EQ(0u, PixelAt(engine, "dst", x, 20)) << x;
        EXPECT_EQ(0x00C7C7C7u, PixelAt(engine, "dst", x, 21)) << x;
    }
    EXPECT_EQ(0x00C8C8C8u, PixelAt(engine, "dst", 10, 20));
    EXPECT_EQ(0x00C8C8C8u, PixelAt(engine, "dst", 32, 20));
    engine.DrawLine("dst", 0, 0.0, 50.0, 0.0, 60.0, 255);  // column 0 is never written
    EXPECT_EQ(0x00C8C8C8u, PixelAt(engine, "dst", 0, 55));
    engine.DrawLine("dst", 0x000000FF, 100.0, 100.0, 100.0, 110.0, 255);  // red, y-major
    EXPECT_EQ(0x00FE0000u, PixelAt(engine, "dst", 100, 105));
    engine.DrawLine("dst", 0, -1e300, 5, 1e300, 5, 255);  // far off: nothing, quickly
    EXPECT_EQ(0x00C8C8C8u, PixelAt(engine, "dst", 400, 5));

    TSurfEngine small;
    FakeDisplay display16(Format565());
    small.Create(display16);
    small.CreateEmptySurface("dst", 50, 50);
    FillSurface(small, "dst", 0xFFFF);
    small.DrawLine("dst", 0, 1.0, 10.0, 45.0, 10.0, 255);
    EXPECT_EQ(0u, PixelAt(small, "dst", 20, 10));
    small.DrawLine("dst", 0, 1.0, 10.0, 200.0, 10.0, 255);  // beyond a small surface
}

TEST_F(ShaderTest, HlsConversionsAndShifts) {
    EXPECT_EQ((THLS{0, 120, 240}), RGBToHLS(255, 0, 0));
    EXPECT_EQ((TRGB{255, 0, 0}), HLSToRGB(0, 120, 240));
    EXPECT_EQ((THLS{160, 121, 0}), RGBToHLS(128, 128, 128));
    EXPECT_EQ((THLS{80, 120, 240}), RGBToHLS(0, 255, 0));
    EXPECT_EQ((TRGB{0, 0, 255}), HLSToRGB(160, 120, 240));

    engine.CreateEmptySurface("pic", 2, 1);
    SetPixel(engine, "pic", 0, 0, 0x000000FF);  // byte 0 plays the red role
    SetPixel(engine, "pic", 1, 0, 0x00336699);
    engine.ChangeHLS("pic", 0, 0, 0);
    EXPECT_EQ(0x000000FFu, PixelAt(engine, "pic", 0, 0));
    engine.ChangeHLS("pic", 80, 0, 0);
    EXPECT_EQ(0x0000FF00u, PixelAt(engine, "pic", 0, 0));
    engine.ChangeHLS("pic", 1000000000, -1000000000, 1000000000);  // extreme shifts stay bytes

    TSurfEngine sixteen;
    FakeDisplay display16(Format565());
    sixteen.Create(display16);
    sixteen.CreateEmptySurface("pic", 1, 1);
    sixteen.ChangeHLS("pic", 0, 0, 0);
    EXPECT_EQ(0x0821u, PixelAt(sixteen, "pic", 0, 0));  // black becomes 1 in every channel
}

TEST_F(ShaderTest, ShaderPicturesAreLoadedFromTheArchiveByName) {
    TFileFolder archive = TFileFolder::CreateEmpty("unused.zxc");
    const std::vector<uint8_t> png = ShaderPicture(2, 2, 128, 128, 0).Encode();
    for (const char* name : {"Shader1.png", "shader2.png", "Shader3.PNG", "Other.png"}) {
        archive.AddFile(name, 0, TMemoryStream(png));
    }
    archive.AddFile("ShaderBroken.png", 0, TMemoryStream(std::vector<uint8_t>{1, 2}));
    std::vector<std::string> log;
    engine.Log = [&](const std::string& line) { log.push_back(line); };
    EXPECT_FALSE(engine.LoadShaderFromFolder(archive, "Missing.png"));
    EXPECT_THROW(engine.LoadAllShadersFromFolder(archive), std::runtime_error);
    // The broken picture's own error is logged before the fixed text replaces it.
    EXPECT_EQ((std::vector<std::string>{"Shader Shader1.png loaded.", "PNG: truncated PNG data"}),
              log);
    ASSERT_EQ(1u, engine.Shaders.size());
    EXPECT_EQ(2, engine.Shaders[0].Width);
}
