#include "rules/PlayState.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(PlayStateTest, ClearingResetsTheLevelButKeepsWhatTheSetUpOverwrites) {
    TPlayState play;
    TBoard& board = play.Level.Board;
    board.SetCellExists(3, 3, true);
    board.SetCellExists(3, 4, true);
    board.CountLevelNeighbours();
    TFish& fish = board.Cell(3, 3);
    fish.Type = 1;
    fish.Color = 2;
    fish.Has = {false, true, true, false};
    fish.MergeTime = 900;
    fish.Kind = fkCobra;
    fish.SlideTime = fish.SlideTarget.X = 40;
    fish.InGroup = true;
    play.Level.LevelDone = true;
    play.Level.BombPlaces = {{1, 1}};
    play.Level.CompleteOn = {{2, 2}};
    play.Level.CompleteFishes = {{0, 0}};
    play.Level.BonusGemWeights = {1, 2, 3};
    play.Level.PopupWindows = {{"A", 1, 1}};
    play.Game.SelectedCell = {3, 3};
    play.Game.SmartCount = 4;
    play.Game.MoveMade = true;
    play.Game.BoardCheckDue = true;
    play.Game.Mood = 10;
    play.Game.MoodState = 1;

    ClearPlayState(play);
    EXPECT_FALSE(play.Level.LevelDone);
    EXPECT_FALSE(board.CellExists(3, 3));
    EXPECT_TRUE(board.Neighbour(3, 3, 4).IsNone());
    EXPECT_EQ(fish.Kind, fkNormal);
    EXPECT_EQ(std::tuple(fish.MergeTime, fish.SlideTime, fish.SlideTarget.X),
              std::tuple(-1, -1, -1));
    EXPECT_FALSE(fish.InGroup);
    EXPECT_EQ(std::tuple(fish.Type, fish.Color), std::tuple(1, 2));
    EXPECT_TRUE(fish.Has[1] && fish.Has[2]);
    for (bool empty : {play.Level.BombPlaces.empty(), play.Level.CompleteOn.empty(),
                       play.Level.CompleteFishes.empty(), play.Level.BonusGemWeights.empty(),
                       play.Level.PopupWindows.empty()})
        EXPECT_TRUE(empty);
    EXPECT_TRUE(play.Game.SelectedCell.IsNone());
    EXPECT_EQ(play.Game.SmartCount, 0);
    EXPECT_FALSE(play.Game.MoveMade);
    EXPECT_FALSE(play.Game.BoardCheckDue);
    EXPECT_EQ(std::tuple(play.Game.Mood, play.Game.MoodState),
              std::tuple(StartMood, StartMoodState));
}

TEST(PlayStateTest, PlacingTheLevelsObjectsAnswersWhatTheScreenShows) {
    TPlayState play;
    TBoard& board = play.Level.Board;
    // Objects shed jump balls and extras left from before; fishkas keep theirs.
    for (TCell cell : {TCell{4, 4}, TCell{5, 5}, TCell{6, 6}, TCell{7, 7}}) {
        board.Cell(cell.Col, cell.Row).JumpBall = true;
        board.Cell(cell.Col, cell.Row).Extras = feBonusGem;
    }
    board.Cell(4, 4).Kind = fkScarab60;
    board.Cell(5, 5).Kind = fkCobra;
    board.Cell(6, 6).Kind = fkPyramid;
    TLevelSetUp setUp;
    setUp.Scarabs = {{4, 4}};
    setUp.Cobras = {{5, 5}};
    setUp.Pyramids = {{6, 6}};
    TPutFish jumper{
        .Cell = {2, 2}, .Fish = {1, 0}, .Has = {false, true, false, true}, .Jump = true};
    TPutFish ghost{.Cell = {3, 2}, .Fish = {0, 1}, .Has = {false, false, true}, .Ghost = true};
    setUp.PutFishes = {jumper, ghost};

    const TPlayEvents events = PlaceLevelObjects(play, setUp, 5000);
    const TPlayEvents expected{
        TCellChangedEvent{{4, 4}}, TCellChangedEvent{{5, 5}},
        TCellChangedEvent{{6, 6}}, TCellEffectEvent{{2, 2}, JumpBallEffectFile, 5000},
        TCellChangedEvent{{2, 2}}, TCellChangedEvent{{3, 2}},
    };
    EXPECT_EQ(events, expected);
    for (TCell object : {TCell{4, 4}, TCell{5, 5}, TCell{6, 6}}) {
        const TFish& fish = board.Cell(object.Col, object.Row);
        EXPECT_FALSE(fish.JumpBall) << object.Col;
        EXPECT_EQ(fish.Extras, 0) << object.Col;
        EXPECT_EQ(fish.Type, 0) << object.Col;  // objects never count as empty cells
    }
    EXPECT_TRUE(board.Cell(7, 7).JumpBall);
    EXPECT_EQ(board.Cell(7, 7).Extras, feBonusGem);
    EXPECT_EQ(board.Cell(7, 7).Type, -1);
    EXPECT_TRUE(board.Cell(2, 2).JumpBall);
    EXPECT_EQ(board.Cell(2, 2).Has, jumper.Has);
    EXPECT_EQ(board.Cell(3, 2).Kind, fkGhost);
    EXPECT_EQ(std::tuple(board.Cell(3, 2).Type, board.Cell(3, 2).Color), std::tuple(0, 1));
}
