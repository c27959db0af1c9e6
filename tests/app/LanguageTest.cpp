// The interface language and the display options through the game object on the shipped
// description, with language files of the test's own beside a link to the shipped archive.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "app/HeadlessGame.h"
#include "platform/Locale.h"
#include "support/TempFolder.h"
#include "ui/KelInterfaceObject.h"

namespace fs = std::filesystem;

#ifdef TERVOLIN_GAME_FOLDER
namespace {

constexpr const char* RegistryEntry = "Software\\Brontel\\Tervolin\\LangStr";

// A language file changing the welcome text.
std::string Welcome(const std::string& text) {
    return "<KelInterface>\n<o c=\"TKelLabel\">\n<p n=\"Name\">WResource_LWelcome</p>\n"
           "<p n=\"Caption\">" +
           text + "</p>\n</o>\n</KelInterface>\n";
}

class LanguageTest : public ::testing::Test {
  protected:
    // The desktop's language decides only where a test sets it.
    LanguageTest() {
        if (const char* locale = std::getenv("LC_ALL")) savedLocale_ = locale;
        setenv("LC_ALL", "C", 1);
        fs::create_symlink(fs::path(TERVOLIN_GAME_FOLDER) / "game.zxc", data_.Path() / "game.zxc");
        fs::create_directory(data_.Path() / "lng");
    }
    void Language(const std::string& file, const std::string& welcome) {
        data_.Write("lng/" + file, Welcome(welcome));
    }
    ~LanguageTest() override {
        if (savedLocale_)
            setenv("LC_ALL", savedLocale_->c_str(), 1);
        else
            unsetenv("LC_ALL");
    }
    THeadlessGame& Start(const std::string& storedLanguage = "",
                         std::optional<int> fullScreen = std::nullopt) {
        game_ = std::make_unique<THeadlessGame>(THeadlessConfig{
            data_.Path().string(), user_.Path().string(), 1, 10, false, fullScreen});
        if (!storedLanguage.empty()) game_->System().Registry[RegistryEntry] = storedLanguage;
        game_->Start();
        game_->Step(10);
        return *game_;
    }
    std::string Caption(const std::string& object) { return game_->Snapshot().Captions[object]; }
    const TKelInterfaceObject* Object(const std::string& name) {
        return dynamic_cast<const TKelInterfaceObject*>(
            game_->Engine().Services().Interface.FindObject(name));
    }

    std::optional<std::string> savedLocale_;
    TempFolder data_, user_;
    std::unique_ptr<THeadlessGame> game_;
};

TEST_F(LanguageTest, EveryLanguageGetsAButtonAndTheStoredOneApplies) {
    Language("enu_0.lng", "Welcome,");
    Language("fra_2.lng", "Bienvenue,");
    Language("deu_1.lng", "Willkommen,");
    Language("deu_scn.lng", "Hallo,");
    THeadlessGame& game = Start("deu");
    const TKelInterfaceObject* model = Object("WLanguage_RBENU");
    const TKelInterfaceObject* german = Object("WLanguage_RBDEU");
    const TKelInterfaceObject* french = Object("WLanguage_RBFRA");
    ASSERT_TRUE(model && german && french);
    EXPECT_EQ(german->Top(), model->Top() + 24);
    EXPECT_EQ(french->Top(), model->Top() + 48);
    EXPECT_EQ(german->Left(), model->Left());
    // Both German files apply in name order: the last one is in force.
    EXPECT_EQ(Caption("WResource_LWelcome"), "Hallo,");
    EXPECT_EQ(ValueToText(game.Engine().Services().Interface.GetProperty("WLanguage_RBDEU", "Checked")),
              "True");
    EXPECT_EQ(game.System().Registry[RegistryEntry], "deu");
}

TEST_F(LanguageTest, AChosenLanguageAppliesAtOnceAndCancelTakesItBack) {
    Language("deu_1.lng", "Willkommen,");
    THeadlessGame& game = Start();
    TKelGameEngine& engine = game.Engine();
    EXPECT_EQ(game.System().Registry[RegistryEntry], "ENU");  // no stored language: English
    engine.Services().Interface.ShowModal("WOptions");
    engine.Services().Interface.ShowModal("WLanguage");
    engine.Services().Interface.SetProperty("WLanguage_RBDEU", "Checked", "true");
    engine.ExecMethod("WLanguage_BOk_MouseUp");
    EXPECT_EQ(game.Snapshot().Top, "WOptions");
    EXPECT_EQ(Caption("WResource_LWelcome"), "Willkommen,");
    EXPECT_EQ(game.System().Registry[RegistryEntry], "DEU");
    engine.ExecMethod("WOptions_BCancel_MouseUp");
    EXPECT_NE(Caption("WResource_LWelcome"), "Willkommen,");
    EXPECT_EQ(game.System().Registry[RegistryEntry], "ENU");

    // A language whose file is gone falls back to English, which is stored.
    fs::remove(data_.Path() / "lng" / "deu_1.lng");
    engine.Services().Interface.SetProperty("WLanguage_RBDEU", "Checked", "true");
    engine.ExecMethod("WLanguage_BOk_MouseUp");
    EXPECT_EQ(game.System().Registry[RegistryEntry], "ENU");
}

TEST_F(LanguageTest, TheVeryFirstStartTakesTheDesktopsLanguage) {
    Language("rus_2.lng", "Привет,");
    setenv("LC_ALL", "ru_RU.UTF-8", 1);
    Start();
    EXPECT_EQ(Caption("WResource_LWelcome"), "Привет,");
    EXPECT_EQ(game_->System().Registry[RegistryEntry], "rus");
}

TEST_F(LanguageTest, WindowModeSwitchesRebuildThePicturesAndPauseThePlay) {
    THeadlessGame& game = Start();
    TKelGameEngine& engine = game.Engine();
    engine.Services().Play.Game.State = gsGame;
    game.KeyDown(vk::Return, ssAlt);
    game.Step(10);
    EXPECT_TRUE(game.Display().IsFullScreen());
    EXPECT_TRUE(game.Snapshot().ClockPaused);
    EXPECT_EQ(engine.Services().Options.FullScreenMode, 1);
    game.KeyDown(vk::Return, ssAlt);
    game.Step(10);
    EXPECT_FALSE(game.Display().IsFullScreen());
    // The pictures are back: the title's picture has its size and the frame shows it.
    EXPECT_GT(engine.Services().Surfaces.get()->GetSurfaceSize("title.jpg").X, 0);
    EXPECT_FALSE(game.Snapshot().Closed);
}

TEST_F(LanguageTest, TheCommandLinesWindowModeHoldsForThisRunOnly) {
    THeadlessGame& game = Start("", 1);
    EXPECT_TRUE(game.Display().IsFullScreen());
    game.Close();
    game.Step(2000);
    ASSERT_TRUE(game.Snapshot().Closed);
    ASSERT_TRUE(fs::exists(user_.Path() / "options.cfg"));
    TGameOptions stored;
    stored.LoadOptions(user_.File("options.cfg"));
    EXPECT_EQ(stored.FullScreenMode, 0);
}

}  // namespace
#endif

TEST(LocaleTest, LocalesNameTheGamesLanguageCodes) {
    const std::pair<const char*, const char*> cases[] = {
        {"de_DE.UTF-8", "deu"},
        {"ru_RU", "rus"},
        {"en_GB.UTF-8@euro", "enu"},
        {"C", ""},
        {"POSIX", ""},
        {"", ""},
        {"xx_YY", ""},
    };
    for (const auto& [locale, code] : cases)
        EXPECT_EQ(LanguageCodeOfLocale(locale), code) << locale;
}
