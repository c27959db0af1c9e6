// The end of a level through the game object on the shipped game: won once the goal is reached
// on a quiet board, lost when the angry Pharaoh drains the bar, never lost in Relax.
#include <gtest/gtest.h>

#include "app/HeadlessGame.h"
#include "core/MemoryStream.h"
#include "support/PinnedLevel.h"
#include "support/TempFolder.h"

#ifdef TERVOLIN_GAME_FOLDER
namespace {

class LevelEndTest : public ::testing::Test {
  protected:
    void Start(const std::string& level, uint8_t mode = 0) {
        game_.Start();
        ASSERT_FALSE(game_.Snapshot().Closed);
        TMemoryStream file;
        file.Write(level.data(), level.size());
        game_.Archive()->AddFile("TestLevel.xml", 1, file);
        game_.SetUpPlay().Game.GameMode = mode;
        game_.StartLevel(1, "TestLevel.xml");
    }
    // A press on the cell, without its release.
    void Click(TCell cell) {
        const TPoint at = CellCentre(cell.Col, cell.Row);
        game_.Send(MouseDownEvent(at.X, at.Y));
    }

    TempFolder user_;
    THeadlessGame game_{{TERVOLIN_GAME_FOLDER, user_.Path().string(), 1, 10}};
    TKelGameEngine& engine_ = game_.Engine();
    const TPlayState& Play() { return *game_.Snapshot().Play; }
};

TEST_F(LevelEndTest, TheLevelIsWonOnceTheGoalIsReachedAndTheBoardIsQuiet) {
    Start(PinnedLevel(2));
    game_.Step(3000);
    // The fixed Suns are of a colour the level never generates: their pictures are built too.
    EXPECT_GT(engine_.Services().View.Cell(7, 4).PicWidth, 0);
    Click({6, 4});
    Click({7, 4});  // completes (7, 4) and (8, 4)
    game_.Step(500);
    EXPECT_EQ(Play().Level.Progress, 2);
    EXPECT_FALSE(Play().Level.LevelDone);  // not removed yet
    EXPECT_TRUE(Play().Level.ShowFinishBar);
    game_.Step(2000);
    const TPlayState& play = Play();
    EXPECT_TRUE(play.Level.LevelDone);
    EXPECT_FALSE(play.Level.ShowFinishBar);
    EXPECT_TRUE(play.Game.AddToHighScore);
    EXPECT_EQ(play.Game.State, gsGame);
    EXPECT_GE(IndexOfScreenEffect(engine_.Services().ScreenEffects, "LevelComplete1"), 0);

    // The board takes no more clicks.
    Click({5, 3});
    EXPECT_TRUE(Play().Game.SelectedCell.IsNone());
}

TEST_F(LevelEndTest, TheAngryPharaohDrainsTheBarAndTheLevelIsLost) {
    // 600 a second off the mood: angry (116) after the first second, and the bar empties at once.
    Start(PinnedLevel(3, "<Pharaoh DecPerSecond=\"1800\" DownScarabPerSecond=\"3000\"/>"));
    game_.Step(3000);
    EXPECT_EQ(Play().Game.State, gsPause);
    EXPECT_EQ(game_.Snapshot().Top, "WGameOver");
    EXPECT_LT(Play().Level.Progress, 0);
}

TEST_F(LevelEndTest, RelaxIsNeverLost) {
    Start(PinnedLevel(3, "<Pharaoh DecPerSecond=\"1800\" DownScarabPerSecond=\"3000\"/>"), 1);
    game_.Step(5000);
    EXPECT_EQ(Play().Game.State, gsGame);
    EXPECT_EQ(Play().Game.MoodState, 1);
    EXPECT_EQ(Play().Level.Progress, 0);
}

}  // namespace
#endif
