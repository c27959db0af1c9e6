// The screen's side of the board: per cell the picture that shows it and its size, the animation
// frame, the picture flying into it and the effects attached to it; and the hover cell and the
// group previewed under the mouse. The rules' cell records (rules/Board.h) say what a cell holds;
// this says how it looks. Relies on the board's dimensions and the particle effects.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Geometry.h"
#include "fx/KelFXParticles.h"
#include "rules/Board.h"

struct TCellView {
    std::string SurfName;
    int32_t PicWidth = 0, PicHeight = 0;
    int32_t Frame = 0;
    TPoint FlyFrom, FlyHalfSize;
    std::string FlyPicture;  // empty when nothing flies into the cell
    std::unique_ptr<TKelParticleEffect> Effect, Effect2;
    std::string EffectFile;  // the file Effect was made from; empty without one
};

class TBoardView {
  public:
    // The view of cell (col, row); raises std::out_of_range for a cell off the board.
    TCellView& Cell(int col, int row) { return cells_.at(Index(col, row)); }
    const TCellView& Cell(int col, int row) const { return cells_.at(Index(col, row)); }
    // Frees every cell's effects (no end callback runs). Picture names stay until the cells
    // are named again.
    void Clear();

  private:
    static size_t Index(int col, int row);
    std::array<TCellView, BoardColumns * BoardRows> cells_;
};
