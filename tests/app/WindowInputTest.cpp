// The shipped game's windows played with the mouse and keys through the headless driver, where
// input, the windows' scripts and the game's handlers meet: the players' windows, the language
// chosen on the title or in the options, and what the options window plays when it is set up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "support/ShippedGame.h"

#ifdef TERVOLIN_GAME_FOLDER
namespace {

class WindowInputTest : public ShippedGameTest {
  protected:
    // The mouse moves over the title's empty sky, where nothing answers.
    void MoveAside() {
        game_->MouseMove(12, 12);
        Pass();
    }
    void NameFirstPlayer(const std::string& name) {
        ASSERT_EQ(Top(), "WYourName");
        Type(name);
        Press("WYourName_BOk");
        ASSERT_EQ(Top(), "WTitle");
    }
    // The language code kept in the registry, in lower case.
    std::string StoredLanguage() {
        std::string code = game_->System().Registry["Software\\Brontel\\Tervolin\\LangStr"];
        for (char& c : code) c = char(std::tolower(static_cast<unsigned char>(c)));
        return code;
    }
    // The samples started since the log was last emptied.
    int SamplesPlayed() {
        const auto& calls = game_->Audio().Calls();
        return int(std::count_if(calls.begin(), calls.end(), [](const std::string& call) {
            return call.rfind("SamplePlay", 0) == 0;
        }));
    }
};

TEST_F(WindowInputTest, APlayerMadeWithTheMouseStaysCurrent) {
    Start();
    NameFirstPlayer("Ann");
    Press("WTitle_BChangePlayer");
    ASSERT_EQ(Top(), "WChangePlayer");
    Press("WChangePlayer_BNew");
    ASSERT_EQ(Top(), "WNewPlayer");
    Press("WNewPlayer_ENewPlayer");
    Type("Bob");
    Press("WNewPlayer_BOk");
    ASSERT_EQ(Top(), "WTitle");
    // What the OK click set going must not run on the next input and pick Ann again.
    MoveAside();
    MoveAside();
    EXPECT_EQ(Play().CurrentPlayerName, "Bob");
    EXPECT_EQ(Caption("WTitle_LWelcome"), Caption("WResource_LWelcome") + " Bob");
    EXPECT_EQ(CurrentPlayerInFile(), "Bob");

    // Deleting the current player makes the first one left current, at once.
    Press("WTitle_BChangePlayer");
    Press("WChangePlayer_BDelete");
    ASSERT_EQ(Top(), "WDelete");
    Press("WDelete_BOk");
    ASSERT_EQ(Top(), "WChangePlayer");
    MoveAside();
    EXPECT_EQ(Play().CurrentPlayerName, "Ann");
    EXPECT_EQ(CurrentPlayerInFile(), "Ann");
    Press("WChangePlayer_BDone");
    EXPECT_EQ(Top(), "WTitle");
    EXPECT_EQ(Caption("WTitle_LWelcome"), Caption("WResource_LWelcome") + " Ann");
}

TEST_F(WindowInputTest, RenamingWithAnIndexOutOfRangeRenamesThePlayerInPlay) {
    // A hand-edited file whose current index points past the list: the game plays the first.
    user_.Write("players.dat",
                "<PlayersListXML CurrentPlayer=\"7\"><Player Name=\"Ann\"/><Player "
                "Name=\"Bob\"/></PlayersListXML>");
    Start();
    ASSERT_EQ(Top(), "WTitle");
    ASSERT_EQ(Play().CurrentPlayerName, "Ann");
    Press("WTitle_BChangePlayer");
    Press("WChangePlayer_BRename");
    ASSERT_EQ(Top(), "WRenamePlayer");
    Type("Cy");  // the edit offers the name in play to type over
    Press("WRenamePlayer_BOk");
    Press("WChangePlayer_BDone");
    EXPECT_EQ(Play().CurrentPlayerName, "Cy");
    const auto document = TPlayersFile(user_.File("players.dat")).Read();
    const TKelXMLTag* root = PlayersRoot(*document);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->TagCount(), 2);
    EXPECT_EQ(root->GetTag(0)->FindAttribute("Name")->Value, "Cy");
    EXPECT_EQ(root->GetTag(1)->FindAttribute("Name")->Value, "Bob");
}

TEST_F(WindowInputTest, OptionsCancelTakesBackOnlyTheLanguageChosenInThatVisit) {
    Start();
    NameFirstPlayer("Ann");
    const std::string english = Caption("WTitle_BOptions");
    // Chosen from the title, German stands.
    Press("WTitle_BLanguage");
    Press("WLanguage_RBDEU");
    Press("WLanguage_BOk");
    ASSERT_EQ(Top(), "WTitle");
    const std::string german = Caption("WTitle_BOptions");
    ASSERT_NE(german, english);
    Press("WTitle_BOptions");
    Press("WOptions_BCancel");
    EXPECT_EQ(Top(), "WTitle");
    EXPECT_EQ(Caption("WTitle_BOptions"), german);
    EXPECT_EQ(StoredLanguage(), "deu");

    // Chosen from the options window, Russian goes with its Cancel, back to German.
    const auto chooseRussianInTheOptions = [this] {
        Press("WTitle_BOptions");
        Press("WOptions_BLanguage");
        Press("WLanguage_RBRUS");
        Press("WLanguage_BOk");
        ASSERT_EQ(Top(), "WOptions");
    };
    chooseRussianInTheOptions();
    ASSERT_NE(Caption("WTitle_BOptions"), german);
    Press("WOptions_BCancel");
    EXPECT_EQ(Caption("WTitle_BOptions"), german);
    EXPECT_EQ(StoredLanguage(), "deu");

    // Confirmed with OK, it stands.
    chooseRussianInTheOptions();
    Press("WOptions_BOk");
    Press("WTitle_BOptions");
    Press("WOptions_BCancel");
    EXPECT_EQ(StoredLanguage(), "rus");
}

TEST_F(WindowInputTest, SettingUpTheOptionsWindowPlaysNoSample) {
    Start();
    NameFirstPlayer("Ann");
    game_->Step(500);
    game_->Audio().ClearCalls();
    MoveAside();
    game_->Step(300);
    EXPECT_EQ(SamplesPlayed(), 0) << "after the start";

    // Cancel sets the sliders back from the stored values: only its click is heard.
    Press("WTitle_BOptions");
    Press("WOptions_BCancel");
    game_->Step(300);
    game_->Audio().ClearCalls();
    MoveAside();
    game_->Step(300);
    EXPECT_EQ(SamplesPlayed(), 0) << "after Cancel";

    // Moving the sound slider is heard.
    Press("WTitle_BOptions");
    game_->Audio().ClearCalls();
    Press("WOptions_SSoundVolume");
    game_->Step(300);
    EXPECT_GE(SamplesPlayed(), 1) << "the slider moved";
}

}  // namespace
#endif
