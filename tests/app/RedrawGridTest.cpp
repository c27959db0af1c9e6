#include "app/RedrawGrid.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(RedrawGridTest, MarksTheTilesARectangleTouches) {
    struct Case {
        TRect Rect;
        int FirstCol, LastCol, FirstRow, LastRow;  // marked tiles, 0 for none
    } cases[] = {
        {{0, 0, 0, 0}, 1, 1, 1, 1},
        {{19, 19, 20, 20}, 1, 2, 1, 2},          // the last pixel of a tile and the next one
        {{67, 8, 131, 80}, 4, 7, 1, 5},          // a cell box
        {{-30, -30, 5, 5}, 1, 1, 1, 1},          // cut at the top left
        {{790, 590, 900, 700}, 40, 40, 30, 30},  // cut at the bottom right
        {{0, 0, 799, 599}, 1, 40, 1, 30},
        {{820, 0, 900, 10}, 0, 0, 0, 0},  // wholly right of the screen
        {{10, 0, 5, 19}, 0, 0, 0, 0},     // right < left, within one tile
    };
    for (const Case& c : cases) {
        TRedrawGrid grid;
        grid.FillRect(c.Rect);
        for (int j = 1; j <= TRedrawGrid::Rows; ++j)
            for (int i = 1; i <= TRedrawGrid::Columns; ++i) {
                const bool inside =
                    i >= c.FirstCol && i <= c.LastCol && j >= c.FirstRow && j <= c.LastRow;
                ASSERT_EQ(grid.Tile(i, j), inside ? 2 : 0)
                    << c.Rect.Left << "," << c.Rect.Top << " tile " << i << "," << j;
            }
    }
}

TEST(RedrawGridTest, RunsBecomeRectanglesPresentedInTwoFrames) {
    TRedrawGrid grid;
    grid.FillRect({0, 0, 39, 19});      // tiles 1-2 of row 1
    grid.FillRect({100, 0, 119, 19});   // tile 6 of row 1
    grid.FillRect({780, 40, 799, 59});  // tile 40 of row 3
    const std::vector<TRect> expected{{0, 0, 39, 19}, {100, 0, 119, 19}, {780, 40, 799, 59}};
    EXPECT_EQ(grid.MakeRects(), expected);
    EXPECT_EQ(grid.Tile(1, 1), 1);
    EXPECT_EQ(grid.MakeRects(), expected);  // marked once, presented twice
    EXPECT_TRUE(grid.MakeRects().empty());

    grid.Fill(2);
    const std::vector<TRect> whole = grid.MakeRects();
    ASSERT_EQ(whole.size(), 30u);
    EXPECT_EQ(whole.back(), (TRect{0, 580, 799, 599}));
}

TEST(RedrawGridTest, RestoringCopiesEachRunAndMarksTheTileAfterIt) {
    TRedrawGrid grid;
    grid.FillRect({20, 0, 59, 19});     // tiles 2-3 of row 1
    grid.FillRect({760, 20, 799, 39});  // tiles 39-40 of row 2
    std::vector<TRect> restored;
    grid.RestoreRuns([&](const TRect& rect) { restored.push_back(rect); });
    EXPECT_EQ(restored, (std::vector<TRect>{{20, 0, 59, 19}, {760, 20, 799, 39}}));
    EXPECT_EQ(grid.Tile(4, 1), 1);  // the first tile after the run
    EXPECT_EQ(grid.Tile(3, 1), 2);
    EXPECT_EQ(grid.Tile(40, 2), 1);  // a run reaching the edge: its last tile
    EXPECT_EQ(grid.Tile(39, 2), 2);
    EXPECT_EQ(grid.MakeRects(), (std::vector<TRect>{{20, 0, 79, 19}, {760, 20, 799, 39}}));
}

}  // namespace
