// The board of the puzzle: 13 columns by 9 rows of hexagonal cells (both counted from 1), the
// cell record TFish (what the rules decide about a cell; how it is shown is the screen's), the
// board's shape, its neighbour table and its geometry on the screen (columns 65 pixels apart,
// rows 73 apart, odd columns raised by 36 pixels). Relies on the geometry types of core.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/Geometry.h"

constexpr int BoardColumns = 13;
constexpr int BoardRows = 9;

// What a cell holds besides a normal fishka.
enum TFishKind : uint8_t {
    fkNormal = 0,
    fkGhost = 1,
    fkScarab0 = 2,
    fkScarab60 = 3,
    fkScarab300 = 4,
    fkCobra = 5,
    fkPyramid = 6,
    fkCoin = 7,
};

// Bits of TFish::Extras.
enum TFishExtra : uint8_t {
    feVerticalBomb = 1,
    feBomb25 = 2,  // along neighbour directions 2 and 5
    feBomb36 = 4,  // along neighbour directions 3 and 6
    feBonusGem = 8,
};

// The still picture of a scarab cell (kinds fkScarab0, fkScarab60, fkScarab300).
const char* ScarabPictureName(uint8_t kind);
// The effect a cobra, pyramid or coin cell shows.
const char* ObjectEffectFile(uint8_t kind);
// The effect a fishka carrying a jump ball shows.
constexpr const char* JumpBallEffectFile = "efJumpBall.xml";

struct TDoublePoint {
    double X = 0, Y = 0;
};

// One cell as the rules see it. Ticks are absolute milliseconds of the game clock; -1 means none.
struct TFish {
    TDoublePoint SlidePos;
    int32_t Type = -1;  // piece type index; -1 = empty
    uint8_t Color = 0;
    uint8_t Extras = 0;
    bool JumpBall = false;
    std::array<bool, 4> Has{};   // pieces 1..3 shown now (index 0 unused)
    std::array<bool, 4> Will{};  // pieces 1..3 held once the pending merge applies
    int32_t MergeTime = -1;
    int32_t FromSide = 0;
    int32_t RemoveTime = -1;
    int32_t BreakTime = -1;
    bool Animate = false;
    bool ShiftRefill = false;
    bool Pinned = false;
    uint8_t Kind = fkNormal;
    int32_t HiddenUntil = -1;
    int32_t SlideTime = -1;
    TPoint SlideTarget;
    bool Falling = false;
    bool KeepJumpBall = false;
    int32_t FallY = 0;
    double FallSpeed = 0;
    bool InGroup = false;
    int32_t GroupClass = 0;
};

// A cell position; (-1, -1) is none.
struct TCell {
    int Col = -1, Row = -1;
    bool operator==(const TCell&) const = default;
    bool IsNone() const { return Col < 0 || Row < 0; }
};

class TBoard {
  public:
    TBoard();
    static bool InRange(int col, int row) {
        return col >= 1 && col <= BoardColumns && row >= 1 && row <= BoardRows;
    }
    TFish& Cell(int col, int row) { return cells_.at(Index(col, row)); }
    const TFish& Cell(int col, int row) const { return cells_.at(Index(col, row)); }
    bool CellExists(int col, int row) const {
        return InRange(col, row) && exists_[Index(col, row)];
    }
    void SetCellExists(int col, int row, bool exists) { exists_.at(Index(col, row)) = exists; }
    // Slot 1..6: up, up-right, down-right, down, down-left, up-left. None for a cell off the
    // board or a slot outside 1..6.
    TCell Neighbour(int col, int row, int slot) const;

    // Empties every cell and the shape.
    void Clear();
    // Fills the neighbour table from the shape: in each direction the nearest cell of the
    // shape, across gaps.
    void CountLevelNeighbours();
    // True when a is one of the six neighbours of b; false when either is off the board.
    bool NeighboursPoints(TCell a, TCell b) const;
    // The slot s with Neighbour(b, s) == a, or -1 (always -1 when either is off the board, so
    // none never matches an empty slot).
    int NeighboursSide(TCell a, TCell b) const;
    // True when b is one of a's six neighbours and at most one column and one row away: b is
    // adjacent to a, and a move from a may go to b. Not symmetric: column 13 is never a
    // right-hand neighbour, so a move from column 13 may go to column 12 but not back.
    bool Adjacent(TCell a, TCell b) const;

  private:
    static size_t Index(int col, int row);
    std::array<TFish, BoardColumns * BoardRows> cells_;
    std::array<bool, BoardColumns * BoardRows> exists_{};
    std::array<std::array<TCell, 7>, BoardColumns * BoardRows> neighbours_;
};

// Both cells on the board and at most one column and one row apart (the rules call such cells
// near); none is near nothing.
bool Near(TCell a, TCell b);

// Screen geometry of cell (col, row).
TPoint CellCentre(int col, int row);
// The cell's box for redrawing, Right and Bottom inclusive: 65 pixels wide, 73 high.
TRect CellBox(int col, int row);

// The cell whose centre lies less than 37 pixels (rounded distance) from the point; rows first,
// then columns; (-1, -1) when none. The board's shape is not considered.
TCell FoundMoouseOverFish(TPoint mouse);
