// tervolin-tool players and highscores: the user files listed as the game reads them, scrambled
// or plain, and damaged files refused with a reason.
#include <gtest/gtest.h>

#include <memory>

#include "app/CUnit.h"
#include "app/HighScores.h"
#include "app/PlayersFile.h"
#include "support/RunTool.h"
#include "support/TempFolder.h"

namespace {

// Three players: Ann with a saved Relax game, Bo who never started one, Cy in Action.
std::unique_ptr<TKelParser> ThreePlayers(const std::string& currentPlayer) {
    auto document = std::make_unique<TKelParser>();
    TKelXMLTag* root = document->AddTag("PlayersListXML");
    root->AddAttribute("CurrentPlayer", currentPlayer);
    TGame game;
    game.CurrentLevel = 7;
    game.Score = 1234;
    game.GameMode = 1;
    WritePlayerState(*root->AddTag("Player"), game);
    root->GetTag(0)->AddAttribute("Name", "Ann");
    root->AddTag("Player")->AddAttribute("Name", "Bo");
    game.CurrentLevel = 2;
    game.Score = 90;
    game.GameMode = 0;
    WritePlayerState(*root->AddTag("Player"), game);
    root->GetTag(2)->AddAttribute("Name", "Cy Dee");
    return document;
}

std::string PlayerLines(int current) {
    auto flag = [current](int i) { return i == current ? "1" : "0"; };
    return std::string("player 0 name=Ann level=7 score=1234 mode=1 current=") + flag(0) +
           "\nplayer 1 name=Bo level=0 score=0 mode=0 current=" + flag(1) +
           "\nplayer 2 name=Cy Dee level=2 score=90 mode=0 current=" + flag(2) + "\n";
}

TEST(UserFilesToolTest, PlayersAreListedFromScrambledAndPlainFiles) {
    TempFolder folder;
    const TPlayersFile file(folder.File("players.dat"));
    // The current player as the game takes it: the index, the first for an index outside the
    // list, none for -1.
    const std::pair<const char*, int> cases[] = {{"1", 1}, {"3", 0}, {"-1", -1}};
    for (const auto& [index, current] : cases) {
        const auto document = ThreePlayers(index);
        file.Write(*document);
        ToolResult result = RunTool({"players", file.Path()});
        EXPECT_EQ(result.exitCode, 0) << index << ": " << result.err;
        EXPECT_EQ(result.out, PlayerLines(current)) << index;

        folder.Write("players.dat", document->SaveToString());
        result = RunTool({"players", file.Path()});
        EXPECT_EQ(result.exitCode, 0) << index << ": " << result.err;
        EXPECT_EQ(result.out, PlayerLines(current)) << index;
    }
}

TEST(UserFilesToolTest, DamagedPlayersFilesAreRefusedWithTheReason) {
    TempFolder folder;
    const TPlayersFile file(folder.File("players.dat"));
    const auto document = ThreePlayers("0");
    file.Write(*document);
    const std::string scrambled = folder.Read("players.dat");
    const std::string plain = document->SaveToString();
    std::string badScore = plain;
    badScore.replace(badScore.find("1234"), 4, "12x4");
    std::string noise;
    for (int i = 0; i < 200; ++i) noise += char(i * 37 % 256);
    const std::pair<const char*, std::string> cases[] = {
        {"scrambled, cut short", scrambled.substr(0, scrambled.size() - 40)},
        {"plain, cut short", plain.substr(0, plain.size() / 2)},
        {"neither scrambled nor plain", noise},
        {"bad number", badScore},
        {"bad current player",
         "<PlayersListXML CurrentPlayer=\"one\"><Player Name=\"A\"/>"
         "</PlayersListXML>"},
        {"malformed attribute", "<PlayersListXML><Player Name=\"A/></PlayersListXML>"},
        {"other document", "<Options><Player Name=\"A\"/></Options>"},
        {"no elements", "just text"},
        {"empty", ""},
    };
    for (const auto& [what, bytes] : cases) {
        folder.Write("players.dat", bytes);
        const ToolResult result = RunTool({"players", file.Path()});
        EXPECT_EQ(result.exitCode, 1) << what;
        EXPECT_EQ(result.out, "") << what;
        EXPECT_NE(result.err.find(file.Path() + ": "), std::string::npos) << what << result.err;
    }
    const ToolResult missing = RunTool({"players", folder.File("none.dat")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("none.dat"), std::string::npos);
}

TEST(UserFilesToolTest, HighScoresAreListedByTableFromEncodedAndPlainFiles) {
    TempFolder folder;
    const std::string lines[] = {"<HighScore name=\"Ann Lee\" score=\"900\" />",
                                 "<HighRelax name=\"Cy\" score=\"40\" />",
                                 "<HighScore name=\"Bo\" score=\"not a number\" />",
                                 "<HighScore name=\"Di\" score=\"-5\" />"};
    std::string encoded, plain;
    for (const std::string& line : lines) {
        encoded += ShiftEncode(line) + "\r\n";
        plain += line + "\n";
    }
    const std::string expected = "action 1 Ann Lee 900\naction 2 Di -5\nrelax 1 Cy 40\n";
    for (const std::string& text : {encoded, plain}) {
        folder.Write("HighScores.dat", text);
        const ToolResult result = RunTool({"highscores", folder.File("HighScores.dat")});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(result.out, expected);
    }
    // The game reads a plain file the same way.
    THighScoreTables tables;
    LoadHighScores(folder.File("HighScores.dat"), tables);
    EXPECT_EQ(tables.Action.size(), 2u);
    EXPECT_EQ(tables.Relax.size(), 1u);

    // Cleared tables leave an empty file: nothing to list, and no fault.
    folder.Write("HighScores.dat", "");
    const ToolResult empty = RunTool({"highscores", folder.File("HighScores.dat")});
    EXPECT_EQ(empty.exitCode, 0) << empty.err;
    EXPECT_EQ(empty.out, "");
}

TEST(UserFilesToolTest, HighScoreFilesWithoutEntriesAreRefused) {
    TempFolder folder;
    folder.Write("junk.dat", "\x01\x02 no entries here\r\n" + ShiftEncode("<Other />") + "\r\n");
    const std::pair<const char*, std::string> cases[] = {
        {"no entry", folder.File("junk.dat")},
        {"missing", folder.File("none.dat")},
        {"a folder", folder.Path().string()},
    };
    for (const auto& [what, path] : cases) {
        const ToolResult result = RunTool({"highscores", path});
        EXPECT_EQ(result.exitCode, 1) << what;
        EXPECT_EQ(result.out, "") << what;
        EXPECT_NE(result.err.find(path), std::string::npos) << what << result.err;
    }
}

}  // namespace
