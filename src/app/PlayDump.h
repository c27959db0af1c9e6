// The play state as text, as the play tool and the game's scripted mode print it: one line with
// the clock of the level, the score, the bar, the mood, the selection; one line for every cell of
// the board's shape, row by row; and "end".
#pragma once

#include <cstdint>
#include <string>

#include "rules/PlayState.h"

// `now` is the game clock; the first line gives it relative to the level's start.
std::string PlayDump(const TPlayState& play, uint32_t now);
