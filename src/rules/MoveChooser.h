// The moves a board offers and how a capable player weighs them: for the level bot every merge
// the rules would accept between two cells of the playing rows, ranked (completions first, larger
// groups and marked cells before others, then merges that leave a completion one move away, then
// merges that gather pieces), and the objects worth a click when no merge is worth making. Reads
// the board only; ties are broken by the caller's random source, so a seed gives one game.
#pragma once

#include <vector>

#include "core/Random.h"
#include "rules/FishkaTypes.h"
#include "rules/Level.h"

struct TChosenMove {
    enum TKind { None, Merge, Object } Kind = None;
    TCell From, To;  // a merge moves From into To; an object click uses From
    int Worth = 0;
};

// The board is quiet: nothing merging, breaking, falling, sliding or hidden at `now`, so a move
// sees the fishkas the player sees.
bool BoardQuiet(const TBoard& board, int64_t now);

// Whether moving the pieces of `from` into `to` is a merge the rules accept.
bool MergeAllowed(const TFish& from, const TFish& to, const TFishkaTypes& types);

// Every accepted merge with its worth, best first (ties in board order).
std::vector<TChosenMove> RankMerges(const TLevel& level, const TFishkaTypes& types);

// The move to make now: the best merge (a random one among equals), else a click on a pyramid
// or cobra, else a scarab's turn, else a merge the rules refuse (worth -1), which makes
// the rules renew a board without moves; None when the board has no two neighbouring fishkas.
TChosenMove ChooseMove(const TLevel& level, const TFishkaTypes& types, IRandom& random);
