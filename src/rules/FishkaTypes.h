// Piece types: the kinds of fishka, each made of up to three nested pieces with eight colour
// variants, read from the archive entry "FishkaTypes.xml". A type is referred to by its index.
// Values that would index outside the model (piece numbers, colour slots, piece counts) are
// refused at load time, so the rest of the game can rely on them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/KelParser.h"
#include "rules/Board.h"

struct TFishColor {
    std::string PostFix;
    int32_t Hue = 0, Saturation = 0, Lightness = 0;
};

struct TDrawStep {
    int32_t Num = 0;                          // piece number 1..3; 0 for a step of another kind
    int32_t X1 = -1, Y1 = 0, X2 = 0, Y2 = 0;  // X1 = -1: no placement given
};

constexpr int MaxPieces = 3;
constexpr int MaxColors = 8;

struct TFishkaType {
    std::string Name;
    uint8_t PieceCount = 0;
    uint8_t ColorCount = 0;
    int32_t PieceWidth = 0, PieceHeight = 0;
    std::array<std::string, MaxPieces + 1> Pictures;  // pieces 1..3 (index 0 unused)
    std::array<TFishColor, MaxColors> Colors;
    std::vector<TDrawStep> DrawSequence;
    bool MakeImages = true;
    int32_t FrameCount = 0;
    // FrameCount as a divisor: at least 1.
    int32_t Frames() const { return FrameCount < 1 ? 1 : FrameCount; }
};

using TFishkaTypes = std::vector<TFishkaType>;

// Appends the types of a "FishkaTypes.xml" document. A document whose first element is not
// "FishkaTypes" adds nothing. Values outside the model are skipped and described in
// `problems` when given (a Piece or DrawPiece number outside 1..3, Colors children past the
// eighth). Errors (no element at all, a number that is not one, a PieceCount outside 1..3) raise
// KelException "Exception error in TKelGameEngine.LoadFishkaTypes!"; the types appended before
// stay.
void ReadFishkaTypes(TKelParser& document, TFishkaTypes& types,
                     std::vector<std::string>* problems = nullptr);

// Whether (type, colour) names an existing type and one of its colours.
bool ValidFishkaColor(const TFishkaTypes& types, int type, int color);

// A cell that shows every piece of its type; an empty cell is not full.
bool FullFishka(const TFish& fish, const TFishkaTypes& types);
// A cell whose pending merge (Will) makes it complete; false for a cell without a type.
bool FullMakeFishka(const TFish& fish, const TFishkaTypes& types);
