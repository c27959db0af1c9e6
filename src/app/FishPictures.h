// The piece pictures the board draws, built in the surface store from the piece types: for each
// (type, colour) pair a level generates, the still picture and the animation strip of every
// combination of pieces, recoloured with the store's colour shift; and the ghost pictures of
// type 0, composed from its ghost pieces. Pictures are read from the archive by entry name;
// pictures that already exist are reused. Relies on TSurfEngine, TFileFolder and TFishkaTypes.
#pragma once

#include <string>
#include <vector>

#include "graphics/SurfEngine.h"
#include "resources/FileFolder.h"
#include "rules/FishkaTypes.h"
#include "rules/Level.h"

// "N" + mask + "c" + (colour + 1): the still picture of the pieces in mask (piece 1 = 1,
// piece 2 = 2, piece 3 = 4) of a type named N; + "anime" names its strip.
std::string FishPictureName(const TFishkaType& type, int mask, int color);
// "N" + mask + "cG": a ghost picture.
std::string GhostPictureName(const TFishkaType& type, int mask);
// N + "_" + the piece numbers of mask in ascending order + "_anime.png": the archive strip of a
// type whose pictures are not generated (mask 5 gives "N_13_anime.png").
std::string StripEntryName(const TFishkaType& type, int mask);

// Builds the pictures of every (type, colour) pair of `fishes` (colours 0-based). A type with
// MakeImages set colours its piece pictures and composes the combinations by its DrawSequence;
// any other type colours its archive strips, keeping frame 0 as the still picture. Pairs outside
// the types are ignored. Sets each type's PieceWidth and PieceHeight. Errors raise KelException
// "Exception error in TKelGameEngine.MakeColorFishesSurfaces!".
void BuildColorFishPictures(TSurfEngine& store, TFileFolder& archive, TFishkaTypes& types,
                            const std::vector<TFishSpec>& fishes);

// Builds the ghost pictures of type 0 (when there is one): each piece's picture from the entry
// Pictures[i] + "Ghost.png", each combination of two or more pieces composed by the
// DrawSequence. Errors raise KelException "Exception error in TKelGameEngine.MakeGhostFishes!".
void MakeGhostFishes(TSurfEngine& store, TFileFolder& archive, TFishkaTypes& types);
