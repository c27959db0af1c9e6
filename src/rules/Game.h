// TGame: the record of the running game that the rules and the screens share: the game state,
// the mode, the score, the level numbers, the player's settings, the selection and move state of
// the board and the Pharaoh's mood. Relies on the board's cell type only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rules/Board.h"

enum TGameState : uint8_t {
    gsNone = 0,
    gsGame = 1,
    gsBetweenLevels = 3,
    gsPause = 4,
    gsMenu = 5,
    gsInstructions = 6,
};

// The Pharaoh's mood after a level is cleared, and its state then (happy).
constexpr int32_t StartMood = 716;
constexpr int32_t StartMoodState = 5;

struct TGame {
    TGameState State = gsNone;
    TGameState ResumeState = gsNone;
    uint8_t GameMode = 0;  // 0 Action, 1 Relax
    int32_t Score = 0, PrevScore = 0;
    int32_t CurrentLevel = 0;  // newest level reached; 0 = no game in progress
    int32_t SelectedLevel = 0;
    int32_t HoveredLevel = -1;  // the level-map position under the mouse, -1 none
    uint32_t LevelStartTime = 0;
    bool ShowInstructions = true, ShowHints = true;

    // The board's selection and the last move.
    TCell SelectedCell, LastMoveCell;
    // The keyboard cursor's cell and the clock value of the last cursor key (-1: off).
    TCell KeyCursor{4, 4};
    int32_t KeyCursorTime = -1;
    // A move was tried with the mouse since the last check for a possible move.
    bool MoveMade = false;
    // The board is to be looked at for any move left once it is quiet: set by every move tried
    // (mouse or keyboard) and by a renewal of the board.
    bool BoardCheckDue = false;
    // Landing fishkas play "Impact" once the level's first fishka has completed.
    bool ImpactSound = false;
    int32_t SmartCount = 0;
    // What the last check for moves found, for the diagnostic caption.
    std::string DebugText;

    // The cell under the mouse or the keyboard cursor, since when, and the cells framed as the
    // group a move there would complete (or the hovered cell alone).
    TCell HoverCell;
    uint32_t HoverStart = 0;
    std::vector<TCell> PreviewGroup;
    bool WillCompleteShown = false;

    int32_t Mood = StartMood, MoodState = StartMoodState;
    int64_t MoodTickTime = 0;    // the next once-a-second mood update is due after this tick
    int64_t MoodHoldUntil = -1;  // the mood does not change before this tick
    int64_t AlertTime = -1;      // the next "Alert" of the angry Pharaoh is due after this tick
    // A completed level lets the game into the high scores.
    bool AddToHighScore = false;
    // The current player (empty when none) and the one before the change-player window opened.
    std::string CurrentPlayerName, NameBeforeChange;
    // The hints already shown to the player, one bit each for the numbers 0 to 7.
    uint8_t HintsShowed = 0;
};
