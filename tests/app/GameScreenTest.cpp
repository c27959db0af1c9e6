#include "app/GameScreen.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "core/Random.h"
#include "support/FakeDisplay.h"
#include "support/TestContent.h"

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
    TBoardView view;
    TFishkaTypes types;
    TGlobalEffects effects;
    TGameScreen screen{{store, play, view, types, effects, points, grid}};
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

// Cell (4, 4) of type 0 (three frames) showing a 10x10 red picture; its strip has a blue,
// a green and a white frame; "Select.png" is a yellow 5x5 square.
class BoardDrawingTest : public GameScreenTest {
  protected:
    BoardDrawingTest() {
        store->CreateEmptySurface("MemorySurface", 800, 600);
        Picture("P1c1", 10, 10, {0xFF0000});
        Picture("P1c1anime", 30, 10, {0x0000FF, 0x00FF00, 0xFFFFFF});
        Picture("Select.png", 5, 5, {0xFFFF00});
        types.emplace_back();
        types.back().FrameCount = 3;
        Shape({{4, 4}});
        TFish& fish = play.Level.Board.Cell(4, 4);
        fish.Type = 0;
        TCellView& cell = view.Cell(4, 4);
        cell.SurfName = "P1c1";
        cell.PicWidth = cell.PicHeight = 10;
        cell.Frame = 1;
    }
    // A picture of equal-width bands of the colours, fully opaque.
    void Picture(const std::string& name, int width, int height, std::vector<uint32_t> bands) {
        store->CreateEmptySurface(name, width, height);
        const int band = width / int(bands.size());
        for (int x = 0; x < width; ++x)
            for (int y = 0; y < height; ++y) SetPixel(*store, name, x, y, bands[size_t(x / band)]);
        store->CreateAlphaChannel(name, 255);
    }
    uint32_t At(int x, int y) { return PixelAt(*store, "MemorySurface", x, y); }
    void Draw(uint32_t now) {
        FillSurface(*store, "MemorySurface", 0);
        screen.DrawLevelBox({*store, nullptr, grid, now});
    }
};

TEST_F(BoardDrawingTest, CellsShowTheirStillPictureStripFrameAndSelection) {
    // The picture's top left is (197 + 27, 227 + 31); Select.png's is (197 + 30, 227 + 34).
    TFish& fish = play.Level.Board.Cell(4, 4);
    struct Case {
        const char* Name;
        std::function<void()> Set;
        uint32_t Picture, Select;  // colours at (224, 258) and (227, 261)
    } cases[] = {
        {"still", [] {}, 0xFF0000, 0xFF0000},
        {"selected",
         [&] {
             play.Game.SelectedCell = {4, 4};
         },
         0x00FF00, 0xFFFF00},
        {"merge pending",
         [&] {
             play.Game.SelectedCell = {4, 4};
             fish.MergeTime = 5000;
         },
         0x00FF00, 0x00FF00},
        {"hidden", [&] { fish.HiddenUntil = 5000; }, 0, 0},
        {"completing",
         [&] {
             fish.HiddenUntil = 5000;
             fish.BreakTime = 4000;
         },
         0xFF0000, 0xFF0000},
        {"empty", [&] { fish.Type = -1; }, 0, 0},
    };
    for (const Case& c : cases) {
        play.Game.SelectedCell = {};
        fish.MergeTime = fish.HiddenUntil = fish.BreakTime = -1;
        fish.Type = 0;
        c.Set();
        Draw(3000);
        EXPECT_EQ(At(224, 258), c.Picture) << c.Name;
        EXPECT_EQ(At(227, 261), c.Select) << c.Name;
        EXPECT_EQ(At(223, 258), 0u) << c.Name;
    }
}

TEST_F(BoardDrawingTest, AFallingCellIsDrawnAtItsFallPosition) {
    TFish& fish = play.Level.Board.Cell(4, 4);
    fish.Falling = true;
    fish.FallY = 100;
    Draw(3000);
    EXPECT_EQ(At(224, 100), 0xFF0000u);
    EXPECT_EQ(At(224, 258), 0u);
}

TEST_F(BoardDrawingTest, TheSelectedCellRunsThroughItsStripAtMostEvery22Ms) {
    play.Game.SelectedCell = {4, 4};
    TCellView& cell = view.Cell(4, 4);
    cell.Frame = 0;
    std::vector<int> frames;
    for (uint32_t now : {1000u, 1010u, 1023u, 1046u, 1069u}) {
        screen.AnimateCells(now);
        frames.push_back(cell.Frame);
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 1, 2, 0, 1}));  // three frames, then round again
    EXPECT_EQ(grid.Tile(11, 12), 2);                       // the box (197, 227)-(261, 299)

    // A jump-ball cell swings around the middle of its strip.
    play.Game.SelectedCell = {};
    play.Level.Board.Cell(4, 4).JumpBall = true;
    screen.AnimateCells(1200);
    EXPECT_EQ(cell.Frame, int(std::nearbyint(7 * std::sin(1200 / 300.0))) + 1);
}

TEST_F(BoardDrawingTest, UnderTheGameOverWindowThePharaohShowsHisStillFace) {
    // A 5x5 face of mood 3 centred on the corner, a 4x4 still face.
    Picture("Face.png", 5, 5, {0x0000FF});
    Picture("Pharaoh0.png", 4, 4, {0x00FF00});
    TFileFolder archive = TFileFolder::CreateEmpty("unused.zxc");
    archive.AddFile("efPharaohFaces3.xml", 1, TMemoryStream(OneParticleEffect("100", "Face.png")));
    TKelRandom random(1);
    effects.Load(archive, &random, 1000, nullptr);
    play.Game.State = gsGame;
    play.Game.MoodState = 3;

    const TEffectCanvas canvas{*store, nullptr, grid, 2000};
    screen.DrawPharaoh(canvas, "WGame");
    EXPECT_EQ(At(1, 1), 0x0000FFu);
    EXPECT_EQ(At(7, 6), 0u);

    FillSurface(*store, "MemorySurface", 0);
    grid.MakeRects();
    grid.MakeRects();  // nothing marked any more
    screen.DrawPharaoh(canvas, "WGameOver");
    EXPECT_EQ(At(1, 1), 0u);
    EXPECT_EQ(At(7, 6), 0x00FF00u);
    EXPECT_EQ(At(10, 9), 0x00FF00u);
    EXPECT_EQ(At(11, 9), 0u);
    EXPECT_EQ(grid.Tile(1, 1), 2);
}

}  // namespace
