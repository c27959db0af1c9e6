// The screen's per-cell state of the board.
#include "app/BoardView.h"

#include <stdexcept>

size_t TBoardView::Index(int col, int row) {
    if (!TBoard::InRange(col, row)) throw std::out_of_range("cell outside the board");
    return size_t((col - 1) * BoardRows + (row - 1));
}

void TBoardView::Clear() {
    for (TCellView& cell : cells_) {
        cell.Effect.reset();
        cell.Effect2.reset();
        cell.EffectFile.clear();
    }
}
