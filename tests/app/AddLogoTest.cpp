// The extra title buttons of "AddLogo.xml" and the host's picture sizes, on the shipped
// description beside a link to the shipped archive.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/GameWindows.h"
#include "app/HeadlessGame.h"
#include "graphics/KelFont.h"
#include "graphics/KelFontEngine.h"
#include "resources/JpegPNG.h"
#include "support/TempFolder.h"
#include "ui/KelLabel.h"

namespace fs = std::filesystem;

#ifdef TERVOLIN_GAME_FOLDER
namespace {

class AddLogoTest : public ::testing::Test {
  protected:
    AddLogoTest() {
        fs::create_symlink(fs::path(TERVOLIN_GAME_FOLDER) / "game.zxc", data_.Path() / "game.zxc");
    }
    THeadlessGame& Start() {
        game_ = std::make_unique<THeadlessGame>(
            THeadlessConfig{data_.Path().string(), user_.Path().string(), 1, 10});
        game_->System().Registry["Software\\Shop\\Url"] = "https://example.org/shop";
        game_->Start();
        game_->Step(10);
        return *game_;
    }
    TempFolder data_, user_;
    std::unique_ptr<THeadlessGame> game_;
};

TEST_F(AddLogoTest, ButtonsAreMadeForLogoElementsWithAPlaceAndAWindow) {
    data_.Write("AddLogo.xml",
                "<Logos>"
                "<Logo><URL>site.html</URL><Position x=\"10\" y=\"20\"/><Parent>WTitle</Parent>"
                "<Caption>Site</Caption></Logo>"
                "<Other><URL>skipped.html</URL></Other>"
                "<Logo><URL Source=\"registry\">HKCU\\Software\\Shop.Url</URL>"
                "<Position x=\"30\" y=\"40\"/><Parent>WTitle</Parent><Picture>../x.png</Picture>"
                "</Logo>"
                "<Logo><URL Source=\"registry\">no backslash</URL><Position x=\"1\" y=\"1\"/>"
                "<Parent>WNoSuchWindow</Parent></Logo>"
                "</Logos>");
    THeadlessGame& game = Start();
    TKelGameEngine& engine = game.Engine();
    const std::vector<std::string> links = game.Snapshot().LogoLinks;
    ASSERT_EQ(links.size(), 4u);
    EXPECT_EQ(links[0], data_.File("site.html"));
    EXPECT_EQ(links[1], "");  // not a "Logo": no button, no link
    EXPECT_EQ(links[2], "https://example.org/shop");
    EXPECT_EQ(links[3], "");  // no such window: no button
    const auto* first = dynamic_cast<const TKelLabel*>(engine.Services().Interface.FindObject("AddLogo0"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Left(), 10);
    EXPECT_EQ(first->Caption(), "Site");
    const auto* second = dynamic_cast<const TKelLabel*>(engine.Services().Interface.FindObject("AddLogo2"));
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->Picture().empty());  // a name leaving the game folder is no picture
    EXPECT_EQ(engine.Services().Interface.FindObject("AddLogo3"), nullptr);

    // A press opens the button's link, unless the index names no slot.
    engine.Services().Interface.QueueScript("AddLogo2", "ExecMethod Method=\"AddLogoMouseUp\";");
    engine.Services().Interface.RunScripts();
    ASSERT_EQ(game.System().OpenedLinks.size(), 1u);
    EXPECT_EQ(game.System().OpenedLinks[0], "https://example.org/shop");

    int width = -1, height = -1;
    engine.Services().Interface.Host->GetPictureSize(width, height, "NoSuchPicture.png");
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}

TEST_F(AddLogoTest, AButtonIsAsLargeAsItsPictureOrCaptionIsDrawnAndOpensItsLinkOnAClick) {
    TPngPicture picture;
    picture.Width = 40, picture.Height = 24;
    for (int i = 0; i < 40 * 24; ++i) picture.Color.insert(picture.Color.end(), {0x20, 0xC0, 0x40});
    const std::vector<uint8_t> png = picture.Encode();
    data_.Write("shop.png", std::string(png.begin(), png.end()));
    data_.Write(
        "AddLogo.xml",
        "<Logos>"
        "<Logo><URL>site.html</URL><Position x=\"20\" y=\"540\"/><Parent>WTitle</Parent>"
        "<Caption>Our site</Caption><Color Caption=\"255\" MouseOverCaption=\"255\"/></Logo>"
        "<Logo><URL Source=\"registry\">HKCU\\Software\\Shop.Url</URL>"
        "<Position x=\"700\" y=\"30\"/><Parent>WTitle</Parent><Picture>shop.png</Picture>"
        "<Caption>Shop</Caption></Logo>"
        "</Logos>");
    THeadlessGame& game = Start();
    // The first start asks for a name before the title answers.
    for (const char c : std::string("Ann")) game.TypeChar(uint8_t(c));
    game.KeyDown(vk::Return);
    game.Step(100);
    ASSERT_EQ(game.Snapshot().Top, "WTitle");
    if (const char* folder = std::getenv("TERVOLIN_SHOTS"))
        game.SaveFrame(std::string(folder) + "/add-logo-title.png");

    const TKelFont* font = game.Engine().Services().Interface.FontEngine->FindFont("KelUnicode");
    ASSERT_NE(font, nullptr);
    const auto& site =
        dynamic_cast<const TKelLabel&>(*game.Engine().Services().Interface.FindObject("AddLogo0"));
    const auto& shop =
        dynamic_cast<const TKelLabel&>(*game.Engine().Services().Interface.FindObject("AddLogo1"));
    EXPECT_EQ(site.Width(), font->TextWidth(U"Our site"));
    EXPECT_EQ(site.Height(), font->Height);
    EXPECT_EQ(shop.Width(), 40);  // with a picture, its size wins over the caption's
    EXPECT_EQ(shop.Height(), 24);

    // Drawn on the title: the caption in red, the picture's colour across it.
    const std::vector<uint8_t>& frame = game.Display().LastFrame;
    const auto pixel = [&](int x, int y) {
        const size_t at = (size_t(y) * 800 + size_t(x)) * 4;
        return uint32_t(frame[at]) | uint32_t(frame[at + 1]) << 8 | uint32_t(frame[at + 2]) << 16;
    };
    int red = 0;
    for (int y = 540; y < 540 + site.Height(); ++y)
        for (int x = 20; x < 20 + site.Width(); ++x) {
            const uint32_t p = pixel(x, y);
            red += p >> 16 >= 0xC0 && (p >> 8 & 0xFF) < 0x40 && (p & 0xFF) < 0x40;
        }
    EXPECT_GT(red, 20);
    EXPECT_EQ(pixel(701, 52), 0x40C020u);  // the corners, below the caption
    EXPECT_EQ(pixel(738, 52), 0x40C020u);

    // A click on each opens its link.
    for (const TKelLabel* button : {&site, &shop}) {
        const int x = button->AbsLeft() + button->Width() / 2;
        const int y = button->AbsTop() + button->Height() / 2;
        game.MouseMove(x, y);
        game.MouseDown(x, y, TMouseButton::mbLeft, ssLeft);
        game.MouseUp(x, y, TMouseButton::mbLeft);
        game.Step(20);
    }
    EXPECT_EQ(game.System().OpenedLinks,
              (std::vector<std::string>{data_.File("site.html"), "https://example.org/shop"}));
}

TEST_F(AddLogoTest, ADocumentWithoutElementsAddsNothingAndTheGameGoesOn) {
    data_.Write("AddLogo.xml", "just text");
    THeadlessGame& game = Start();
    EXPECT_FALSE(game.Snapshot().Closed);
    EXPECT_TRUE(game.Snapshot().LogoLinks.empty());
}

}  // namespace
#endif
