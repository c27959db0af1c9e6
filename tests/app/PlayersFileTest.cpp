// The players file: plain or scrambled documents, a player's saved game in both directions.
#include <gtest/gtest.h>

#include "app/CUnit.h"
#include "app/PlayersFile.h"
#include "core/CoreError.h"
#include "support/TempFolder.h"

namespace {

std::unique_ptr<TKelParser> Parse(const std::string& text) {
    auto document = std::make_unique<TKelParser>();
    document->LoadFromString(text);
    return document;
}

TEST(PlayersFileTest, APlainFileIsReadAndWrittenBackScrambled) {
    TempFolder folder;
    const TPlayersFile file(folder.File("players.dat"));
    EXPECT_FALSE(file.Exists());
    folder.Write("players.dat",
                 "<PlayersListXML CurrentPlayer=\"1\"><Player Name=\"Ann\"/><Player "
                 "Name=\"Bo\"/></PlayersListXML>");
    auto document = file.Read();
    ASSERT_NE(PlayersRoot(*document), nullptr);
    EXPECT_EQ(CurrentPlayerIndex(*PlayersRoot(*document)), 1);
    EXPECT_EQ(IndexOfPlayer(*PlayersRoot(*document), "Bo"), 1);
    EXPECT_EQ(FindPlayer(*PlayersRoot(*document), "bo"), nullptr);  // names compare exactly
    file.Write(*document);
    TMemoryStream stored;
    stored.LoadFromFile(file.Path());
    EXPECT_FALSE(IsPlainText(stored));
    EXPECT_EQ(IndexOfPlayer(*PlayersRoot(*file.Read()), "Bo"), 1);

    folder.Write("players.dat", "no elements at all");
    EXPECT_THROW(file.Read(), TKelCoreError);
}

TEST(PlayersFileTest, ASavedGameReadsBackAndHintsKeepTheirFirstSevenMembers) {
    TGame game;
    game.CurrentPlayerName = "Ann";
    game.CurrentLevel = 7;
    game.Score = 1234;
    game.PrevScore = 1000;
    game.ShowInstructions = false;
    game.AddToHighScore = true;
    game.GameMode = 1;
    game.HintsShowed = 0b11000001;  // 0, 6 and 7
    auto document = Parse("<PlayersListXML CurrentPlayer=\"0\"><Player Name=\"Ann\"><Old/></Player>"
                          "</PlayersListXML>");
    TKelXMLTag& player = *PlayersRoot(*document)->GetTag(0);
    WritePlayerState(player, game);
    EXPECT_EQ(player.TagCount(), 1);
    EXPECT_EQ(player.FindTag("CurrentState")->FindTag("HintsShowed")->Text, "0 6 ");

    TGame read;
    ReadPlayerState(player, read, 41);
    EXPECT_EQ(read.CurrentPlayerName, "Ann");
    EXPECT_EQ(read.CurrentLevel, 7);
    EXPECT_EQ(read.Score, 1234);
    EXPECT_EQ(read.PrevScore, 1000);
    EXPECT_FALSE(read.ShowInstructions);
    EXPECT_TRUE(read.ShowHints && read.AddToHighScore);
    EXPECT_EQ(read.GameMode, 1);
    EXPECT_EQ(read.HintsShowed, 0b01000001);
}

TEST(PlayersFileTest, HandEditedValuesAreReadAsTheGameUnderstandsThem) {
    auto document = Parse(
        "<PlayersListXML><Player Name=\"Ann\"><CurrentState><CurrentLevel>99</CurrentLevel>"
        "<ShowHints>FALSE</ShowHints><ShowInstructions>0</ShowInstructions>"
        "<GameMode> 1x</GameMode><HintsShowed>1 5 9 261</HintsShowed></CurrentState></Player>"
        "<Player Name=\"Neg\"><CurrentState><CurrentLevel>-4</CurrentLevel></CurrentState>"
        "</Player><Player Name=\"Bad\"><CurrentState><CurrentScore>12a</CurrentScore>"
        "</CurrentState></Player><Player Name=\"New\"/></PlayersListXML>");
    const TKelXMLTag& root = *PlayersRoot(*document);
    EXPECT_EQ(CurrentPlayerIndex(root), 0);  // no attribute: the first player
    TGame game;
    game.HintsShowed = 0xFF;
    ReadPlayerState(*root.GetTag(0), game, 41);
    EXPECT_EQ(game.CurrentLevel, 41);  // limited to the last map position
    EXPECT_FALSE(game.ShowHints);
    EXPECT_FALSE(game.ShowInstructions);
    EXPECT_EQ(game.GameMode, 1);
    // 9 is no hint; 261 is 5 in its lowest byte.
    EXPECT_EQ(game.HintsShowed, (1 << 1) | (1 << 5));
    ReadPlayerState(*root.GetTag(1), game, 41);
    EXPECT_EQ(game.CurrentLevel, 0);
    EXPECT_THROW(ReadPlayerState(*root.GetTag(2), game, 41), TKelCoreError);
    // A player who never started a game.
    game.ShowHints = false;
    ReadPlayerState(*root.GetTag(3), game, 41);
    EXPECT_EQ(game.CurrentPlayerName, "New");
    EXPECT_EQ(game.CurrentLevel, 0);
    EXPECT_EQ(game.Score, 0);
    EXPECT_FALSE(game.ShowHints);  // kept
}

}  // namespace
