// tervolin-tool fx-sheet: an effect drawn by the game's own effect drawing at given times, one
// tile a time, on a checker.
#include <gtest/gtest.h>

#include "resources/JpegPNG.h"
#include "resources/RunTool.h"
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
    };
    for (const auto& args : cases) EXPECT_EQ(RunTool(args).exitCode, 2) << args.size();
}

}  // namespace
