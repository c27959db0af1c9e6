// Player names as the game accepts them from its edits: names end up in the players file, the
// high-score file and the options file, each with its own syntax, so the characters that would
// break one of them never get in.
#pragma once

#include <string>

// The name without control characters (below 32) and without the characters '"', '<' and '>'.
std::string CleanPlayerName(const std::string& name);
