// The check for a possible move, the renewal of a board without any move left and the tutorial
// popups.
#include <tuple>

#include "support/PlayRulesFixture.h"

namespace {

using HintsTest = PlayRulesTest;

TEST_F(HintsTest, AChainOfThreeThatCouldCompleteIsAPossibleMove) {
    struct Case {
        const char* what;
        std::vector<std::tuple<TCell, int, std::string, bool>>
            cells;  // cell, colour, pieces, ghost
        bool found;
    };
    // (5, 4), (6, 4) and (7, 4) are a chain; (5, 4) and (7, 4) are not neighbours.
    const Case cases[] = {
        {"three pieces in a row",
         {{{5, 4}, 0, "1", false}, {{6, 4}, 0, "2", false}, {{7, 4}, 0, "3", false}},
         true},
        {"a ghost of another colour",
         {{{5, 4}, 0, "1", false}, {{6, 4}, 1, "2", true}, {{7, 4}, 0, "3", false}},
         true},
        {"two colours",
         {{{5, 4}, 0, "1", false}, {{6, 4}, 1, "2", false}, {{7, 4}, 0, "3", false}},
         false},
        {"a piece twice",
         {{{5, 4}, 0, "12", false}, {{6, 4}, 0, "2", false}, {{7, 4}, 0, "3", false}},
         false},
    };
    for (const Case& c : cases) {
        Shape(3, 9, 2, 7);
        for (const auto& [cell, colour, pieces, ghost] : c.cells)
            Put(cell, 0, colour, pieces, ghost);
        play_.Game.SmartCount = 0;
        rules_.CheckPossibleMoves();
        EXPECT_EQ(play_.Game.SmartCount, c.found ? 0 : 10) << c.what;
        EXPECT_EQ(play_.Game.DebugText == "Smart generation ON!", !c.found) << c.what;
        if (c.found) {
            EXPECT_EQ(play_.Level.HintPath.size(), 3u) << c.what;
        }
    }
}

TEST_F(HintsTest, TheCheckWaitsForAMoveAndAQuietBoard) {
    play_.Game.MoveMade = false;
    RunUntil(Start + 100);
    EXPECT_EQ(play_.Game.SmartCount, 0);  // no move: no check
    play_.Game.MoveMade = true;
    RunUntil(Start + 200);
    EXPECT_EQ(play_.Game.SmartCount, 10);  // the board has no chain
    EXPECT_FALSE(play_.Game.MoveMade);
}

TEST_F(HintsTest, AnyMoveLeftCountsTheMovesOfEveryInput) {
    struct Case {
        const char* what;
        std::vector<std::tuple<TCell, int, std::string>> suns;  // cell, colour, pieces
        TCell jumpBall;                                         // none: no jump ball
        bool left;
    };
    // (4, 4) and (5, 3) are near but no neighbours; row 9 does not take the mouse.
    const Case cases[] = {
        {"the dead background", {}, {}, false},
        {"the dead background with a jump ball", {}, {5, 5}, false},
        {"neighbours", {{{5, 4}, 0, "1"}, {{6, 4}, 0, "23"}}, {}, true},
        {"neighbours of two colours", {{{5, 4}, 0, "1"}, {{6, 4}, 1, "23"}}, {}, false},
        {"neighbours sharing a piece", {{{5, 4}, 0, "12"}, {{6, 4}, 0, "2"}}, {}, false},
        {"near cells for the keyboard", {{{4, 4}, 0, "1"}, {{5, 3}, 0, "23"}}, {}, true},
        {"the bottom row for the keyboard", {{{5, 8}, 0, "1"}, {{5, 9}, 0, "23"}}, {}, true},
        {"far apart", {{{3, 2}, 0, "1"}, {{9, 7}, 0, "2"}}, {}, false},
        {"far apart with a jump ball", {{{3, 2}, 0, "1"}, {{9, 7}, 0, "2"}}, {3, 2}, true},
    };
    for (const Case& c : cases) {
        Shape(3, 9, 2, 9);
        for (const auto& [cell, colour, pieces] : c.suns) Put(cell, 0, colour, pieces);
        if (!c.jumpBall.IsNone()) Cell(c.jumpBall).JumpBall = true;
        EXPECT_EQ(rules_.AnyMoveLeft(), c.left) << c.what;
    }
}

// The renewal of a dead board after a move tried with the mouse (false) or the keyboard (true).
class RenewalTest : public PlayRulesTest, public ::testing::WithParamInterface<bool> {
  protected:
    void TryMove(TCell from, TCell to) {
        if (GetParam()) {
            for (TCell cell : {from, to}) {
                play_.Game.KeyCursor = cell;
                rules_.PressSpaceInGamePlay(now_);
            }
        } else {
            rules_.ClickOnCell(from, now_);
            rules_.ClickOnCell(to, now_);
        }
    }
    // The cells made again: Suns falling in (the level's list holds only Suns).
    std::vector<TCell> Renewed() {
        std::vector<TCell> cells;
        for (int col = 1; col <= BoardColumns; ++col)
            for (int row = 1; row <= BoardRows; ++row)
                if (Cell({col, row}).Type == 0 && Cell({col, row}).Falling)
                    cells.push_back({col, row});
        return cells;
    }
};

TEST_P(RenewalTest, ADeadBoardIsRenewedOnceQuietAfterAMoveSparingBombsGemsAndJumpBalls) {
    // Every fishka but those of row 2 carries a bomb, a gem or a jump ball.
    for (int col = 3; col <= 9; ++col)
        for (int row = 3; row <= 7; ++row) {
            TFish& fish = Cell({col, row});
            if (col % 3 == 0) fish.Extras = feVerticalBomb;
            if (col % 3 == 1) fish.Extras = feBonusGem;
            if (col % 3 == 2) fish.JumpBall = true;
        }
    RunUntil(Start + 1000);
    EXPECT_TRUE(Renewed().empty()) << "no move tried: the board waits";

    TryMove({5, 4}, {6, 4});  // refused: both show piece 1
    ASSERT_TRUE(play_.Game.SelectedCell.IsNone());
    RunUntil(now_ + 10);
    const std::vector<TCell> renewed = Renewed();
    EXPECT_EQ(renewed.size(), 3u);
    for (TCell cell : renewed) EXPECT_EQ(cell.Row, 2) << cell.Col;
    EXPECT_TRUE(play_.Game.BoardCheckDue) << "looked at again once they land";
    // Only a mouse move is followed by the check for a possible move, which finds none, turns
    // the smart choice on and keeps its text; the renewal borrows the smart choice without
    // using up the check's count, and does not run the check again.
    const bool mouse = !GetParam();
    EXPECT_FALSE(play_.Game.MoveMade);
    EXPECT_EQ(play_.Game.SmartCount, mouse ? 10 : 0);
    EXPECT_EQ(play_.Game.DebugText, mouse ? "Smart generation ON!" : "");
}

TEST_P(RenewalTest, ABoardWithAMoveForSomeInputIsLeftAlone) {
    Put({4, 4}, 0, 0, "1");
    Put({5, 3}, 0, 0, "23");  // near (4, 4), no neighbour: the keyboard's move
    TryMove({6, 4}, {7, 4});
    RunUntil(Start + 1000);
    EXPECT_FALSE(play_.Game.BoardCheckDue);
    EXPECT_TRUE(Renewed().empty());
    EXPECT_EQ(std::tuple(Cell({4, 4}).Type, Cell({5, 3}).Type), std::tuple(0, 0));
}

INSTANTIATE_TEST_SUITE_P(MouseAndKeyboard, RenewalTest, ::testing::Bool());

TEST_F(HintsTest, PopupsComeInOrderForTheNewestLevelAndCloseOnlyOnTheirCell) {
    play_.Level.PopupWindows = {{"WSecond", 7, 4}, {"WFirst", 6, 4}};
    play_.Game.ShowHints = true;
    play_.Game.CurrentLevel = play_.Game.SelectedLevel = 1;
    play_.Game.LevelStartTime = Start;
    EXPECT_EQ(rules_.PopupToShow(Start + 300), nullptr);
    ASSERT_NE(rules_.PopupToShow(Start + 301), nullptr);
    EXPECT_EQ(rules_.PopupToShow(Start + 301)->Name, "WFirst");

    EXPECT_FALSE(rules_.PopupScriptRightClick({7, 4}, "WFirst"));     // another cell
    EXPECT_FALSE(rules_.PopupScriptRightClick({6, 4}, "WGameMenu"));  // another window on top
    EXPECT_TRUE(rules_.PopupScriptRightClick({6, 4}, "WFirst"));
    EXPECT_EQ(rules_.PopupToShow(Start + 400)->Name, "WSecond");

    play_.Game.SelectedLevel = 0;  // replaying an older level
    EXPECT_EQ(rules_.PopupToShow(Start + 400), nullptr);
    play_.Game.SelectedLevel = 1;
    play_.Game.ShowHints = false;
    EXPECT_EQ(rules_.PopupToShow(Start + 400), nullptr);
}

}  // namespace
