// The high-score tables and their file: insertion order, line reading and the stored form.
#include <gtest/gtest.h>

#include "app/CUnit.h"
#include "app/HighScores.h"
#include "support/TempFolder.h"

namespace {

std::vector<int32_t> Scores(const THighScores& table) {
    std::vector<int32_t> scores;
    for (const THighScore& entry : table) scores.push_back(entry.Score);
    return scores;
}

std::string EncodedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += ShiftEncode(line) + "\r\n";
    return text;
}

TEST(HighScoresTest, AnEntryGoesBeforeTheFirstSmallerScore) {
    struct Case {
        std::vector<int32_t> table;
        int32_t score;
        size_t index;
    };
    const Case cases[] = {
        {{900, 500, 300}, 500, 2}, {{}, 10, 0}, {{900, 500}, 1, 2}, {{900, 500}, 1000, 0}};
    for (const Case& c : cases) {
        THighScores table;
        for (const int32_t score : c.table) table.push_back({"x", score, false});
        EXPECT_EQ(InsertHighScore("new", c.score, table), c.index);
        EXPECT_EQ(table[c.index].Name, "new");
        EXPECT_TRUE(std::is_sorted(table.begin(), table.end(),
                                   [](auto& a, auto& b) { return a.Score > b.Score; }));
    }
}

TEST(HighScoresTest, TheFileIsReadLineByLineInItsOwnOrder) {
    TempFolder folder;
    folder.Write("HighScores.dat",
                 EncodedLines({"<HighScore name=\"Ann\" score=\"100\" />",
                               "<HighScore name=\"Bo\" score=\"900\" />",
                               "<HighRelax name=\"Cy\" score=\"x12\" />",
                               "<HighRelax name=\"HighScore\" score=\"7\" />",
                               "<HighScore name=\"Di\"a\" score=\"5\" />"}) +
                     ShiftEncode("<HighRelax name=\"Ed\" score=\"3\" />") + "\n" +
                     ShiftEncode("<HighRelax name=\"Flo\" score=\"-2\" />"));
    THighScoreTables tables;
    LoadHighScores(folder.File("HighScores.dat"), tables);
    // File order is kept; a score that is no number drops its line; a line naming both kinds
    // lands in both tables; a name is cut at a double quote.
    EXPECT_EQ(Scores(tables.Action), (std::vector<int32_t>{100, 900, 7, 5}));
    EXPECT_EQ(tables.Action[3].Name, "Di");
    EXPECT_EQ(Scores(tables.Relax), (std::vector<int32_t>{7, 3, -2}));
    EXPECT_EQ(tables.Relax[0].Name, "HighScore");
}

TEST(HighScoresTest, StoredTablesReadBackAndGamesInProgressAreLeftOut) {
    TempFolder folder;
    THighScoreTables tables;
    tables.Action = {{"Ann", 300, false}, {"Bo", 200, true}, {"Jürgen", 100, false}};
    tables.Relax = {{"Cy", 50, false}};
    ASSERT_TRUE(SaveHighScores(folder.File("HighScores.dat"), tables));
    const std::string text = folder.Read("HighScores.dat");
    EXPECT_EQ(text, EncodedLines({"<HighScore name=\"Ann\" score=\"300\" />",
                                  "<HighScore name=\"Jürgen\" score=\"100\" />",
                                  "<HighRelax name=\"Cy\" score=\"50\" />"}));
    THighScoreTables read;
    read.Relax = {{"stale", 1, false}};
    LoadHighScores(folder.File("HighScores.dat"), read);
    EXPECT_EQ(Scores(read.Action), (std::vector<int32_t>{300, 100}));
    EXPECT_EQ(read.Action[1].Name, "Jürgen");
    EXPECT_EQ(Scores(read.Relax), (std::vector<int32_t>{50}));
    // A missing file gives empty tables.
    LoadHighScores(folder.File("none.dat"), read);
    EXPECT_TRUE(read.Action.empty() && read.Relax.empty());
}

}  // namespace
