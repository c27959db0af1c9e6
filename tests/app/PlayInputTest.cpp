// The board's input through the game object on the shipped game: level 1 pins a Sun showing piece
// 1 at (6, 4) beside one showing pieces 2 and 3 at (7, 4).
#include <gtest/gtest.h>

#include "app/HeadlessGame.h"
#include "support/HeadlessGame.h"
#include "support/TempFolder.h"

#ifdef TERVOLIN_GAME_FOLDER
namespace {

class PlayInputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        game_.Start();
        ASSERT_FALSE(game_.Snapshot().Closed);
        game_.SetUpPlay().Game.ShowHints =
            false;  // level 1's tutorial popups would take the clicks
        game_.StartLevel(1, PuzzleLevelName(1));
        game_.Step(3000);  // the board falls in
    }
    void Click(TCell cell, TMouseButton button = TMouseButton::mbLeft) {
        const TPoint at = CellCentre(cell.Col, cell.Row);
        game_.Send(MouseDownEvent(at.X, at.Y, button));
        game_.Send(MouseUpEvent(at.X, at.Y, button));
    }
    void Key(int key) { game_.Send(KeyDownEvent(key)); }
    void Move(TPoint at) { game_.Send(MouseMoveEvent(at.X, at.Y)); }
    TFish& Cell(TCell cell) { return engine_.Services().Play.Level.Board.Cell(cell.Col, cell.Row); }

    TempFolder user_;
    THeadlessGame game_{{TERVOLIN_GAME_FOLDER, user_.Path().string(), 1, 10}};
    TKelGameEngine& engine_ = game_.Engine();
    TGame& play_ = engine_.Services().Play.Game;
};

TEST_F(PlayInputTest, TheMouseSelectsPreviewsAndMoves) {
    Click({6, 4});
    EXPECT_EQ(play_.SelectedCell, (TCell{6, 4}));
    Move(CellCentre(7, 4));
    EXPECT_EQ(play_.HoverCell, (TCell{7, 4}));
    EXPECT_TRUE(play_.WillCompleteShown);
    EXPECT_EQ(play_.PreviewGroup.front(), (TCell{7, 4}));
    EXPECT_TRUE(TilesMarked(*game_.Snapshot().Redraw, {2, 8, 799, 599}));

    Click({7, 4});
    EXPECT_EQ(Cell({7, 4}).MergeTime, int32_t(game_.Now() + 300));
    EXPECT_FALSE(engine_.Services().View.Cell(7, 4).FlyPicture.empty());
    game_.Step(310);
    EXPECT_TRUE(Cell({7, 4}).Has[1] && Cell({7, 4}).Has[2] && Cell({7, 4}).Has[3]);
    // The merge worked the preview out again for the mouse, still over (7, 4).
    EXPECT_EQ(play_.HoverCell, (TCell{7, 4}));
    EXPECT_FALSE(play_.WillCompleteShown);
    EXPECT_EQ(engine_.Services().Play.Level.Progress, 1);

    Move({0, 0});  // outside the board's area
    EXPECT_TRUE(play_.HoverCell.IsNone());
    EXPECT_TRUE(play_.PreviewGroup.empty());
}

TEST_F(PlayInputTest, TheKeyboardCursorMovesSelectsAndClears) {
    play_.KeyCursor = {6, 3};
    Key(vk::Down);
    EXPECT_EQ(play_.KeyCursor, (TCell{6, 4}));
    EXPECT_EQ(play_.HoverCell, (TCell{6, 4}));
    EXPECT_EQ(play_.KeyCursorTime, int32_t(game_.Now()));
    Key(vk::Space);
    EXPECT_EQ(play_.SelectedCell, (TCell{6, 4}));
    Key(vk::Delete);
    EXPECT_TRUE(play_.SelectedCell.IsNone());

    // A click turns the cursor off, and Space does nothing then.
    Click({5, 3});
    EXPECT_EQ(play_.KeyCursorTime, -1);
    Key(vk::Space);
    EXPECT_EQ(play_.SelectedCell, (TCell{5, 3}));
    Click({5, 3}, TMouseButton::mbRight);  // the right button clears the selection
    EXPECT_TRUE(play_.SelectedCell.IsNone());
}

TEST_F(PlayInputTest, TheBoardWaitsWhileAnotherWindowIsOnTopOrTheGoalIsReached) {
    // "WResource" holds only texts: nothing of it takes the clicks.
    Click({6, 4});
    engine_.SetTopForm("WResource");
    Click({7, 4});
    EXPECT_EQ(Cell({7, 4}).MergeTime, -1);
    engine_.SetTopForm("WGame");
    Click({7, 4});
    ASSERT_GT(Cell({7, 4}).MergeTime, 0);
    engine_.SetTopForm("WResource");
    game_.Step(1000);  // no play timers under another window
    EXPECT_GT(Cell({7, 4}).MergeTime, 0);

    engine_.SetTopForm("WGame");
    engine_.Services().Play.Level.LevelDone = true;
    Click({5, 3});
    EXPECT_TRUE(play_.SelectedCell.IsNone());
}

}  // namespace
#endif
