// A scarab's turn on the shipped game: the fishkas of its line slide one cell on, and the bomb
// and gem markers they carry travel with them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/HeadlessGame.h"
#include "core/MemoryStream.h"
#include "support/TempFolder.h"

#ifdef TERVOLIN_GAME_FOLDER
namespace {

// Columns 5..7 of rows 3..6, a Sun showing piece 1 on every cell but the scarab's at (6, 3),
// whose turn moves the fishkas of column 6 up by one cell: the one at (6, 6) slides to (6, 5).
std::string ScarabLevel() {
    std::string board, pieces;
    for (int position = 0; position < 18; ++position)
        board +=
            position >= 4 && position <= 10 && position % 2 == 0 ? "<l>____000</l>" : "<l></l>";
    for (int row = 3; row <= 6; ++row)
        for (int col = 5; col <= 7; ++col)
            if (!(col == 6 && row == 3))
                pieces += "<PutFish x=\"" + std::to_string(col) + "\" y=\"" + std::to_string(row) +
                          "\" Type=\"0\" Color=\"1\" Hier=\"1\"/>";
    return "<ChristmasLevel BackPicture=\"Back1.jpg\" UnderFrag=\"UnderFrag.png\">"
           "<ActionClassicMode><Board>" +
           board +
           "</Board><WinCondition><CompleteFishCount>10</CompleteFishCount></WinCondition>"
           "<LevelFishes><Fish Type=\"0\" Color=\"1\"/></LevelFishes>"
           "<Scarabs><Scarab x=\"6\" y=\"3\" type=\"0\"/></Scarabs><PutFishes>" +
           pieces + "</PutFishes></ActionClassicMode></ChristmasLevel>";
}

struct TMidSlide {
    std::vector<uint8_t> Frame;  // as presented
    TPoint SlidePos;             // of the fishka on its way from (6, 6) to (6, 5), rounded
};

// A game of its own plays the level: the board settles, the fishka at (6, 6) is given `extras`,
// a click turns the scarab, and half of the 300 ms slide passes.
TMidSlide PlayToMidSlide(uint8_t extras) {
    TempFolder user;
    THeadlessGame game({TERVOLIN_GAME_FOLDER, user.Path().string(), 1, 10});
    game.Start();
    game.SetUpPlay().Game.ShowHints = false;
    const std::string level = ScarabLevel();
    game.Archive()->AddFile("ScarabLevel.xml", 1,
                            TMemoryStream(std::vector<uint8_t>(level.begin(), level.end())));
    game.StartLevel(1, "ScarabLevel.xml");
    game.Step(3000);
    TBoard& board = game.SetUpPlay().Level.Board;
    EXPECT_EQ(board.Cell(6, 3).Kind, fkScarab0);
    board.Cell(6, 6).Extras = extras;
    const TPoint scarab = CellCentre(6, 3);
    game.MouseDown(scarab.X, scarab.Y, TMouseButton::mbLeft);
    game.MouseUp(scarab.X, scarab.Y, TMouseButton::mbLeft);
    game.Step(150);
    const TFish& sliding = board.Cell(6, 5);
    EXPECT_EQ(sliding.Extras, extras);
    EXPECT_GT(sliding.SlideTime, int32_t(game.Now())) << "the slide is over";
    return {game.Display().LastFrame,
            {int(std::lround(sliding.SlidePos.X)), int(std::lround(sliding.SlidePos.Y))}};
}

TEST(ScarabSlideTest, BombAndGemMarkersTravelWithTheSlidingFishka) {
    const TMidSlide plain = PlayToMidSlide(0);
    const TMidSlide marked = PlayToMidSlide(feVerticalBomb | feBonusGem);
    ASSERT_EQ(plain.Frame.size(), marked.Frame.size());
    ASSERT_EQ(std::tuple(plain.SlidePos.X, plain.SlidePos.Y),
              std::tuple(marked.SlidePos.X, marked.SlidePos.Y));
    // Half way from (6, 6) to (6, 5).
    const TPoint from = CellCentre(6, 6), to = CellCentre(6, 5);
    EXPECT_EQ(marked.SlidePos.X, from.X);
    EXPECT_GT(marked.SlidePos.Y, to.Y + 20);
    EXPECT_LT(marked.SlidePos.Y, from.Y - 20);

    // The frames differ only where the markers are: around the sliding fishka.
    const size_t pixelBytes = plain.Frame.size() / (800 * 600);
    ASSERT_GT(pixelBytes, 0u);
    TRect changed{800, 600, -1, -1};
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const size_t at = (size_t(y) * 800 + size_t(x)) * pixelBytes;
            if (std::equal(plain.Frame.begin() + std::ptrdiff_t(at),
                           plain.Frame.begin() + std::ptrdiff_t(at + pixelBytes),
                           marked.Frame.begin() + std::ptrdiff_t(at)))
                continue;
            changed = {std::min(changed.Left, x), std::min(changed.Top, y),
                       std::max(changed.Right, x), std::max(changed.Bottom, y)};
        }
    ASSERT_LE(changed.Left, changed.Right) << "no marker drawn during the slide";
    const TPoint at = marked.SlidePos;
    EXPECT_TRUE(changed.Left <= at.X && at.X <= changed.Right && changed.Top <= at.Y &&
                at.Y <= changed.Bottom);
    EXPECT_GE(changed.Left, at.X - 60);
    EXPECT_LE(changed.Right, at.X + 60);
    EXPECT_GE(changed.Top, at.Y - 60);
    EXPECT_LE(changed.Bottom, at.Y + 60);
}

}  // namespace
#endif
