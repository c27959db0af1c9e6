// tervolin-tool board: a level set up as a new game sets it up, run on the game clock and written
// as the 800x600 play frame.
#include <gtest/gtest.h>

#include "resources/JpegPNG.h"
#include "support/RunTool.h"
#include "support/TempFolder.h"

namespace {

#ifdef TERVOLIN_GAME_FOLDER
const std::string Archive = std::string(TERVOLIN_GAME_FOLDER) + "/game.zxc";

TEST(BoardToolTest, WritesThePlayFrameOfANumberedOrALooseLevel) {
    TempFolder folder;
    ToolResult result = RunTool({"board", Archive, "1", folder.File("one.png"), "--at", "200",
                                 "--select", "6,4", "--seed", "3"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const TPngPicture frame = TPngPicture::LoadFromFile(folder.File("one.png"));
    EXPECT_EQ(frame.Width, 800);
    EXPECT_EQ(frame.Height, 600);

    // The same level from a file on disk gives the same frame.
    TempFolder data;
    ASSERT_EQ(
        RunTool({"archive", "extract", Archive, "PuzzleLevel1.xml", data.File("PuzzleLevel1.xml")})
            .exitCode,
        0);
    result = RunTool({"board", Archive, data.File("PuzzleLevel1.xml"), folder.File("file.png"),
                      "--at", "200", "--select", "6,4", "--seed", "3"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(TPngPicture::LoadFromFile(folder.File("file.png")).Color, frame.Color);
}

TEST(BoardToolTest, ALevelThatCannotBeLoadedExitsWithOne) {
    TempFolder folder;
    folder.Write("broken.xml", "<ChristmasLevel>");
    for (const std::string& level :
         {std::string("99"), folder.File("broken.xml"), folder.File("missing.xml")}) {
        const ToolResult result = RunTool({"board", Archive, level, folder.File("out.png")});
        EXPECT_EQ(result.exitCode, 1) << level;
        EXPECT_FALSE(result.err.empty()) << level;
    }
}
#endif

TEST(BoardToolTest, BadArgumentsExitWithTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {"board"},
        {"board", "game.zxc", "1"},
        {"board", "game.zxc", "1", "out.png", "--mood", "7"},
        {"board", "game.zxc", "1", "out.png", "--progress", "1.5"},
        {"board", "game.zxc", "1", "out.png", "--select", "14,1"},
        {"board", "game.zxc", "1", "out.png", "--hover", "3"},
        {"board", "game.zxc", "1", "out.png", "--at"},
        {"board", "game.zxc", "1", "out.png", "--colour", "1"},
    };
    for (const auto& args : cases) EXPECT_EQ(RunTool(args).exitCode, 2) << args.size();
}

}  // namespace
