// The flow between the shipped game's windows through the game object on the headless driver:
// the first start, a new game, the game menu and its pause of the play clock, the level map and
// the next level, a lost level's retry, leaving to the title; and the input routing around them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "app/CUnit.h"
#include "app/HeadlessGame.h"
#include "app/screens/ScreenFlow.h"
#include "app/PlayerName.h"
#include "support/FakeDisplay.h"
#include "support/TempFolder.h"
#include "ui/KelEdit.h"
#include "ui/KelGrid.h"
#include "ui/KelInterfaceObject.h"

#ifdef TERVOLIN_GAME_FOLDER
namespace {

class ScreenFlowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game_.Start();
        ASSERT_FALSE(game_.Snapshot().Closed);
        Pass();
    }
    void Pass() { game_.Step(10); }
    // A left press and release at the centre of a visible object of a shown window.
    void Press(const std::string& name) {
        ASSERT_EQ(game_.Press(name), "");
        Pass();
    }
    void Type(const std::string& text) {
        std::u32string characters;
        for (const char c : text) characters += char32_t(uint8_t(c));
        game_.Type(characters);
        Pass();
    }
    void Key(int key, TShiftState shift = 0) {
        game_.Key(key, shift);
        Pass();
    }
    std::string Top() { return game_.Snapshot().Top; }
    std::string Caption(const std::string& name) { return game_.Snapshot().Captions[name]; }
    // Writes the frame for a person to look at when TERVOLIN_SHOTS names a folder.
    void Shot(const std::string& name) {
        if (const char* folder = std::getenv("TERVOLIN_SHOTS"))
            game_.SaveFrame(std::string(folder) + "/" + name + ".png");
    }
    void NamePlayer(const std::string& name) {
        ASSERT_EQ(Top(), "WYourName");
        Type(name);
        Press("WYourName_BOk");
        ASSERT_EQ(Top(), "WTitle");
    }
    void StartActionGame() {
        Press("WTitle_BStartGame");
        ASSERT_EQ(Top(), "WSelectGameMode");
        Press("WSelectGameMode_BAction");
    }
    // From the title to `level`, as a player comes back to a saved game: the map, then Play.
    void PlaySavedLevel(int level) {
        play_.CurrentLevel = level - 1;
        Press("WTitle_BStartGame");
        ASSERT_EQ(Top(), "WContinue");
        Press("WContinue_BPlaySaved");
        ASSERT_EQ(Top(), "WBetweenLevels");
        Press("WBetweenLevels_BPlay");
        ASSERT_EQ(play_.CurrentLevel, level);
    }
    const TKelInterfaceObject& Object(const std::string& name) {
        const auto* object =
            dynamic_cast<const TKelInterfaceObject*>(engine_.Services().Interface.FindObject(name));
        EXPECT_NE(object, nullptr) << name;
        return *object;
    }
    static int BlackPixels(const std::vector<uint8_t>& frame) {
        int black = 0;
        for (size_t at = 0; at + 3 < frame.size(); at += 4)
            black += frame[at] == 0 && frame[at + 1] == 0 && frame[at + 2] == 0;
        return black;
    }
    // The presented frame's colour at (x, y).
    uint32_t FramePixel(int x, int y) {
        const std::vector<uint8_t>& frame = game_.Display().LastFrame;
        uint32_t pixel = 0;
        std::memcpy(&pixel, &frame[(size_t(y) * 800 + size_t(x)) * 4], 4);
        return pixel & 0xFFFFFF;
    }

    TempFolder user_;
    THeadlessGame game_{{TERVOLIN_GAME_FOLDER, user_.Path().string(), 1, 10}};
    TKelGameEngine& engine_ = game_.Engine();
    TGame& play_ = game_.SetUpPlay().Game;
};

TEST_F(ScreenFlowTest, TheFirstStartAsksForANameAndGreetsThePlayer) {
    EXPECT_EQ(play_.State, gsMenu);
    Shot("first-start");
    // An empty name is refused, with the mouse and with Enter.
    Press("WYourName_BOk");
    Key(vk::Return);
    EXPECT_EQ(Top(), "WYourName");
    NamePlayer("Ann>\"<2");
    EXPECT_EQ(play_.CurrentPlayerName, "Ann2");
    EXPECT_EQ(Caption("WTitle_LWelcome"), Caption("WResource_LWelcome") + " Ann2");
    Shot("title");
}

TEST_F(ScreenFlowTest, ANewGameShowsTheInstructionsThenLevelOne) {
    NamePlayer("Ann");
    StartActionGame();
    EXPECT_EQ(play_.State, gsInstructions);
    EXPECT_EQ(Top(), "WInstructions");
    EXPECT_EQ(play_.CurrentLevel, 1);
    Shot("instructions");
    Press("WInstructions_TFPlay_BPlay");
    EXPECT_EQ(play_.State, gsGame);
    EXPECT_EQ(Top(), "WGame");
    game_.Step(3000);
    Shot("level1");
    EXPECT_EQ(Caption("WGame_LLevelCount"), "1");
    // The hint button waits outside the screen.
    EXPECT_EQ(std::get<int32_t>(engine_.Services().Interface.GetProperty("WGame_BHint", "Left")), -719);
}

TEST_F(ScreenFlowTest, TheGameMenuPausesThePlayClock) {
    NamePlayer("Ann");
    play_.ShowInstructions = false;
    play_.ShowHints = false;  // level 1's first tutorial popup would stay in front
    StartActionGame();
    ASSERT_EQ(play_.State, gsGame);
    game_.Step(500);
    const uint32_t start = play_.LevelStartTime;
    Key(vk::Escape);
    EXPECT_EQ(Top(), "WGameMenu");
    EXPECT_EQ(play_.State, gsPause);
    EXPECT_TRUE(game_.Snapshot().ClockPaused);
    Shot("game-menu");
    game_.Step(2000);
    Key(vk::Escape);
    EXPECT_EQ(Top(), "WGame");
    EXPECT_EQ(play_.State, gsGame);
    Pass();
    EXPECT_FALSE(game_.Snapshot().ClockPaused);
    // The level started the length of the pause later, give or take the passes around it.
    EXPECT_NEAR(double(play_.LevelStartTime - start), 2030.0, 30.0);
    // The mouse wheel does nothing during play; Escape on an empty stack does nothing.
    const TCell cursor = play_.KeyCursor;
    game_.Wheel(400, 300, -120);
    Pass();
    EXPECT_EQ(play_.State, gsGame);
    EXPECT_EQ(Top(), "WGame");
    EXPECT_EQ(play_.KeyCursor, cursor);
    engine_.Services().Interface.HideModalList();
    Key(vk::Escape);
    EXPECT_EQ(play_.State, gsGame);
}

TEST_F(ScreenFlowTest, AWonLevelLeadsToTheMapAndTheMapToTheNextLevel) {
    NamePlayer("Ann");
    play_.ShowInstructions = false;
    StartActionGame();
    engine_.Services().Flow->ChangeGameState("LevelComplete");
    EXPECT_EQ(play_.State, gsBetweenLevels);
    EXPECT_EQ(Top(), "WBetweenLevels");
    EXPECT_EQ(play_.SelectedLevel, 1);
    Pass();
    Shot("map");
    Press("WBetweenLevels_BPlay");
    EXPECT_EQ(play_.State, gsGame);
    EXPECT_EQ(play_.CurrentLevel, 2);
    EXPECT_EQ(play_.SelectedLevel, 2);
    EXPECT_EQ(Top(), "WGame");

    // Back on the map, a click beside every reached position picks the newest level; one on the
    // first position replays level 1 without lowering the newest level.
    engine_.Services().Flow->ChangeGameState("LevelComplete");
    const TPathPoint first = engine_.Services().PathPoints.at(0);
    game_.MouseDown(first.X + 40, first.Y, TMouseButton::mbLeft);
    game_.MouseUp(first.X + 40, first.Y, TMouseButton::mbLeft);
    Pass();
    EXPECT_EQ(play_.SelectedLevel, 2);
    game_.MouseMove(first.X + 3, first.Y - 4);
    game_.MouseDown(first.X + 3, first.Y - 4, TMouseButton::mbLeft);
    game_.MouseUp(first.X + 3, first.Y - 4, TMouseButton::mbLeft);
    Pass();
    EXPECT_EQ(play_.HoveredLevel, 0);
    EXPECT_EQ(play_.SelectedLevel, 0);
    Press("WBetweenLevels_BPlay");
    EXPECT_EQ(play_.CurrentLevel, 2);
    EXPECT_EQ(Caption("WGame_LLevelCount"), "1");
}

TEST_F(ScreenFlowTest, LeavingTheNewestLevelLowersItAndTheTitleOffersToContinue) {
    NamePlayer("Ann");
    play_.ShowInstructions = false;
    StartActionGame();
    play_.Score = 120;
    engine_.ExecMethod("WExitToMainMenu_BOk_MouseUp");
    EXPECT_EQ(play_.State, gsMenu);
    EXPECT_EQ(Top(), "WTitle");
    EXPECT_EQ(play_.CurrentLevel, 0);
    EXPECT_EQ(play_.Score, 0);
    play_.CurrentLevel = 3;
    Press("WTitle_BStartGame");
    EXPECT_EQ(Top(), "WContinue");
    Press("WContinue_BPlaySaved");
    EXPECT_EQ(play_.State, gsBetweenLevels);
    EXPECT_EQ(play_.SelectedLevel, 3);
}

TEST_F(ScreenFlowTest, ALostLevelIsRetriedFromItsStartingScore) {
    NamePlayer("Ann");
    play_.ShowInstructions = false;
    StartActionGame();
    play_.PrevScore = 40;
    play_.Score = 95;
    engine_.Services().Interface.ShowModal("WGameOver");
    play_.State = gsPause;
    Press("WGameOver_BOk");
    EXPECT_EQ(play_.State, gsGame);
    EXPECT_EQ(play_.Score, 40);
    EXPECT_EQ(Top(), "WGame");
}

TEST_F(ScreenFlowTest, TheKeysReachEveryButtonAndEscapeTakesTheWayBack) {
    NamePlayer("Ann");
    // Space on a button presses it, and the space it types does not reach the edit of the
    // window it opens.
    const auto pressWithSpace = [this] {
        game_.KeyDown(vk::Space);
        game_.TypeChar(' ');
        game_.KeyUp(vk::Space);
        Pass();
    };
    for (int i = 0; i < 3; ++i) Key(vk::Down);  // Play, High Scores, Change Player
    pressWithSpace();
    ASSERT_EQ(Top(), "WChangePlayer");
    Key(vk::Tab);  // from the list of players to New
    pressWithSpace();
    ASSERT_EQ(Top(), "WNewPlayer");
    const auto* edit =
        dynamic_cast<const TKelEdit*>(engine_.Services().Interface.FindObject("WNewPlayer_ENewPlayer"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Text(), U"");
    Key(vk::Escape);
    EXPECT_EQ(Top(), "WChangePlayer");
    Key(vk::Escape);
    EXPECT_EQ(Top(), "WTitle");
}

TEST_F(ScreenFlowTest, QuittingFromTheTitleClosesTheGame) {
    NamePlayer("Ann");
    Press("WTitle_BQuit");
    Pass();
    EXPECT_TRUE(game_.Snapshot().Closed);
}

TEST_F(ScreenFlowTest, ThePlayerAndTheSavedGameSurviveARestart) {
    NamePlayer("Ann");
    play_.ShowInstructions = false;
    StartActionGame();
    engine_.Services().Flow->ChangeGameState("LevelComplete");
    Press("WBetweenLevels_BPlay");  // level 2 starts: a save point
    play_.Score = 500;
    game_.Close();
    Pass();
    ASSERT_TRUE(game_.Snapshot().Closed);

    // Closing during level 2 gave it up: the next start offers the map before level 2.
    THeadlessGame again({TERVOLIN_GAME_FOLDER, user_.Path().string(), 1, 10});
    again.Start();
    again.Step(10);
    TKelGameEngine& engine = again.Engine();
    EXPECT_EQ(engine.TopForm(), "WTitle");
    EXPECT_EQ(engine.Services().Play.Game.CurrentPlayerName, "Ann");
    EXPECT_EQ(engine.Services().Play.Game.CurrentLevel, 1);
    EXPECT_FALSE(engine.Services().Play.Game.ShowInstructions);
    engine.ExecMethod("WTitle_BStartGame_MouseUp");
    EXPECT_EQ(engine.TopForm(), "WContinue");
    engine.ExecMethod("WContinue_BPlaySaved_MouseUp");
    EXPECT_EQ(engine.Services().Play.Game.State, gsBetweenLevels);
    engine.ExecMethod("WBetweenLevels_BPlay_MouseUp");
    EXPECT_EQ(engine.Services().Play.Game.CurrentLevel, 2);
}

TEST_F(ScreenFlowTest, AFinishedGameEntersTheHighScores) {
    NamePlayer("Ann");
    play_.Score = 4321;
    engine_.Services().Interface.ShowModal("WGameComplete");
    engine_.Services().Interface.SetProperty("WGameComplete_EName", "Caption", "Bo<b>");
    engine_.ExecMethod("WGameComplete_BOk_MouseUp");
    EXPECT_EQ(Top(), "WHighScores");
    Pass();
    Shot("high-scores");
    EXPECT_EQ(engine_.Services().Options.PlayerName, "Bob");
    auto* grid = dynamic_cast<TKelGrid*>(engine_.Services().Interface.FindObject("WHighScores_GHighScores"));
    ASSERT_NE(grid, nullptr);
    EXPECT_NE(user_.Read("HighScores.dat").find(ShiftEncode("name=\"Bob\" score=\"4321\"")),
              std::string::npos);
    // Clearing asks first, then empties the table and the file.
    Press("WHighScores_BClear");
    EXPECT_EQ(Top(), "WClearHighScores");
    engine_.ExecMethod("WClearHighScores_BOk_MouseUp");
    EXPECT_EQ(user_.Read("HighScores.dat"), "");
}

TEST_F(ScreenFlowTest, MoreGamesOnTheTitleOpensTheProjectsWebPage) {
    NamePlayer("Ann");
    Press("WTitle_LBrontelLink");
    EXPECT_EQ(game_.System().OpenedLinks, std::vector<std::string>{TERVOLIN_HOMEPAGE});
}

TEST_F(ScreenFlowTest, SwitchingTheDisplayOnTheInstructionsRedrawsTheirBackground) {
    NamePlayer("Ann");
    StartActionGame();
    ASSERT_EQ(play_.State, gsInstructions);
    const TKelInterfaceObject& panel = Object("WInstructions");
    const int left = panel.AbsLeft(), top = panel.AbsTop();
    const int right = left + panel.Width(), bottom = top + panel.Height();
    game_.MouseMove(left + 10, top + 10);  // the cursor stays on the panel
    game_.Step(100);
    const std::vector<uint8_t> before = game_.Display().LastFrame;
    Shot("instructions-before-switch");
    for (const bool full : {true, false}) {
        Key(vk::Return, ssAlt);
        game_.Step(100);
        ASSERT_EQ(game_.Display().IsFullScreen(), full);
        Shot(full ? "instructions-full-screen" : "instructions-window");
        // Around the panel the frame shows the level's background as before, not black.
        int changed = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x)
                if ((x < left || x >= right || y < top || y >= bottom) &&
                    std::memcmp(&before[(size_t(y) * 800 + size_t(x)) * 4],
                                &game_.Display().LastFrame[(size_t(y) * 800 + size_t(x)) * 4],
                                3) != 0)
                    ++changed;
        EXPECT_EQ(changed, 0) << (full ? "full screen" : "window");
        // The examples on the panel are drawn from pictures made again, not left black.
        EXPECT_LE(BlackPixels(game_.Display().LastFrame), BlackPixels(before));
    }
}

// A level whose start shows a hint window with an animated example.
struct THintCase {
    int Level;
    std::string Window;
    friend void PrintTo(const THintCase& hint, std::ostream* out) {
        *out << "level " << hint.Level << ", " << hint.Window;
    }
};

class HintExampleTest : public ScreenFlowTest, public ::testing::WithParamInterface<THintCase> {};

TEST_P(HintExampleTest, TheExampleMovesCentredInItsWell) {
    NamePlayer("Ann");
    PlaySavedLevel(GetParam().Level);
    ASSERT_EQ(Top(), GetParam().Window);
    game_.MouseMove(790, 10);  // the cursor away from the well
    // The example: what differs from the empty well in the well's inner 120 x 120, seen over a
    // second of play.
    const TKelInterfaceObject& well = Object(GetParam().Window + "_LExample");
    const int wellX = well.AbsLeft(), wellY = well.AbsTop();
    TSurfEngine& store = *engine_.Services().Surfaces.get();
    int left = 800, top = 600, right = -1, bottom = -1;
    std::vector<uint32_t> first, last;
    for (int frame = 0; frame < 10; ++frame) {
        game_.Step(100);
        last.clear();
        for (int y = 10; y < 130; ++y) {
            for (int x = 10; x < 130; ++x) {
                const uint32_t pixel = FramePixel(wellX + x, wellY + y);
                last.push_back(pixel);
                if (pixel == (PixelAt(store, "ExampleWell.png", x, y) & 0xFFFFFF)) continue;
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
        if (frame == 0) first = last;
    }
    Shot("hint-level-" + std::to_string(GetParam().Level));
    EXPECT_TRUE(first != last) << "the example stands still";
    ASSERT_GE(right, left) << "nothing drawn in the well";
    EXPECT_NEAR((left + right) / 2.0, well.Width() / 2.0, 3.0) << left << ".." << right;
    EXPECT_NEAR((top + bottom) / 2.0, well.Height() / 2.0, 3.0) << top << ".." << bottom;
}

INSTANTIATE_TEST_SUITE_P(Levels, HintExampleTest,
                         ::testing::Values(THintCase{3, "WGemWithLightningHint"},
                                           THintCase{10, "WBouncingGemHint"},
                                           THintCase{13, "WBonusGemHint"}),
                         [](const auto& info) { return info.param.Window; });

}  // namespace
#endif

TEST(PlayerNameTest, ControlCharactersQuotesAndAngleBracketsAreDropped) {
    const std::pair<std::string, std::string> cases[] = {
        {"Ann", "Ann"},         {"Ann>2", "Ann2"}, {"\"Bo\"", "Bo"},
        {"a\nb\rc\td", "abcd"}, {"<>\"\x01", ""},  {"Jürgen Ö", "Jürgen Ö"},
    };
    for (const auto& [typed, kept] : cases) EXPECT_EQ(CleanPlayerName(typed), kept) << typed;
}
