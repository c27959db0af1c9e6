// The check for a possible move and the tutorial popups.
#include "PlayRulesFixture.h"

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
