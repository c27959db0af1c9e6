// The extra title buttons of "AddLogo.xml" and the host's picture sizes, on the shipped
// description beside a link to the shipped archive.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/HeadlessGame.h"
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
    const std::vector<std::string>& links = engine.LogoLinks();
    ASSERT_EQ(links.size(), 4u);
    EXPECT_EQ(links[0], data_.File("site.html"));
    EXPECT_EQ(links[1], "");  // not a "Logo": no button, no link
    EXPECT_EQ(links[2], "https://example.org/shop");
    EXPECT_EQ(links[3], "");  // no such window: no button
    const auto* first = dynamic_cast<const TKelLabel*>(engine.Interface().FindObject("AddLogo0"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Left(), 10);
    EXPECT_EQ(first->Caption(), "Site");
    const auto* second = dynamic_cast<const TKelLabel*>(engine.Interface().FindObject("AddLogo2"));
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->Picture().empty());  // a name leaving the game folder is no picture
    EXPECT_EQ(engine.Interface().FindObject("AddLogo3"), nullptr);

    // A press opens the button's link, unless the index names no slot.
    engine.Interface().QueueScript("AddLogo2", "ExecMethod Method=\"AddLogoMouseUp\";");
    engine.Interface().RunScripts();
    ASSERT_EQ(game.System().OpenedLinks.size(), 1u);
    EXPECT_EQ(game.System().OpenedLinks[0], "https://example.org/shop");

    int width = -1, height = -1;
    engine.GetPictureSize(width, height, "NoSuchPicture.png");
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, 0);
}

TEST_F(AddLogoTest, ADocumentWithoutElementsAddsNothingAndTheGameGoesOn) {
    data_.Write("AddLogo.xml", "just text");
    THeadlessGame& game = Start();
    EXPECT_FALSE(game.Engine().Closed());
    EXPECT_TRUE(game.Engine().LogoLinks().empty());
}

}  // namespace
#endif
