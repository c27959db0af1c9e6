// Board shape, neighbour table and geometry.
#include "rules/Board.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

TBoard::TBoard() {
    Clear();
}

size_t TBoard::Index(int col, int row) {
    if (!InRange(col, row)) throw std::out_of_range("cell outside the board");
    return size_t((col - 1) * BoardRows + (row - 1));
}

void TBoard::Clear() {
    cells_.fill(TFish{});
    exists_.fill(false);
    for (auto& slots : neighbours_) slots.fill(TCell{});
}

void TBoard::CountLevelNeighbours() {
    for (auto& slots : neighbours_) slots.fill(TCell{});
    for (int c = 1; c <= BoardColumns; ++c) {
        for (int r = 1; r <= BoardRows; ++r) {
            if (!CellExists(c, r)) continue;
            auto& slots = neighbours_[Index(c, r)];
            const bool odd = c % 2 == 1;
            for (int row = r - 1; row >= 1 && slots[1].IsNone(); --row)
                if (CellExists(c, row)) slots[1] = {c, row};
            for (int row = r + 1; row <= BoardRows && slots[4].IsNone(); ++row)
                if (CellExists(c, row)) slots[4] = {c, row};
            // Right-hand walks stop before column 13, which is never a right-hand neighbour.
            for (int cc = c + 1; cc < BoardColumns; ++cc) {
                const int k = odd ? (cc - c + 1) / 2 : (cc - c) / 2;
                if (r - k < 1) break;
                if (CellExists(cc, r - k)) {
                    slots[2] = {cc, r - k};
                    break;
                }
            }
            for (int cc = c + 1; cc < BoardColumns; ++cc) {
                const int k = odd ? (cc - c) / 2 : (cc - c + 1) / 2;
                if (r + k > BoardRows) break;
                if (CellExists(cc, r + k)) {
                    slots[3] = {cc, r + k};
                    break;
                }
            }
            for (int cc = c - 1; cc > 0; --cc) {
                const int k = odd ? (c - cc) / 2 : (c - cc + 1) / 2;
                if (r + k > BoardRows) break;
                if (CellExists(cc, r + k)) {
                    slots[5] = {cc, r + k};
                    break;
                }
            }
            for (int cc = c - 1; cc > 0; --cc) {
                const int k = odd ? (c - cc + 1) / 2 : (c - cc) / 2;
                if (r - k < 1) break;
                if (CellExists(cc, r - k)) {
                    slots[6] = {cc, r - k};
                    break;
                }
            }
        }
    }
}

TCell TBoard::Neighbour(int col, int row, int slot) const {
    if (!InRange(col, row) || slot < 1 || slot > 6) return {};
    return neighbours_[Index(col, row)][size_t(slot)];
}

int TBoard::NeighboursSide(TCell a, TCell b) const {
    if (!InRange(a.Col, a.Row) || !InRange(b.Col, b.Row)) return -1;
    for (int slot = 1; slot <= 6; ++slot)
        if (Neighbour(b.Col, b.Row, slot) == a) return slot;
    return -1;
}

bool TBoard::NeighboursPoints(TCell a, TCell b) const {
    return NeighboursSide(a, b) > 0;
}

bool Near(TCell a, TCell b) {
    if (!TBoard::InRange(a.Col, a.Row) || !TBoard::InRange(b.Col, b.Row)) return false;
    return std::abs(a.Col - b.Col) <= 1 && std::abs(a.Row - b.Row) <= 1;
}

bool TBoard::Adjacent(TCell a, TCell b) const {
    return NeighboursPoints(b, a) && Near(a, b);
}

static int Raise(int col) {
    return col % 2 == 1 ? 36 : 0;
}

TPoint CellCentre(int col, int row) {
    return {65 * col - 31, 73 * row - 29 - Raise(col)};
}

TRect CellBox(int col, int row) {
    const int left = 65 * col - 63, top = 73 * row - 65 - Raise(col);
    return {left, top, left + 64, top + 72};
}

TCell FoundMoouseOverFish(TPoint mouse) {
    for (int row = 1; row <= BoardRows; ++row) {
        for (int col = 1; col <= BoardColumns; ++col) {
            const TPoint centre = CellCentre(col, row);
            const double distance =
                std::hypot(double(mouse.X - centre.X), double(mouse.Y - centre.Y));
            if (std::nearbyint(distance) < 37) return {col, row};
        }
    }
    return {};
}

const char* ScarabPictureName(uint8_t kind) {
    switch (kind) {
        case fkScarab0:
            return "ScarabBonus0.png";
        case fkScarab60:
            return "ScarabBonus60.png";
        default:
            return "ScarabBonus300.png";
    }
}

const char* ObjectEffectFile(uint8_t kind) {
    return kind == fkCobra ? "efCobraRotate.xml" : kind == fkCoin ? "efCoin.xml" : "efPyramid.xml";
}
