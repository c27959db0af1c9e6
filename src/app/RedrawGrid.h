// TRedrawGrid: which parts of the screen changed. The screen is cut into 40 x 30 tiles of 20 x 20
// pixels; a tile holds 2 when it was marked in this frame, 1 when it was marked in the previous
// one (it is presented once more) and 0 when it is clean. Each frame restores the background
// under the marked tiles, draws, then turns the marked tiles into the rectangles to present and
// ages them. Rectangles are inclusive, as everywhere. Relies on the geometry types of core.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/Geometry.h"

class TRedrawGrid {
  public:
    static constexpr int Columns = 40, Rows = 30, TileSize = 20;

    // Marks (with 2) every tile the rectangle touches; parts off the screen and an inverted
    // rectangle mark nothing.
    void FillRect(const TRect& rect);
    // Sets every tile to `value` (2 marks the whole screen).
    void Fill(uint8_t value);
    // The runs of marked tiles, row by row, as rectangles (at most 600); every marked tile is
    // aged by one.
    std::vector<TRect> MakeRects();
    // Hands the rectangle of every run of marked tiles to `restore` (which copies the background
    // there); the tile where a run ends (the first one after it, or the last of the row) is set
    // to 1.
    void RestoreRuns(const std::function<void(const TRect&)>& restore);

    // Tile (i, j), both counted from 1.
    uint8_t Tile(int i, int j) const { return tiles_[Index(i, j)]; }

  private:
    static size_t Index(int i, int j) { return size_t(j - 1) * Columns + size_t(i - 1); }
    // Calls run(a, b, j) for every run a..b of marked tiles of row j, rows top down; the scan
    // goes on after the tile that follows each run, which `run` may mark.
    void ForEachRun(const std::function<void(int, int, int)>& run);
    // The rectangle of tiles a..b of row j.
    static TRect RunRect(int a, int b, int j);
    std::array<uint8_t, Columns * Rows> tiles_{};
};
