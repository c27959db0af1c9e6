#include <gtest/gtest.h>

#include <tuple>

#include "support/PlayRulesFixture.h"

namespace {

class ObjectsTest : public PlayRulesTest {
  protected:
    // Marks column 5's fishkas by their colour (the row), and puts a scarab at `scarab`.
    void MarkColumn(TCell scarab) {
        for (int row = 2; row <= 7; ++row) Put({5, row}, 1, row, "1");
        TFish& fish = Cell(scarab);
        fish.Kind = fkScarab0;
        fish.Type = 0;
        fish.Pinned = true;
    }
    // Column 5's colours from row 2 down, with "S" for a scarab and "." for a cell outside.
    std::string Column() {
        std::string colours;
        for (int row = 2; row <= 7; ++row) {
            if (!play_.Level.Board.CellExists(5, row))
                colours += '.';
            else if (Cell({5, row}).Kind == fkScarab0)
                colours += 'S';
            else
                colours += char('0' + Cell({5, row}).Color);
        }
        return colours;
    }
};

}  // namespace

TEST_F(ObjectsTest, AScarabRotatesItsLineAroundItself) {
    struct Case {
        const char* Name;
        TCell Scarab;
        TCell Hole;  // a cell taken out of the shape, or none
        const char* After;
    };
    const Case cases[] = {
        // The scarab at the bottom: the cells above move up, the top one wraps to the bottom.
        {"at the end of its line", {5, 7}, {}, "34562S"},
        {"in the middle", {5, 4}, {}, "35S672"},
        {"across a gap", {5, 7}, {5, 4}, "35.62S"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Shape(3, 9, 2, 7);
        if (!c.Hole.IsNone()) {
            play_.Level.Board.SetCellExists(c.Hole.Col, c.Hole.Row, false);
            play_.Level.Board.CountLevelNeighbours();
        }
        MarkColumn(c.Scarab);
        if (!c.Hole.IsNone()) Cell(c.Hole).Color = 4;
        out_.Running.clear();
        rules_.ClickOnScarab(c.Scarab, false, now_);
        EXPECT_EQ(Column(), c.After);
    }
    EXPECT_TRUE(out_.HasSound("ClickOnScarab", -1));
    EXPECT_NE(out_.FindEffect("ClickOnScarab", "efClickOnScarabBonus0.xml"), nullptr);
}

TEST_F(ObjectsTest, ARotatedFishkaSlidesAndTheWrappedOneFadesAcross) {
    MarkColumn({5, 7});
    rules_.ClickOnScarab({5, 7}, false, now_);
    const TFish& moved = Cell({5, 5});  // came from (5, 6)
    EXPECT_EQ(std::tuple(moved.SlidePos.X, moved.SlidePos.Y), std::tuple(294.0, 73.0 * 6 - 65));
    EXPECT_EQ(moved.SlideTarget, CellCentre(5, 5));
    EXPECT_EQ(moved.SlideTime, int32_t(Start + 300));
    EXPECT_EQ(Cell({5, 6}).HiddenUntil, int32_t(Start + 300));  // the wrapped one
    EXPECT_EQ(Cell({5, 7}).HiddenUntil, int32_t(Start + 300));  // the scarab
    const TScreenEffectOrder* leave = out_.FindEffect("MoveScarab", "efMoveAlpha10.xml");
    const TScreenEffectOrder* arrive = out_.FindEffect("MoveScarab", "efMoveAlpha01.xml");
    ASSERT_TRUE(leave && arrive);
    EXPECT_EQ(leave->Path, "Set Linear; Set Timing 0.3; Path (294,81) (294,45); Ending Stop;");
    EXPECT_EQ(arrive->Path, "Set Linear; Set Timing 0.3; Path (294,410) (294,373); Ending Stop;");
    EXPECT_EQ(leave->Picture, "t1p1c3");  // the fishka of the top cell
    // While the line moves, the scarab takes no other click.
    const std::string during = Column();
    rules_.ClickOnScarab({5, 7}, false, now_ + 100);
    EXPECT_EQ(Column(), during);
}

TEST_F(ObjectsTest, ARightClickAfterAClickRestoresTheLineAndASecondScarabMovesAlong) {
    MarkColumn({5, 7});
    Cell({5, 3}).Kind = fkScarab0;  // moves like any cell of the line
    const std::string before = Column();
    rules_.ClickOnScarab({5, 7}, false, now_);
    EXPECT_EQ(Cell({5, 2}).Kind, fkScarab0);
    out_.Running.clear();  // the rotation's effects have ended
    play_.Game.SelectedCell = {4, 4};
    rules_.RightMouseDownInGamePlay({5, 7}, now_ + 400);
    EXPECT_EQ(Column(), before);
    EXPECT_TRUE(play_.Game.SelectedCell.IsNone());
    EXPECT_NE(out_.FindEffect("ClickOnScarab", "efClickOnScarabBonus0_Back.xml"), nullptr);
}

TEST_F(ObjectsTest, AScarabAloneOnItsLineDoesNothing) {
    Shape(5, 5, 4, 4);
    Cell({5, 4}).Kind = fkScarab0;
    rules_.ClickOnScarab({5, 4}, false, now_);
    EXPECT_TRUE(out_.Effects.empty());
    EXPECT_TRUE(out_.Sounds.empty());
}

TEST_F(ObjectsTest, ACobraRecoloursItsBeamAndLeaves) {
    // Facing up from (5, 6): the beam holds column 5 and, for an odd column, (4, r) and (6, r).
    Put({5, 6}, 0, 0, "123").Kind = fkCobra;
    Put({5, 5}, 0, 1, "1");                // the nearest: its type and colour spread
    Put({4, 5}, 1, 0, "2");                // retyped at once
    Put({6, 4}, 0, 0, "2", true);          // a ghost stays as it is
    Put({5, 3}, 1, 0, "1").Kind = fkCoin;  // so does a coin
    rules_.ClickOnCobra({5, 6}, now_);
    EXPECT_EQ(std::tuple(Cell({4, 5}).Type, int(Cell({4, 5}).Color)), std::tuple(0, 1));
    EXPECT_EQ(Cell({4, 5}).MergeTime, int32_t(Start + 100));
    EXPECT_EQ(Pieces(Cell({4, 5}).Will), "2");
    EXPECT_EQ(Cell({5, 4}).MergeTime, int32_t(Start + 200));  // one row further
    EXPECT_EQ(std::tuple(Cell({6, 4}).Type, int(Cell({6, 4}).Color)), std::tuple(0, 0));
    EXPECT_EQ(Cell({5, 3}).Type, 1);
    EXPECT_EQ(Cell({5, 5}).MergeTime, -1);
    const TFish& cobra = Cell({5, 6});
    EXPECT_EQ(std::tuple(int(cobra.Kind), cobra.RemoveTime, Pieces(cobra.Has)),
              std::tuple(int(fkNormal), int32_t(Start + 500), std::string("23")));
    EXPECT_NE(out_.FindEffect("efClickOnCobra1.xml", "efClickOnCobra1.xml"), nullptr);
    EXPECT_TRUE(out_.HasSound("ClickOnSnake", -1));

    // With nothing to change it still leaves; after its removal the column refills.
    Shape(3, 9, 2, 7);
    for (int row = 2; row <= 6; ++row) Cell({5, row}).Kind = fkPyramid;
    Put({5, 7}, 0, 0, "123").Kind = fkCobra;
    rules_.ClickOnCobra({5, 7}, now_);
    EXPECT_EQ(Cell({5, 7}).RemoveTime, int32_t(Start + 500));
    RunUntil(Start + 510);
    EXPECT_EQ(Cell({5, 7}).Kind, fkPyramid);  // the column above fell into it
    EXPECT_EQ(play_.Game.Score, 0);           // the cobra's cell was no completed fishka
}

TEST_F(ObjectsTest, ARightClickTurnsACobraToItsNextFacing) {
    Put({5, 5}, 0, 0, "123").Kind = fkCobra;
    for (const auto& [facing, back] : {std::pair{1, 2}, std::pair{5, 6}, std::pair{6, 1}}) {
        out_.CobraFacing[TRecordingOutput::Key({5, 5})] = facing;
        out_.CellEffectStarts.clear();
        rules_.RightMouseDownInGamePlay({5, 5}, now_);
        ASSERT_EQ(out_.CellEffectStarts.size(), 1u);
        EXPECT_EQ(out_.CellEffectStarts[0].File, "efCobraRotate.xml");
        EXPECT_EQ(out_.CellEffectStarts[0].At, Start - uint32_t(back % 6) * 5250) << facing;
    }
}

TEST_F(ObjectsTest, APyramidFliesToThePharaohAndMakesHimAsHappyAsHeCanBe) {
    play_.Game.Mood = 10;
    Put({5, 4}, 0, 0, "123").Kind = fkPyramid;
    rules_.ClickOnPyramid({5, 4}, now_);
    EXPECT_EQ(play_.Game.Mood, 1000);
    EXPECT_EQ(Cell({5, 4}).RemoveTime, int32_t(Start));
    const TScreenEffectOrder* flight = out_.FindEffect("PyramidMove", "efClickOnPyramid.xml");
    ASSERT_NE(flight, nullptr);
    EXPECT_EQ(flight->Path,
              "Path (294,227) ..\"0.5\" (100,100) --\"1\" (65,100) --\"0.5\" (65,100);");
}

TEST_F(ObjectsTest, ABonusGemBecomesTheObjectItsWeightsChoose) {
    Put({4, 4}, 0, 0, "1");
    Put({5, 4}, 0, 0, "23").Extras = feBonusGem;
    ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
    RunUntil(Start + 1060);  // removal without weights: a normal emptied cell
    EXPECT_NE(Cell({5, 4}).Kind, fkCoin);

    play_.Level.BonusGemWeights = {0, 0, 5};
    for (int round = 0; round < 3; ++round) {
        Shape(3, 9, 2, 7);
        Put({4, 4}, 0, 0, "1");
        Put({5, 4}, 0, 0, "23").Extras = feBonusGem;
        ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
        RunUntil(now_ + 1100);
        EXPECT_EQ(Cell({5, 4}).Kind, fkCoin);
        EXPECT_NE(Cell({5, 4}).Type, -1);  // objects keep a type
        EXPECT_EQ(out_.CellEffects[TRecordingOutput::Key({5, 4})], "efCoin.xml");
    }
}

TEST_F(ObjectsTest, AVerticalBombBreaksItsColumnButObjectsAndGhosts) {
    Put({4, 5}, 0, 0, "1");
    Put({5, 5}, 0, 0, "23").Extras = feVerticalBomb;  // odd column: (4, 5) touches it
    Put({5, 2}, 0, 0, "2", true);
    Cell({5, 7}).Kind = fkPyramid;
    ASSERT_TRUE(rules_.PutFishInsideFish({5, 5}, {4, 5}, now_));
    RunUntil(Start + 1060);  // the bomb's fishka is removed at +1060
    EXPECT_NE(out_.FindEffect("BombVert", "efVertBombShot.xml"), nullptr);
    EXPECT_TRUE(out_.HasSound("FishBombFire", -1));
    // The bomb's own cell stays pinned through this pass, so nothing has fallen yet.
    for (int row : {3, 4, 6}) EXPECT_EQ(Cell({5, row}).RemoveTime, int32_t(Start + 1560)) << row;
    EXPECT_EQ(Cell({5, 2}).RemoveTime, -1);
    EXPECT_EQ(Cell({5, 7}).RemoveTime, -1);
    EXPECT_EQ(out_.CellEffects[TRecordingOutput::Key({5, 6})], "efBreakFishka.xml");
}

TEST_F(ObjectsTest, AFishkaCompletedOnABombPlaceBreaksItsNeighbours) {
    play_.Level.BombPlaces = {{5, 4}};
    Put({4, 4}, 0, 0, "1");
    Put({5, 4}, 0, 0, "23");
    Cell({6, 4}).Kind = fkCoin;
    ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
    RunUntil(Start + 1310);  // removed at break time + 1000
    for (TCell cell : {TCell{4, 3}, TCell{4, 4}, TCell{6, 3}, TCell{5, 5}, TCell{5, 3}})
        EXPECT_EQ(Cell(cell).RemoveTime, int32_t(Start + 1810)) << cell.Col << cell.Row;
    EXPECT_EQ(Cell({6, 4}).RemoveTime, -1);  // the coin stays
    EXPECT_TRUE(out_.HasSound("BombCell", -1));
}
