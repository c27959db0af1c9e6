// tervolin-tool play: a level played from a script on the headless driver, its dumps exact.
#include <gtest/gtest.h>

#include <sstream>

#include "resources/JpegPNG.h"
#include "resources/RunTool.h"
#include "support/PinnedLevel.h"
#include "support/TempFolder.h"

namespace {

#ifdef TERVOLIN_GAME_FOLDER
const std::string Archive = std::string(TERVOLIN_GAME_FOLDER) + "/game.zxc";

// The dump's lines that start with one of the prefixes, in order.
std::vector<std::string> Lines(const std::string& out, const std::vector<std::string>& prefixes) {
    std::vector<std::string> found;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        for (const std::string& prefix : prefixes)
            if (line.rfind(prefix, 0) == 0) found.push_back(line);
    return found;
}

TEST(PlayToolTest, AScriptedMoveCompletesAGroupOnTheGameClock) {
    TempFolder folder;
    folder.Write("level.xml", PinnedLevel(3));
    folder.Write("script.txt",
                 "# settle, then move piece 1 into the Sun beside it\n"
                 "wait 3000\n"
                 "click 6 4\n"
                 "\n"
                 "click 7 4\n"
                 "dump\n"
                 "wait 310\n"
                 "dump\n"
                 "wait 100\n"
                 "dump\n"
                 "frame merged\n"
                 "wait 750\n"
                 "dump\n");
    const ToolResult result =
        RunTool({"play", Archive, folder.File("level.xml"), "--script", folder.File("script.txt"),
                 "--frames", folder.Path().string()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    // The first mood update puts the level's starting mood 716 into state 4: the state is the
    // highest whose threshold lies below the mood, and 716 is state 5's own threshold.
    const std::vector<std::string> headers = Lines(result.out, {"t="});
    ASSERT_EQ(headers.size(), 4u);
    EXPECT_EQ(headers[0],
              "t=3000 score=0 progress=0.000 goal=3 mood=716 state=4 done=0 selected=none");
    EXPECT_EQ(headers[1],
              "t=3310 score=0 progress=1.000 goal=3 mood=716 state=4 done=0 selected=none");
    EXPECT_EQ(headers[2],
              "t=3410 score=0 progress=2.000 goal=3 mood=716 state=4 done=0 selected=none");
    EXPECT_EQ(headers[3],
              "t=4160 score=120 progress=2.000 goal=3 mood=716 state=4 done=0 selected=none");
    const std::vector<std::string> cells = Lines(result.out, {"cell 7,4 ", "cell 8,4 "});
    ASSERT_EQ(cells.size(), 8u);
    EXPECT_EQ(cells[0], "cell 7,4 kind=0 type=0 color=0 has=23 will=123 extras=0 jump=0 falling=0");
    EXPECT_EQ(cells[1], "cell 8,4 kind=0 type=0 color=0 has=23 will=123 extras=0 jump=0 falling=0");
    EXPECT_EQ(cells[2],
              "cell 7,4 kind=0 type=0 color=0 has=123 will=123 extras=0 jump=0 falling=0");
    EXPECT_EQ(cells[3], "cell 8,4 kind=0 type=0 color=0 has=23 will=123 extras=0 jump=0 falling=0");
    EXPECT_EQ(cells[5],
              "cell 8,4 kind=0 type=0 color=0 has=123 will=123 extras=0 jump=0 falling=0");
    // Every dump lists the 20 cells of the shape, row by row, and ends.
    EXPECT_EQ(Lines(result.out, {"cell "}).size(), 4u * 20u);
    EXPECT_EQ(Lines(result.out, {"end"}).size(), 4u);
    EXPECT_EQ(Lines(result.out, {"cell "})[0].substr(0, 9), "cell 5,3 ");
    EXPECT_EQ(TPngPicture::LoadFromFile(folder.File("merged.png")).Width, 800);
}

TEST(PlayToolTest, ALevelThatDoesNotLoadExitsWithOne) {
    TempFolder folder;
    folder.Write("broken.xml", "<ChristmasLevel>");
    for (const std::string& level : {std::string("99"), folder.File("broken.xml")}) {
        const ToolResult result = RunTool({"play", Archive, level});
        EXPECT_EQ(result.exitCode, 1) << level;
        EXPECT_FALSE(result.err.empty()) << level;
    }
}
#endif

TEST(PlayToolTest, BadArgumentsAndScriptLinesExitWithTwoNamingTheLine) {
    TempFolder folder;
    const std::vector<std::pair<std::string, std::string>> scripts = {
        {"wait 10\nwait\n", "line 2"},   {"click 14 1\n", "line 1"},
        {"# fine\nkey Tab\n", "line 2"}, {"frame a\n", "line 1"},  // no --frames
        {"dump now\n", "line 1"},        {"jump 3 3\n", "line 1"},
    };
    for (const auto& [script, line] : scripts) {
        folder.Write("s.txt", script);
        const ToolResult result =
            RunTool({"play", "game.zxc", "1", "--script", folder.File("s.txt")});
        EXPECT_EQ(result.exitCode, 2) << script;
        EXPECT_NE(result.err.find(line), std::string::npos) << result.err;
    }
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"play"},
             {"play", "game.zxc"},
             {"play", "game.zxc", "1", "--mode", "zen"},
             {"play", "game.zxc", "1", "--seed", "x"},
             {"play", "game.zxc", "1", "--script", folder.File("missing.txt")},
         })
        EXPECT_EQ(RunTool(args).exitCode, 2) << args.size();
}

}  // namespace
