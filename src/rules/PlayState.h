// TPlayState: what the puzzle decides while a level is played, the level record (with its board)
// and the game record, and the start of a level on it: the reset before a level is read and the
// placing of what the level description fixes. Rules that change the state take it with the
// clock ("now") and answer the events the screen shows. Relies on the level and game records and
// on the play events.
#pragma once

#include <cstdint>

#include "rules/Game.h"
#include "rules/Level.h"
#include "rules/PlayEvents.h"

struct TPlayState {
    TLevel Level;
    TGame Game;
};

// The reset before a level is set up: LevelDone, the selection, every cell's shape flag, kind,
// merge and slide timers and group flag, the neighbour table, the level's lists, the move
// counters and the Pharaoh's mood. Types, colours and pieces of the cells stay; the set-up
// overwrites them.
void ClearPlayState(TPlayState& play);

// Puts onto the board what a level description fixes, after ReadPuzzleLevel: every object of
// kinds scarab to pyramid sheds its jump ball and extras, the fixed pieces are placed and objects
// without a type get type 0. Answers, in this order, a change of every scarab, cobra and pyramid
// cell, then for each fixed piece the jump ball effect started at `now` when it carries one and
// a change of its cell.
TPlayEvents PlaceLevelObjects(TPlayState& play, const TLevelSetUp& setUp, uint32_t now);
