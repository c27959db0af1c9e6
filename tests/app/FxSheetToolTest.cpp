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
#endif

TEST(FxSheetToolTest, BadArgumentsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"fx-sheet", "game.zxc", "efA.xml", "out.png"},  // no times
        {"fx-sheet", "game.zxc", "efA.xml", "out.png", "--at", "1,x"},
        {"fx-sheet", "game.zxc", "efA.xml", "out.png", "--at", "1", "--tile", "0,5"},
        {"fx-sheet", "game.zxc", "efA.xml", "out.png", "--at", "1", "--origin", "5"},
    };
    for (const auto& args : cases) EXPECT_EQ(RunTool(args).exitCode, 2) << args.size();
}

}  // namespace
