// tervolin-tool play: a level played from a script on the headless driver, its dumps exact.
#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

#include "resources/JpegPNG.h"
#include "support/RunTool.h"
#include "rules/Board.h"
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

// A level whose rows 3..6 are the cells marked "0" in `line` (column 1 first), each pinned as a
// Sun showing piece 1 in the first colour, but for `suns` (cell, colour index, pieces). New
// fishkas come in the second colour, so the dump tells them apart.
std::string SunLevel(const std::string& line,
                     const std::vector<std::tuple<TCell, int, std::string>>& suns) {
    std::string board, pieces;
    for (int position = 0; position < 18; ++position)
        board += position >= 4 && position <= 10 && position % 2 == 0 ? "<l>" + line + "</l>"
                                                                      : "<l></l>";
    for (int row = 3; row <= 6; ++row)
        for (int col = 1; col <= int(line.size()); ++col) {
            if (line[size_t(col - 1)] != '0') continue;
            int colour = 0;
            std::string hier = "1";
            for (const auto& [cell, sunColour, sunPieces] : suns)
                if (cell == TCell{col, row}) colour = sunColour, hier = sunPieces;
            pieces += "<PutFish x=\"" + std::to_string(col) + "\" y=\"" + std::to_string(row) +
                      "\" Type=\"0\" Color=\"" + std::to_string(colour + 1) + "\" Hier=\"" + hier +
                      "\"/>";
        }
    return "<ChristmasLevel BackPicture=\"Back1.jpg\" UnderFrag=\"UnderFrag.png\">"
           "<ActionClassicMode><Board>" +
           board +
           "</Board><WinCondition><CompleteFishCount>10</CompleteFishCount></WinCondition>"
           "<LevelFishes><Fish Type=\"0\" Color=\"2\"/></LevelFishes><PutFishes>" +
           pieces + "</PutFishes></ActionClassicMode></ChristmasLevel>";
}

// Plays the level with the script; the tool's output.
std::string Play(const std::string& level, const std::string& script) {
    TempFolder folder;
    folder.Write("level.xml", level);
    folder.Write("script.txt", script);
    const ToolResult result =
        RunTool({"play", Archive, folder.File("level.xml"), "--script", folder.File("script.txt")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out;
}

TEST(PlayToolTest, AMoveGoesFromTheSelectedCellToOneOfItsNeighboursAtTheRightEdge) {
    // Column 13 is never a right-hand neighbour: (13, 4) touches (12, 4), which does not touch
    // (13, 4); the same holds for (13, 6) and (12, 6).
    const std::string out = Play(
        SunLevel("__________000",
                 {{{13, 4}, 1, "1"}, {{12, 4}, 1, "23"}, {{12, 6}, 1, "1"}, {{13, 6}, 1, "23"}}),
        "wait 3000\n"
        "click 13 4\n"
        "click 12 4\n"
        "click 12 6\n"
        "click 13 6\n"
        "dump\n");
    const std::vector<std::string> lines =
        Lines(out, {"t=", "cell 12,4 ", "cell 13,4 ", "cell 12,6 ", "cell 13,6 "});
    ASSERT_EQ(lines.size(), 5u) << out;
    // 13 -> 12 moved; 12 -> 13 is no move, and the second click selected (13, 6).
    EXPECT_NE(lines[0].find(" selected=13,6"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1],
              "cell 12,4 kind=0 type=0 color=1 has=23 will=123 extras=0 jump=0 falling=0");
    EXPECT_EQ(lines[3], "cell 12,6 kind=0 type=0 color=1 has=1 will=- extras=0 jump=0 falling=0");
    EXPECT_EQ(lines[4], "cell 13,6 kind=0 type=0 color=1 has=23 will=- extras=0 jump=0 falling=0");
}

TEST(PlayToolTest, AKeyboardPlayerOnADeadBoardHasItRenewed) {
    // Every Sun shows piece 1: no input can merge anything.
    const std::string script =
        "wait 3000\n"
        "key Right\n"  // the cursor shows at (5, 4)
        "key Space\n"  // and selects it
        "key Right\n"
        "dump\n"
        "key Space\n"  // a refused move into (6, 4)
        "wait 20\n"
        "dump\n";
    const std::string out = Play(SunLevel("____00000", {}), script);
    const std::vector<std::string> headers = Lines(out, {"t="});
    ASSERT_EQ(headers.size(), 2u) << out;
    EXPECT_NE(headers[0].find(" selected=5,4"), std::string::npos) << headers[0];
    EXPECT_NE(headers[1].find(" selected=none"), std::string::npos) << headers[1];
    // Three fishkas made again, in the new fishkas' colour, falling in.
    const std::vector<std::string> cells = Lines(out, {"cell "});
    ASSERT_EQ(cells.size(), 40u);
    int renewed = 0;
    for (size_t i = 20; i < 40; ++i)
        if (cells[i].find(" color=1 ") != std::string::npos) {
            EXPECT_NE(cells[i].find(" falling=1"), std::string::npos) << cells[i];
            ++renewed;
        }
    EXPECT_EQ(renewed, 3) << out;
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
