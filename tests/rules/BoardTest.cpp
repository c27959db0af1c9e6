#include "rules/Board.h"

#include <gtest/gtest.h>

#include <string>

static TBoard FullBoard() {
    TBoard board;
    for (int c = 1; c <= BoardColumns; ++c)
        for (int r = 1; r <= BoardRows; ++r) board.SetCellExists(c, r, true);
    board.CountLevelNeighbours();
    return board;
}

TEST(BoardTest, NeighbourSlotsOfEvenAndOddColumns) {
    const TBoard board = FullBoard();
    const struct {
        int col, row, slot;
        TCell expected;
    } cases[] = {
        {2, 5, 1, {2, 4}},
        {2, 5, 2, {3, 5}},
        {2, 5, 3, {3, 6}},
        {2, 5, 4, {2, 6}},
        {2, 5, 5, {1, 6}},
        {2, 5, 6, {1, 5}},
        {3, 5, 2, {4, 4}},
        {3, 5, 3, {4, 5}},
        {3, 5, 5, {2, 5}},
        {3, 5, 6, {2, 4}},
        {3, 1, 1, {}},
        {3, 1, 2, {}},
        {4, 9, 3, {}},
        {4, 9, 4, {}},
        {1, 5, 5, {}},
        {1, 5, 6, {}},
        // Column 13 is never a right-hand neighbour, even when it exists.
        {12, 5, 2, {}},
        {12, 5, 3, {}},
        {13, 5, 6, {12, 4}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(board.Neighbour(c.col, c.row, c.slot), c.expected)
            << c.col << "," << c.row << " slot " << c.slot;
}

TEST(BoardTest, GapsAreCrossedButNotAdjacent) {
    TBoard board;
    for (TCell cell : {TCell{5, 5}, TCell{5, 2}, TCell{7, 4}, TCell{3, 6}})
        board.SetCellExists(cell.Col, cell.Row, true);
    board.CountLevelNeighbours();
    EXPECT_EQ(board.Neighbour(5, 5, 1), (TCell{5, 2}));
    EXPECT_EQ(board.Neighbour(5, 5, 2), (TCell{7, 4}));
    EXPECT_EQ(board.Neighbour(5, 5, 5), (TCell{3, 6}));
    EXPECT_TRUE(board.NeighboursPoints({5, 2}, {5, 5}));
    EXPECT_EQ(board.NeighboursSide({7, 4}, {5, 5}), 2);
    EXPECT_EQ(board.NeighboursSide({6, 4}, {5, 5}), -1);
    EXPECT_FALSE(board.Adjacent({5, 5}, {5, 2}));
    EXPECT_FALSE(board.Adjacent({5, 5}, {7, 4}));
    for (int slot = 1; slot <= 6; ++slot) EXPECT_TRUE(board.Neighbour(4, 4, slot).IsNone());

    const TBoard full = FullBoard();
    EXPECT_TRUE(full.Adjacent({5, 5}, {6, 4}));
    EXPECT_TRUE(full.Adjacent({5, 5}, {5, 6}));
    EXPECT_FALSE(full.Adjacent({5, 5}, {6, 6}));  // near, but not a neighbour
    // The direction counts: (12, 4) is adjacent to (13, 5), never the other way round.
    EXPECT_TRUE(full.Adjacent({13, 5}, {12, 4}));
    EXPECT_FALSE(full.Adjacent({12, 4}, {13, 5}));
}

TEST(BoardTest, GeometryAndMouseHits) {
    EXPECT_EQ(CellCentre(1, 1), (TPoint{34, 8}));
    EXPECT_EQ(CellCentre(2, 1), (TPoint{99, 44}));
    // Inclusive boxes, 65 wide and 73 high.
    EXPECT_EQ(CellBox(2, 1), (TRect{67, 8, 131, 80}));
    EXPECT_EQ(CellBox(3, 2), (TRect{132, 45, 196, 117}));

    const TPoint centre = CellCentre(6, 4);
    EXPECT_EQ(FoundMoouseOverFish({centre.X + 36, centre.Y}), (TCell{6, 4}));
    EXPECT_EQ(FoundMoouseOverFish({centre.X + 37, centre.Y}), TCell{});
    EXPECT_EQ(FoundMoouseOverFish({centre.X + 25, centre.Y + 25}), (TCell{6, 4}));  // 35.36
    EXPECT_EQ(FoundMoouseOverFish({-100, -100}), TCell{});
}

// None (-1, -1) and cells off the board are never neighbours of anything, even of a cell whose
// slots are empty (and so hold none themselves).
TEST(BoardTest, NoneAndCellsOffTheBoardAreNeighboursOfNothing) {
    TBoard board = FullBoard();
    board.SetCellExists(5, 5, false);
    board.CountLevelNeighbours();  // (5, 5) now has six empty slots; (1, 1) has some
    const TCell none{};
    const struct {
        TCell A, B;
    } pairs[] = {
        {none, {5, 5}}, {{5, 5}, none},   {none, {1, 1}},    {{1, 1}, none},
        {none, none},   {{0, 0}, {1, 1}}, {{1, 1}, {14, 1}}, {{5, -1}, {5, 1}},
    };
    for (const auto& p : pairs) {
        const std::string where = std::to_string(p.A.Col) + "," + std::to_string(p.A.Row) + " / " +
                                  std::to_string(p.B.Col) + "," + std::to_string(p.B.Row);
        EXPECT_EQ(board.NeighboursSide(p.A, p.B), -1) << where;
        EXPECT_FALSE(board.NeighboursPoints(p.A, p.B)) << where;
        EXPECT_FALSE(board.Adjacent(p.A, p.B)) << where;
        EXPECT_FALSE(Near(p.A, p.B)) << where;
    }
    const struct {
        int Col, Row, Slot;
    } slots[] = {{-1, -1, 1}, {0, 5, 1}, {14, 5, 1}, {5, 10, 4}, {5, 4, 0}, {5, 4, 7}, {5, 4, -1}};
    for (const auto& c : slots)
        EXPECT_EQ(board.Neighbour(c.Col, c.Row, c.Slot), TCell{})
            << c.Col << "," << c.Row << " slot " << c.Slot;
    EXPECT_FALSE(board.CellExists(-1, -1));
    EXPECT_EQ(board.Neighbour(5, 4, 4), (TCell{5, 6}));  // the gap is crossed
    EXPECT_TRUE(Near({5, 5}, {6, 4}));
}
