// Resetting the play state and placing a level's fixed objects and pieces.
#include "rules/PlayState.h"

namespace {

bool IsObject(const TFish& fish) {
    return fish.Kind >= fkScarab0 && fish.Kind <= fkPyramid;
}

}  // namespace

void ClearPlayState(TPlayState& play) {
    TLevel& level = play.Level;
    level.LevelDone = false;
    level.ShowFinishBar = true;
    TGame& game = play.Game;
    game.SelectedCell = game.LastMoveCell = game.HoverCell = TCell{};
    game.PreviewGroup.clear();
    game.WillCompleteShown = false;
    game.ImpactSound = false;
    for (int col = 1; col <= BoardColumns; ++col) {
        for (int row = 1; row <= BoardRows; ++row) {
            level.Board.SetCellExists(col, row, false);
            TFish& fish = level.Board.Cell(col, row);
            fish.Kind = fkNormal;
            fish.MergeTime = -1;
            fish.SlideTarget.X = -1;
            fish.SlideTime = -1;
            fish.InGroup = false;
        }
    }
    level.Board.CountLevelNeighbours();
    level.BombPlaces.clear();
    level.CompleteFishes.clear();
    level.CompleteOn.clear();
    level.BonusGemWeights.clear();
    level.PopupWindows.clear();
    level.HintPath.clear();
    play.Game.SmartCount = 0;
    play.Game.MoveMade = false;
    play.Game.BoardCheckDue = false;
    play.Game.Mood = StartMood;
    play.Game.MoodState = StartMoodState;
}

TPlayEvents PlaceLevelObjects(TPlayState& play, const TLevelSetUp& setUp, uint32_t now) {
    TBoard& board = play.Level.Board;
    for (int col = 1; col <= BoardColumns; ++col) {
        for (int row = 1; row <= BoardRows; ++row) {
            TFish& fish = board.Cell(col, row);
            if (!IsObject(fish)) continue;
            fish.JumpBall = false;
            fish.Extras = 0;
        }
    }
    PutFishes(board, setUp.PutFishes);
    GiveObjectsAType(board);

    TPlayEvents events;
    for (const auto* cells : {&setUp.Scarabs, &setUp.Cobras, &setUp.Pyramids})
        for (const TCell& cell : *cells) events.emplace_back(TCellChangedEvent{cell});
    for (const TPutFish& piece : setUp.PutFishes) {
        if (piece.Jump) events.emplace_back(TCellEffectEvent{piece.Cell, JumpBallEffectFile, now});
        events.emplace_back(TCellChangedEvent{piece.Cell});
    }
    return events;
}
