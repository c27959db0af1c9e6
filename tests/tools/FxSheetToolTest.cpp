// tervolin-tool fx-sheet: an effect drawn by the game's own effect drawing at given times, one
// tile a time, on a checker.
#include <gtest/gtest.h>

#include "resources/JpegPNG.h"
#include "support/RunTool.h"
#include "support/TempFolder.h"

namespace {

#ifdef TERVOLIN_GAME_FOLDER
const std::string Archive = std::string(TERVOLIN_GAME_FOLDER) + "/game.zxc";

TEST(FxSheetToolTest, OneTileATimeOverAChecker) {
    TempFolder folder;
    const ToolResult result =
        RunTool({"fx-sheet", Archive, "efMouseOver1.xml", folder.File("sheet.png"), "--at",
                 "0,500,1000", "--tile", "80,60", "--origin", "40,30"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const TPngPicture sheet = TPngPicture::LoadFromFile(folder.File("sheet.png"));
    ASSERT_EQ(sheet.Width, 240);
    ASSERT_EQ(sheet.Height, 60);
    // The corners show the checker; the glow lights the tile's centre.
    const uint8_t* corner = sheet.ColorRow(0);
    EXPECT_EQ(corner[0], 0x80);
    EXPECT_GT(sheet.ColorRow(30)[3 * 120], 0x9A);

    EXPECT_EQ(
        RunTool({"fx-sheet", Archive, "efNothing.xml", folder.File("x.png"), "--at", "0"}).exitCode,
        1);
}

// --first-picture shows a picture in the first system only, in the frames given, as a break
// shows the cell's strip or ghost; the other systems keep their own pictures.
TEST(FxSheetToolTest, FirstPictureReplacesOnlyTheFirstSystemsPicture) {
    TempFolder folder;
    auto sheet = [&](const std::string& effect, const std::string& at,
                     std::vector<std::string> options) {
        std::vector<std::string> args{"fx-sheet", Archive, effect,   folder.File("s.png"),
                                      "--at",     at,      "--tile", "140,140"};
        args.insert(args.end(), options.begin(), options.end());
        const ToolResult result = RunTool(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return TPngPicture::LoadFromFile(folder.File("s.png")).Color;
    };
    // The spin, half-way, has one system: its first picture is its instance picture.
    EXPECT_EQ(sheet("efBallsRotation.xml", "150",
                    {"--first-picture", "Pyramid_12_anime.png", "--first-frames", "24"}),
              sheet("efBallsRotation.xml", "150", {"--picture", "Pyramid_12_anime.png"}));
    EXPECT_NE(sheet("efBallsRotation.xml", "150",
                    {"--first-picture", "Pyramid_12_anime.png", "--first-frames", "8"}),
              sheet("efBallsRotation.xml", "150", {"--picture", "Pyramid_12_anime.png"}));
    // A ghost's break: the piece differs within its cell, the sparks outside it do not.
    const std::vector<uint8_t> strip = sheet("efBreakFishka.xml", "400", {});
    const std::vector<uint8_t> ghost = sheet(
        "efBreakFishka.xml", "400", {"--first-picture", "Sun1Ghost.png", "--first-frames", "1"});
    ASSERT_EQ(strip.size(), ghost.size());
    int insideDiffer = 0, outsideDiffer = 0;
    for (size_t i = 0; i < strip.size(); ++i) {
        const int x = int(i / 3 % 140), y = int(i / 3 / 140);
        const bool inCell = x >= 35 && x < 105 && y >= 30 && y < 110;
        if (strip[i] != ghost[i]) ++(inCell ? insideDiffer : outsideDiffer);
    }
    EXPECT_GT(insideDiffer, 100);
    EXPECT_EQ(outsideDiffer, 0);
}

// --path gives a flight its path, as the game gives the pyramid's; --step advances the instance
// in passes, so that a system throwing particles as it goes leaves its trail.
TEST(FxSheetToolTest, PathAndStepsShowAFlightWithItsTrail) {
    TempFolder folder;
    const std::string path = R"(Set Linear; Path (150,150) "0.5" (50,50);)";
    auto sheet = [&](std::vector<std::string> options) {
        std::vector<std::string> args{"fx-sheet",
                                      Archive,
                                      "efClickOnPyramid.xml",
                                      folder.File("s.png"),
                                      "--at",
                                      "250",
                                      "--tile",
                                      "200,200",
                                      "--origin",
                                      "0,0"};
        args.insert(args.end(), options.begin(), options.end());
        const ToolResult result = RunTool(args);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return TPngPicture::LoadFromFile(folder.File("s.png"));
    };
    // Pixels that are not the checker's greys within a square around (x, y).
    auto lit = [](const TPngPicture& picture, int x, int y, int half) {
        int count = 0;
        for (int j = y - half; j <= y + half; ++j)
            for (int i = x - half; i <= x + half; ++i) {
                const uint8_t* p = picture.ColorRow(j) + 3 * i;
                count += !(p[0] == p[1] && p[1] == p[2] && (p[0] == 0x80 || p[0] == 0x9A));
            }
        return count;
    };
    const TPngPicture still = sheet({});
    const TPngPicture flying = sheet({"--path", path});
    const TPngPicture trailing = sheet({"--path", path, "--step", "10"});
    // Half-way along its path the pyramid is at (100, 100), not at the instance's place.
    EXPECT_GT(lit(still, 0, 0, 0) + lit(still, 20, 20, 20), 100);
    EXPECT_EQ(lit(still, 100, 100, 20), 0);
    EXPECT_GT(lit(flying, 100, 100, 20), 400);
    // Behind it, only the passes on the way have thrown sparks.
    EXPECT_EQ(lit(flying, 142, 142, 5), 0);
    EXPECT_GT(lit(trailing, 142, 142, 5), 10);
}
#endif

TEST(FxSheetToolTest, BadArgumentsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"fx-sheet", "game.zxc", "efA.xml", "out.png"},  // no times
        {"fx-sheet", "game.zxc", "efA.xml", "out.png", "--at", "1,x"},
        {"fx-sheet", "game.zxc", "efA.xml", "out.png", "--at", "1", "--tile", "0,5"},
        {"fx-sheet", "game.zxc", "efA.xml", "out.png", "--at", "1", "--origin", "5"},
        {"fx-sheet", "game.zxc", "efA.xml", "out.png", "--at", "1", "--first-picture", "a.png"},
        {"fx-sheet", "game.zxc", "efA.xml", "out.png", "--at", "1", "--first-frames", "24"},
        {"fx-sheet", "game.zxc", "efA.xml", "out.png", "--at", "1", "--first-picture", "a.png",
         "--first-frames", "0"},
        {"fx-sheet", "game.zxc", "efA.xml", "out.png", "--at", "1", "--step", "0"},
        {"fx-sheet", "game.zxc", "efA.xml", "out.png", "--at", "1", "--path", ""},
    };
    for (const auto& args : cases) EXPECT_EQ(RunTool(args).exitCode, 2) << args.size();
}

}  // namespace
