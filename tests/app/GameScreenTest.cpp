#include "app/GameScreen.h"

#include <gtest/gtest.h>

#include <vector>

#include "graphics/FakeDisplay.h"

namespace {

constexpr uint32_t White = 0xFFFFFF;

// A game screen on a surface store of its own, with a white 800x600 "Lines" surface and a
// transparent 88x73 under-cell picture.
class GameScreenTest : public ::testing::Test {
  protected:
    GameScreenTest() {
        store->Create(display);
        store->CreateEmptySurface("Lines", 800, 600);
        FillSurface(*store, "Lines", White);
        store->CreateEmptySurface("Frag.png", 88, 73);
        store->CreateAlphaChannel("Frag.png", 0);
        play.Level.UnderFrag = "Frag.png";
    }
    void Shape(const std::vector<TCell>& cells) {
        play.Level.Board.Clear();
        for (const TCell& cell : cells) play.Level.Board.SetCellExists(cell.Col, cell.Row, true);
    }
    bool Dark(int x, int y) { return PixelAt(*store, "Lines", x, y) != White; }

    FakeDisplay display;
    std::unique_ptr<TSurfEngine> store = std::make_unique<TSurfEngine>();
    TPlayState play;
    std::vector<TPathPoint> points;
    TRedrawGrid grid;
    TGameScreen screen{{store, play, points, grid}};
};

TEST_F(GameScreenTest, TheOutlineLeavesOutEdgesBetweenCellsOfTheShape) {
    // The hexagon of cell (4, 4) spans x 185..272 and y 227..299.
    struct Edge {
        const char* Name;
        int X, Y;  // a pixel in the middle of the edge of cell (4, 4)
    } edges[] = {{"top", 228, 227},        {"bottom", 228, 299},      {"upper right", 261, 245},
                 {"upper left", 196, 245}, {"lower right", 261, 281}, {"lower left", 196, 281}};
    struct Case {
        std::vector<TCell> Shape;
        std::vector<bool> Drawn;  // in the order of `edges`
    } cases[] = {
        {{{4, 4}}, {true, true, true, true, true, true}},
        {{{4, 4}, {4, 5}}, {true, false, true, true, true, true}},
        {{{4, 4}, {4, 3}}, {false, true, true, true, true, true}},
        // Even column 4: the upper right neighbour is (5, 4), the lower right one (5, 5).
        {{{4, 4}, {5, 4}, {5, 5}, {3, 4}, {3, 5}}, {true, true, false, false, false, false}},
    };
    for (const Case& c : cases) {
        FillSurface(*store, "Lines", White);
        Shape(c.Shape);
        screen.DrawLevelLines("Lines");
        for (size_t i = 0; i < std::size(edges); ++i)
            EXPECT_EQ(Dark(edges[i].X, edges[i].Y), c.Drawn[i])
                << edges[i].Name << " with " << c.Shape.size() << " cells";
    }
}

TEST_F(GameScreenTest, PlayBackgroundAndMapAreBuiltIntoBackgroundAndMarkTheScreen) {
    store->CreateEmptySurface("Background", 800, 600);
    store->CreateEmptySurface("Back.jpg", 800, 600);
    FillSurface(*store, "Back.jpg", 0x123456);
    store->CreateEmptySurface("map.jpg", 800, 600);
    FillSurface(*store, "map.jpg", 0x654321);
    play.Level.BackPicture = "Back.jpg";
    Shape({{4, 4}});

    play.Game.State = gsGame;
    screen.DrawGameStateBackground();
    EXPECT_EQ(PixelAt(*store, "Background", 10, 10), 0x123456u);
    EXPECT_NE(PixelAt(*store, "Background", 228, 227), 0x123456u);  // the outline
    EXPECT_EQ(grid.Tile(40, 30), 2);

    grid.MakeRects();
    grid.MakeRects();
    play.Game.State = gsPause;  // no board in the pause background
    screen.DrawGameStateBackground();
    EXPECT_EQ(PixelAt(*store, "Background", 228, 227), 0x123456u);
    EXPECT_EQ(grid.Tile(1, 1), 2);

    play.Game.State = gsBetweenLevels;
    screen.DrawGameStateBackground();
    EXPECT_EQ(PixelAt(*store, "Background", 400, 300), 0x654321u);

    play.Game.State = gsMenu;  // other states keep the background they have
    FillSurface(*store, "map.jpg", 0);
    screen.DrawGameStateBackground();
    EXPECT_EQ(PixelAt(*store, "Background", 400, 300), 0x654321u);
}

}  // namespace
