#include <gtest/gtest.h>

#include <tuple>

#include "support/PlayRulesFixture.h"

using PlayTimersTest = PlayRulesTest;

namespace {

// Marks a cell's fishka by its colour so the test can follow where it falls.
void Mark(TFish& fish, int marker) {
    fish.Type = 1;
    fish.Color = uint8_t(marker);
    fish.Has = {false, true, false, false};
}

}  // namespace

TEST_F(PlayTimersTest, FishkasAboveAPinnedDestinationFallPastIt) {
    for (int row = 2; row <= 7; ++row) Mark(Cell({5, row}), row);
    Cell({5, 4}).Pinned = true;  // a destination waiting for its merge
    Cell({5, 6}).Type = -1;      // emptied below it
    rules_.MakeDownFallCow(5, now_);
    EXPECT_EQ(Cell({5, 7}).Color, 7);
    EXPECT_EQ(Cell({5, 6}).Color, 5);
    EXPECT_EQ(Cell({5, 5}).Color, 3);
    EXPECT_EQ(Cell({5, 4}).Color, 4);
    EXPECT_FALSE(Cell({5, 4}).Falling);
    EXPECT_EQ(Cell({5, 3}).Color, 2);
    // The top cell gets a new fishka from the level's list (type 0), falling from above it.
    EXPECT_EQ(Cell({5, 2}).Type, 0);
    EXPECT_TRUE(Cell({5, 2}).Falling);
    // A fishka starts where it rested: the centre of its old row less half its picture.
    EXPECT_EQ(Cell({5, 5}).FallY, 73 * 3 - 29 - 36 - 32);
    EXPECT_EQ(Cell({5, 2}).FallY, 73 * 0 - 29 - 36 - 32);
    EXPECT_FALSE(Cell({5, 4}).Pinned);  // released once the column has collapsed
}

TEST_F(PlayTimersTest, FishkasFallAcrossACellOutsideTheShape) {
    for (int row = 2; row <= 7; ++row) Mark(Cell({5, row}), row);
    play_.Level.Board.SetCellExists(5, 4, false);
    play_.Level.Board.CountLevelNeighbours();
    Cell({5, 5}).Type = -1;
    rules_.MakeDownFallCow(5, now_);
    EXPECT_EQ(Cell({5, 5}).Color, 3);
    EXPECT_EQ(Cell({5, 4}).Color, 4);  // untouched
    EXPECT_EQ(Cell({5, 3}).Color, 2);
    EXPECT_EQ(Cell({5, 2}).Type, 0);
}

TEST_F(PlayTimersTest, AKeptJumpBallGoesToTheFishkaThatFillsTheCell) {
    for (int row = 2; row <= 7; ++row) Mark(Cell({5, row}), row);
    // One cell is filled from above, the other with a new fishka.
    Cell({5, 5}).Type = -1;
    Cell({5, 5}).KeepJumpBall = true;
    Cell({5, 2}).Type = -1;
    Cell({5, 2}).KeepJumpBall = true;
    rules_.MakeDownFallCow(5, now_);
    for (TCell cell : {TCell{5, 5}, TCell{5, 2}}) {
        EXPECT_TRUE(Cell(cell).JumpBall);
        EXPECT_FALSE(Cell(cell).KeepJumpBall);
        EXPECT_EQ(out_.CellEffects[TRecordingOutput::Key(cell)], JumpBallEffectFile);
    }
    EXPECT_EQ(Cell({5, 5}).Color, 4);
}

TEST_F(PlayTimersTest, FallingFishkasLandOnThePassTheirTopReachesTheCellsTop) {
    const int top = 73 * 4 - 65 - 36;  // cell (5, 4)
    TFish& fish = Cell({5, 4});
    fish.Falling = true;
    fish.FallY = top - 5;
    // At 10 ms per pass the speed grows by 0.7 a pass: steps of 1, 1, 2, 3 pixels.
    for (int pass = 1; pass <= 3; ++pass) {
        EXPECT_TRUE(rules_.TickFallFishes(10));
        EXPECT_TRUE(fish.Falling) << pass;
    }
    EXPECT_EQ(fish.FallY, top - 1);
    EXPECT_NEAR(fish.FallSpeed, 2.1, 1e-9);
    EXPECT_TRUE(rules_.TickFallFishes(10));
    EXPECT_FALSE(fish.Falling);
    EXPECT_EQ(fish.FallSpeed, 0);
    EXPECT_FALSE(out_.HasSound("Impact", -1));  // no completion yet this level
    EXPECT_FALSE(rules_.TickFallFishes(10));

    play_.Game.ImpactSound = true;
    fish.Falling = true;
    fish.FallY = top;
    rules_.TickFallFishes(10);
    EXPECT_TRUE(out_.HasSound("Impact", -1));
}

TEST_F(PlayTimersTest, TheLevelIsWonOnceTheLastRemovalAndFallAreOver) {
    play_.Level.Progress = 9;
    Put({4, 4}, 0, 0, "1");
    Put({5, 4}, 0, 0, "23");
    Put({6, 4}, 0, 0, "23");  // a group of two
    ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
    RunUntil(Start + 410);
    EXPECT_EQ(play_.Level.Progress, 10);  // the second completion finds the bar full
    EXPECT_FALSE(play_.Level.LevelDone);
    RunUntil(Start + 1160);
    EXPECT_TRUE(play_.Level.LevelDone);
    EXPECT_EQ(out_.LevelCompletes, 0);  // new fishkas are still falling
    RunUntil(Start + 4000);
    EXPECT_GT(out_.LevelCompletes, 0);
}

TEST_F(PlayTimersTest, AMergeThatDoesNotCompleteSpinsThePiecesAndReleasesTheCell) {
    Put({4, 4}, 0, 0, "1");
    Put({5, 4}, 0, 0, "3");
    ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
    EXPECT_TRUE(out_.HasSound("Insert", Start + 300));
    RunUntil(Start + 310);
    EXPECT_EQ(Pieces(Cell({5, 4}).Has), "13");
    EXPECT_FALSE(Cell({5, 4}).Pinned);
    EXPECT_EQ(Cell({5, 4}).HiddenUntil, int32_t(Start + 610));
    const TScreenEffectOrder* spin = out_.FindEffect("efBallsRotation.xml", "efBallsRotation.xml");
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->Picture, "t0p13c1anime");
    EXPECT_EQ(spin->Start, Start + 310);
    EXPECT_GT(out_.HoverAgainCalls, 0);  // the preview follows the new board
    RunUntil(Start + 620);
    EXPECT_EQ(Cell({5, 4}).HiddenUntil, -1);
}

TEST_F(PlayTimersTest, AFishkaCompletedOnABombPlaceWaitsASecond) {
    play_.Level.BombPlaces = {{5, 4}};
    Put({4, 4}, 0, 0, "1");
    Put({5, 4}, 0, 0, "23");
    ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
    RunUntil(Start + 310);
    EXPECT_EQ(Cell({5, 4}).RemoveTime, int32_t(Start + 1300));
    const TScreenEffectOrder* bomb = out_.FindEffect("5,4", "efBomb1.xml");
    const TScreenEffectOrder* place = out_.FindEffect("5,4", "efBombPlace.xml");
    ASSERT_TRUE(bomb && place);
    EXPECT_EQ(std::tuple(bomb->Start, bomb->FirstSystemPicture),
              std::tuple(Start + 300, std::string("t0p123c1anime")));
    EXPECT_EQ(place->Start, Start + 1300);
}
