#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "support/PlayRulesFixture.h"

using MovesTest = PlayRulesTest;

TEST_F(MovesTest, ACompletingMoveMergesAtThreeHundredAndEmptiesTheSourceAtTwoHundred) {
    Put({4, 4}, 0, 0, "1");
    Put({5, 4}, 0, 0, "23");
    rules_.ClickOnCell({4, 4}, now_);
    EXPECT_EQ(play_.Game.SelectedCell, (TCell{4, 4}));
    EXPECT_TRUE(out_.HasSound("SelectLarge", -1));
    rules_.ClickOnCell({5, 4}, now_);

    const TGame& game = play_.Game;
    EXPECT_TRUE(game.SelectedCell.IsNone());
    EXPECT_EQ(game.LastMoveCell, (TCell{5, 4}));
    EXPECT_TRUE(game.MoveMade);
    TFish& dest = Cell({5, 4});
    EXPECT_EQ(Pieces(dest.Will), "123");
    EXPECT_EQ(Pieces(dest.Has), "23");
    EXPECT_EQ(dest.MergeTime, int32_t(Start + 300));
    EXPECT_EQ(dest.BreakTime, int32_t(Start + 300));
    EXPECT_TRUE(dest.Pinned);
    EXPECT_EQ(out_.Flights[TRecordingOutput::Key({5, 4})], "t0p1c1");
    EXPECT_EQ(Cell({4, 4}).RemoveTime, int32_t(Start + 200));
    EXPECT_TRUE(out_.HasSound("FullSphere", Start + 300));
    EXPECT_TRUE(out_.HasSound("FishType1Complete", Start + 800));
    ASSERT_EQ(out_.GroupBonuses.size(), 1u);
    EXPECT_EQ(std::tuple(out_.GroupBonuses[0].N, out_.GroupBonuses[0].At),
              std::tuple(1, Start + 1300));

    const int sourceTypeAbove = Cell({4, 3}).Type;
    RunUntil(Start + 200);
    EXPECT_EQ(Cell({4, 4}).RemoveTime, int32_t(Start + 200));
    RunUntil(Start + 210);
    // Emptied, and the column above fell into it in the same pass.
    EXPECT_EQ(Cell({4, 4}).RemoveTime, -1);
    EXPECT_EQ(Cell({4, 4}).Type, sourceTypeAbove);
    EXPECT_TRUE(Cell({4, 4}).Falling);

    RunUntil(Start + 300);
    EXPECT_EQ(Pieces(dest.Has), "23");
    RunUntil(Start + 310);
    EXPECT_EQ(Pieces(dest.Has), "123");
    EXPECT_EQ(play_.Level.Progress, 1);
    EXPECT_EQ(play_.Game.Mood, StartMood + 5);
    EXPECT_EQ(dest.RemoveTime, int32_t(Start + 1050));
    const TScreenEffectOrder* breaking = out_.FindEffect("5,4", "efBreakFishka.xml");
    ASSERT_NE(breaking, nullptr);
    EXPECT_TRUE(breaking->FromGlobal);
    EXPECT_EQ(breaking->Start, Start + 300);
    EXPECT_EQ(std::tuple(breaking->FirstSystemPicture, breaking->FirstSystemFrames),
              std::tuple(std::string("t0p123c1anime"), 8));
    ASSERT_NE(out_.FindEffect("5,4", "efBlickComplete1.xml"), nullptr);

    RunUntil(Start + 1060);
    EXPECT_EQ(play_.Game.Score, 10);
    // Emptied; the destination stays pinned through that pass's collapse, so its column falls
    // into it on the next one.
    EXPECT_EQ(dest.Type, -1);
    RunUntil(Start + 1070);
    EXPECT_EQ(dest.Type, 1);
    EXPECT_TRUE(dest.Falling);
}

TEST_F(MovesTest, AcceptanceFollowsTypeColourGhostsAndSharedPieces) {
    struct Case {
        const char* Name;
        int DestType, DestColour;
        const char* DestPieces;
        bool DestGhost;
        int SrcType, SrcColour;
        const char* SrcPieces;
        bool SrcGhost;
        bool Accepted;
        int Colour, Kind;  // of the destination afterwards
    };
    const Case cases[] = {
        {"other colour", 0, 0, "23", false, 0, 1, "1", false, false, 0, fkNormal},
        {"into a ghost", 0, 0, "23", true, 0, 1, "1", false, true, 1, fkNormal},
        {"a ghost into a fishka", 0, 0, "23", false, 0, 1, "1", true, true, 0, fkNormal},
        {"two ghosts", 0, 0, "23", true, 0, 1, "1", true, true, 0, fkGhost},
        {"shared piece 2", 0, 0, "2", false, 0, 0, "12", false, false, 0, fkNormal},
        {"other type", 0, 0, "23", false, 1, 0, "1", false, false, 0, fkNormal},
        {"not completing", 0, 0, "3", false, 0, 0, "1", false, true, 0, fkNormal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Put({4, 4}, c.SrcType, c.SrcColour, c.SrcPieces, c.SrcGhost);
        Put({5, 4}, c.DestType, c.DestColour, c.DestPieces, c.DestGhost);
        const bool accepted = rules_.PutFishInsideFish({5, 4}, {4, 4}, now_);
        EXPECT_EQ(accepted, c.Accepted);
        const TFish& dest = Cell({5, 4});
        EXPECT_EQ(std::tuple(int(dest.Color), int(dest.Kind)), std::tuple(c.Colour, c.Kind));
        if (!accepted) {
            EXPECT_EQ(dest.MergeTime, -1);
            EXPECT_EQ(Pieces(dest.Will), "");
            EXPECT_EQ(Cell({4, 4}).RemoveTime, -1);
        }
    }
}

TEST_F(MovesTest, ARefusedMoveBouncesThePictureThereAndBack) {
    Put({4, 4}, 0, 0, "1");
    Put({5, 4}, 0, 1, "23");
    rules_.ClickOnCell({4, 4}, now_);
    rules_.ClickOnCell({5, 4}, now_);
    EXPECT_TRUE(play_.Game.SelectedCell.IsNone());
    EXPECT_TRUE(play_.Game.LastMoveCell.IsNone());
    ASSERT_EQ(out_.Effects.size(), 2u);
    const TScreenEffectOrder& there = out_.Effects[0];
    const TScreenEffectOrder& back = out_.Effects[1];
    EXPECT_EQ(std::tuple(there.Name, there.File, there.Picture, there.Start, there.LifetimeMs),
              std::tuple(std::string("CanNotMove"), std::string("efMove.xml"),
                         std::string("t0p1c1"), Start, 150));
    EXPECT_EQ(there.Path, "Set Linear; Set Timing 0.15; Path (229,263) (294,227); Ending Stop;");
    EXPECT_EQ(std::tuple(back.Name, back.Start),
              std::tuple(std::string("CanNotMove1"), Start + 150));
    EXPECT_EQ(back.Path, "Set Linear; Set Timing 0.15; Path (294,227) (229,263); Ending Stop;");
    EXPECT_TRUE(there.ClipToBoard && back.ClipToBoard);
    EXPECT_EQ(Cell({4, 4}).HiddenUntil, int32_t(Start + 300));
    EXPECT_TRUE(out_.HasSound("Error", Start + 150));
}

TEST_F(MovesTest, AJumpBallMovesAlongToANearCellAndIsUsedUpByAJump) {
    for (const bool far : {false, true}) {
        SCOPED_TRACE(far ? "far" : "near");
        const TCell dest = far ? TCell{8, 6} : TCell{5, 4};
        Put({4, 4}, 0, 0, "1").JumpBall = true;
        Put(dest, 0, 0, "23");
        play_.Game.LastMoveCell = TCell{};
        rules_.ClickOnCell({4, 4}, now_);
        rules_.ClickOnCell(dest, now_);
        EXPECT_EQ(Pieces(Cell(dest).Will), "123");
        EXPECT_EQ(Cell(dest).JumpBall, !far);
        EXPECT_EQ(out_.CellEffects.count(TRecordingOutput::Key(dest)), far ? 0u : 1u);
        // A ball that stays on the completed fishka scores 25 for each member.
        EXPECT_EQ(play_.Game.Score, far ? 0 : 25);
        EXPECT_EQ(Cell({4, 4}).RemoveTime, int32_t(far ? Start : Start + 200));
        play_.Game.Score = 0;
    }
}

TEST_F(MovesTest, AGroupOfThreeMergesOneByOneAndBreaksTogether) {
    Put({4, 4}, 0, 0, "1");
    Put({5, 4}, 0, 0, "23");
    Put({6, 3}, 0, 0, "23");  // touch the destination, not the source
    Put({6, 4}, 0, 0, "23");
    ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
    ASSERT_EQ(out_.GroupBonuses.size(), 1u);
    EXPECT_EQ(out_.GroupBonuses[0].Group, (TGroup{{5, 4}, {6, 3}, {6, 4}}));
    EXPECT_EQ(out_.GroupBonuses[0].At, Start + 1500);
    EXPECT_EQ(Cell({6, 3}).MergeTime, int32_t(Start + 400));
    EXPECT_EQ(Cell({6, 4}).MergeTime, int32_t(Start + 500));
    for (TCell cell : {TCell{5, 4}, TCell{6, 3}, TCell{6, 4}}) {
        EXPECT_EQ(Cell(cell).BreakTime, int32_t(Start + 500));
        EXPECT_TRUE(Cell(cell).InGroup);
        EXPECT_EQ(Cell(cell).GroupClass, 0);
    }
    EXPECT_TRUE(out_.HasSound("FishType1Complete", Start + 1000));
    for (int64_t at : {Start + 300, Start + 400, Start + 500})
        EXPECT_TRUE(out_.HasSound("FullSphere", at));

    RunUntil(Start + 1250);
    for (TCell cell : {TCell{5, 4}, TCell{6, 3}, TCell{6, 4}})
        EXPECT_EQ(Cell(cell).RemoveTime, int32_t(Start + 1250));
    EXPECT_EQ(play_.Game.Score, 0);
    RunUntil(Start + 1260);
    // 10 for each fishka and 50 for each member of a group.
    EXPECT_EQ(play_.Game.Score, 3 * 60);
    EXPECT_EQ(std::count_if(out_.Effects.begin(), out_.Effects.end(),
                            [](const TScreenEffectOrder& e) { return e.Name == "+50"; }),
              3);
}

TEST_F(MovesTest, AMemberTouchingTheSourceMergesWithTheDestinationAndSeesThePieceFlyIn) {
    Put({4, 4}, 0, 0, "1");
    Put({5, 4}, 0, 0, "23");
    Put({6, 3}, 0, 0, "23");
    Put({5, 5}, 0, 0, "23");  // touches the source (4, 4) too
    ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
    EXPECT_EQ(Cell({6, 3}).MergeTime, int32_t(Start + 400));
    EXPECT_EQ(Cell({5, 5}).MergeTime, int32_t(Start + 300));
    EXPECT_EQ(out_.Flights[TRecordingOutput::Key({5, 5})], "t0p1c1");
    EXPECT_EQ(Cell({5, 5}).BreakTime, int32_t(Start + 500));
}

TEST_F(MovesTest, TheGroupsSizeChoosesTheBreakEffect) {
    struct Case {
        std::vector<TCell> Members;
        const char* Effect;
        int Class;
    };
    const Case cases[] = {
        {{{5, 3}, {6, 3}, {6, 4}, {5, 5}}, "efBreakFishka1.xml", 1},
        {{{5, 3}, {6, 3}, {6, 4}, {5, 5}, {7, 3}, {7, 4}}, "efBreakFishka2.xml", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Effect);
        Shape(3, 9, 2, 7);
        out_.Effects.clear();
        Put({4, 4}, 0, 0, "1");
        Put({5, 4}, 0, 0, "23");
        for (TCell member : c.Members) Put(member, 0, 0, "23");
        ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
        EXPECT_EQ(Cell({5, 4}).GroupClass, c.Class);
        RunUntil(now_ + 1000);
        EXPECT_NE(out_.FindEffect("5,4", c.Effect), nullptr);
        RunUntil(now_ + 2000);
        play_.Game.Score = 0;
    }
}

TEST_F(MovesTest, ClicksSelectMoveOrClearAsTheCellAsks) {
    Put({4, 4}, 0, 0, "1");
    Put({7, 6}, 0, 0, "23");
    rules_.ClickOnCell({4, 4}, now_);
    rules_.ClickOnCell({4, 4}, now_);  // the selected cell again: stays selected
    EXPECT_EQ(play_.Game.SelectedCell, (TCell{4, 4}));
    rules_.ClickOnCell({7, 6}, now_);  // not adjacent, no ball: selected instead
    EXPECT_EQ(play_.Game.SelectedCell, (TCell{7, 6}));
    EXPECT_EQ(Cell({7, 6}).MergeTime, -1);

    Put({5, 4}, 0, 0, "23").Kind = fkCobra;
    rules_.ClickOnCell({4, 4}, now_);
    rules_.ClickOnCell({5, 4}, now_);  // an object clears the selection, nothing moves
    EXPECT_TRUE(play_.Game.SelectedCell.IsNone());
    EXPECT_EQ(Cell({5, 4}).MergeTime, -1);
    EXPECT_EQ(Cell({4, 4}).RemoveTime, -1);

    Shape(3, 9, 2, 9);
    rules_.ClickOnCell({5, 9}, now_);  // row 9 does not take the mouse
    EXPECT_TRUE(play_.Game.SelectedCell.IsNone());
    play_.Game.KeyCursor = {5, 9};
    rules_.PressSpaceInGamePlay(now_);  // the keyboard does
    EXPECT_EQ(play_.Game.SelectedCell, (TCell{5, 9}));
    EXPECT_TRUE(out_.HasSound("Select", -1));
}

TEST_F(MovesTest, AMouseMoveGoesFromTheSelectedCellToOneOfItsNeighbours) {
    // Column 13 is never a right-hand neighbour: (13, 4) touches (12, 4) and (12, 3), but
    // neither of them touches (13, 4).
    Shape(11, 13, 2, 7);
    Put({13, 4}, 0, 0, "1");
    Put({12, 4}, 0, 0, "23");
    Put({12, 6}, 0, 1, "1");
    Put({13, 6}, 0, 1, "23");
    rules_.ClickOnCell({13, 4}, now_);
    rules_.HoverUpdate({12, 4}, now_);
    EXPECT_TRUE(play_.Game.WillCompleteShown);
    rules_.ClickOnCell({12, 4}, now_);
    EXPECT_EQ(Pieces(Cell({12, 4}).Will), "123");
    EXPECT_EQ(play_.Game.LastMoveCell, (TCell{12, 4}));

    rules_.ClickOnCell({12, 6}, now_);
    rules_.HoverUpdate({13, 6}, now_);
    EXPECT_FALSE(play_.Game.WillCompleteShown);
    rules_.ClickOnCell({13, 6}, now_);  // no move: the click selects (13, 6) instead
    EXPECT_EQ(play_.Game.SelectedCell, (TCell{13, 6}));
    EXPECT_EQ(Cell({13, 6}).MergeTime, -1);
}

TEST_F(MovesTest, AGroupMemberTouchingTheSourceIsOneOfTheSourcesNeighbours) {
    // (12, 4) is a neighbour of the source (13, 4), which is none of its own neighbours.
    Shape(11, 13, 2, 7);
    Put({13, 4}, 0, 0, "1");
    Put({13, 5}, 0, 0, "23");
    Put({12, 4}, 0, 0, "23");
    rules_.ClickOnCell({13, 4}, now_);
    rules_.ClickOnCell({13, 5}, now_);
    ASSERT_EQ(out_.GroupBonuses.size(), 1u);
    EXPECT_EQ(out_.GroupBonuses[0].Group, (TGroup{{13, 5}, {12, 4}}));
    EXPECT_EQ(Cell({12, 4}).MergeTime, int32_t(Start + 300));
    EXPECT_EQ(out_.Flights[TRecordingOutput::Key({12, 4})], "t0p1c1");
}

TEST_F(MovesTest, TheKeyboardMovesToANearCellThatIsNoHexagonalNeighbour) {
    Put({4, 4}, 0, 0, "1");
    Put({5, 3}, 0, 0, "23");  // one column and one row away, not a neighbour of (4, 4)
    ASSERT_FALSE(play_.Level.Board.Adjacent({5, 3}, {4, 4}));
    play_.Game.KeyCursor = {4, 4};
    rules_.PressSpaceInGamePlay(now_);
    play_.Game.KeyCursor = {5, 3};
    rules_.PressSpaceInGamePlay(now_);
    EXPECT_EQ(Pieces(Cell({5, 3}).Will), "123");
    EXPECT_EQ(play_.Game.LastMoveCell, (TCell{5, 3}));
    EXPECT_FALSE(play_.Game.MoveMade);      // no check for a possible move follows
    EXPECT_TRUE(play_.Game.BoardCheckDue);  // but the board is looked at for any move left

    // Cells outside the board's shape are out of the keyboard's reach.
    play_.Game.KeyCursor = {1, 1};
    rules_.PressSpaceInGamePlay(now_);
    EXPECT_TRUE(play_.Game.SelectedCell.IsNone());
}

TEST_F(MovesTest, HoveringAGhostThatWouldCompleteTakesTheSelectedColour) {
    Put({4, 4}, 0, 1, "1");
    Put({5, 4}, 0, 0, "23", true);
    rules_.ClickOnCell({4, 4}, now_);
    rules_.HoverUpdate({5, 4}, now_ + 5);
    EXPECT_EQ(Cell({5, 4}).Color, 1);
    EXPECT_TRUE(play_.Game.WillCompleteShown);
    EXPECT_EQ(play_.Game.HoverStart, now_ + 5);
    // A ghost starts no group: the preview holds nothing more.
    EXPECT_TRUE(play_.Game.PreviewGroup.empty());

    rules_.HoverUpdate({7, 6}, now_);
    EXPECT_FALSE(play_.Game.WillCompleteShown);
    EXPECT_EQ(play_.Game.PreviewGroup, (TGroup{{7, 6}}));
    rules_.HoverUpdate({-1, -1}, now_);  // beside every cell
    EXPECT_TRUE(play_.Game.HoverCell.IsNone());
    EXPECT_TRUE(play_.Game.PreviewGroup.empty());
}

TEST_F(MovesTest, AMoveIntoAGhostCompletesAsAGroupOfItsDestinationAlone) {
    Put({4, 4}, 0, 1, "1");
    Put({5, 4}, 0, 0, "23", true);
    ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
    ASSERT_EQ(out_.GroupBonuses.size(), 1u);
    EXPECT_EQ(out_.GroupBonuses[0].Group, (TGroup{{5, 4}}));
    EXPECT_EQ(Cell({5, 4}).BreakTime, int32_t(Start + 300));
}

TEST_F(MovesTest, AMoveThatContinuesThePreviousOneKeepsAJumpBallForTheCell) {
    Put({4, 4}, 0, 0, "1");
    Put({5, 4}, 0, 0, "23");
    play_.Game.LastMoveCell = {4, 4};
    ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
    EXPECT_TRUE(Cell({5, 4}).KeepJumpBall);
    EXPECT_TRUE(play_.Game.LastMoveCell.IsNone());
}

TEST_F(MovesTest, AMergeNeverGivesAFishkaAPieceItsTypeLacks) {
    // The cell held a three-piece fishka before; its new two-piece one still has that Will.
    Put({5, 4}, 1, 0, "2").Will = {false, true, true, true};
    Put({4, 4}, 1, 0, "1");
    ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
    RunUntil(Start + 310);
    EXPECT_EQ(Pieces(Cell({5, 4}).Has), "12");
}

TEST_F(MovesTest, AFishkaStillFlyingTogetherIsNoSourceUntilItsMergeApplies) {
    Put({4, 4}, 0, 0, "1");
    Put({5, 4}, 0, 0, "23");
    Put({6, 4}, 1, 0, "1");
    ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
    // Moving the completing fishka on before its merge is refused and leaves it completing.
    EXPECT_FALSE(rules_.PutFishInsideFish({6, 4}, {5, 4}, now_ + 100));
    EXPECT_EQ(Cell({5, 4}).MergeTime, int32_t(Start + 300));
    RunUntil(Start + 1060);
    EXPECT_EQ(play_.Game.Score, 10);  // it broke and was removed

    // A merge that does not complete applies at once when its fishka moves on.
    Put({4, 4}, 0, 0, "1");
    Put({5, 4}, 0, 0, "3");
    Put({6, 4}, 0, 0, "2");
    ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
    EXPECT_TRUE(rules_.PutFishInsideFish({6, 4}, {5, 4}, now_ + 100));
    EXPECT_EQ(Pieces(Cell({6, 4}).Will), "123");
}
