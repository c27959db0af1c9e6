// The redraw grid.
#include "app/RedrawGrid.h"

#include <algorithm>

void TRedrawGrid::FillRect(const TRect& rect) {
    if (rect.IsEmpty()) return;
    const int left = std::max(1, rect.Left / TileSize + 1);
    const int right = std::min(Columns, rect.Right / TileSize + 1);
    const int top = std::max(1, rect.Top / TileSize + 1);
    const int bottom = std::min(Rows, rect.Bottom / TileSize + 1);
    for (int j = top; j <= bottom; ++j)
        for (int i = left; i <= right; ++i) tiles_[Index(i, j)] = 2;
}

void TRedrawGrid::Fill(uint8_t value) {
    tiles_.fill(value);
}

TRect TRedrawGrid::RunRect(int a, int b, int j) {
    return {TileSize * (a - 1), TileSize * (j - 1), TileSize * b - 1, TileSize * j - 1};
}

void TRedrawGrid::ForEachRun(const std::function<void(int, int, int)>& run) {
    for (int j = 1; j <= Rows; ++j) {
        for (int i = 1; i <= Columns;) {
            if (tiles_[Index(i, j)] == 0) {
                ++i;
                continue;
            }
            const int start = i;
            while (i <= Columns && tiles_[Index(i, j)] > 0) ++i;
            run(start, i - 1, j);
            ++i;  // the tile after a run is clean or past the row
        }
    }
}

std::vector<TRect> TRedrawGrid::MakeRects() {
    std::vector<TRect> rects;
    ForEachRun([&](int a, int b, int j) {
        rects.push_back(RunRect(a, b, j));
        for (int i = a; i <= b; ++i) --tiles_[Index(i, j)];
    });
    return rects;
}

void TRedrawGrid::RestoreRuns(const std::function<void(const TRect&)>& restore) {
    ForEachRun([&](int a, int b, int j) {
        restore(RunRect(a, b, j));
        // The tile after the run is presented with it.
        tiles_[Index(std::min(b + 1, Columns), j)] = 1;
    });
}
