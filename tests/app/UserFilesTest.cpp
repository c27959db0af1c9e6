// The user's files when they are damaged, when the shipped archive changes under the working
// copy, and when saving fails: the shipped game started and played through the headless driver.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/CUnit.h"
#include "app/DamagedFile.h"
#include "app/PlayersFile.h"
#include "resources/FileFolder.h"
#include "support/ShippedGame.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

namespace {

// The names in the folder that start with `prefix`.
std::vector<std::string> NamesStartingWith(const fs::path& folder, const std::string& prefix) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().rfind(prefix, 0) == 0)
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(DamagedFileTest, AKeptFileNeverOverwritesAnother) {
    TempFolder folder;
    folder.Write("players.dat", "one");
    const std::time_t when = 1765450000;  // some moment; the name follows the local clock
    const std::string first = MoveDamagedFile(folder.File("players.dat"), when);
    EXPECT_NE(first.find("players.dat.damaged-"), std::string::npos);
    EXPECT_EQ(first.size(), folder.File("players.dat.damaged-YYYYMMDD-HHMMSS").size());
    folder.Write("players.dat", "two");
    const std::string second = MoveDamagedFile(folder.File("players.dat"), when);
    EXPECT_EQ(second, first + "-2");
    folder.Write("players.dat", "three");
    EXPECT_EQ(CopyDamagedFile(folder.File("players.dat"), when), first + "-3");
    EXPECT_EQ(folder.Read(fs::path(first).filename().string()), "one");
    EXPECT_EQ(folder.Read(fs::path(second).filename().string()), "two");
    EXPECT_EQ(folder.Read("players.dat"), "three");
    EXPECT_THROW(MoveDamagedFile(folder.File("absent.dat"), when), std::system_error);
}

#ifdef TERVOLIN_GAME_FOLDER

class UserFilesTest : public ShippedGameTest {
  protected:
    void Start() { ShippedGameTest::Start(data_, registryOnDisk_); }

    std::string data_;             // the game's data folder; the built game's when empty
    bool registryOnDisk_ = false;  // the registry in the user folder's registry.ini
};

TEST_F(UserFilesTest, ADamagedPlayersFileIsKeptAsideAndTheGameStartsAfresh) {
    // A players file as the game writes it, scrambled, to cut short.
    TempFolder scratch;
    auto document = std::make_unique<TKelParser>();
    document->LoadFromString(
        "<PlayersListXML CurrentPlayer=\"0\"><Player Name=\"Ann\"/></PlayersListXML>");
    TPlayersFile(scratch.File("players.dat")).Write(*document);
    const std::string scrambled = scratch.Read("players.dat");

    const std::pair<const char*, std::string> cases[] = {
        {"bad XML", "<PlayersListXML CurrentPlayer=\"0\"><Player Name=\"Ann\"></Pla"},
        {"bad current index",
         "<PlayersListXML CurrentPlayer=\"one\"><Player Name=\"Ann\"/>"
         "</PlayersListXML>"},
        {"bad number in a saved game",
         "<PlayersListXML CurrentPlayer=\"0\"><Player Name=\"Ann\"/><Player Name=\"Bo\">"
         "<CurrentState><CurrentScore>12x</CurrentScore></CurrentState></Player>"
         "</PlayersListXML>"},
        {"truncated", scrambled.substr(0, scrambled.size() / 2)},
        {"neither scrambled nor plain", std::string("\x01\xff\x7f\x80 players", 11)},
        {"another document", "<HighScores/>"},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        for (const std::string& name : NamesStartingWith(user_.Path(), "players.dat"))
            fs::remove(user_.Path() / name);
        user_.Write("players.dat", bytes);
        Start();
        // The game starts as on a first start, and tells where the players are kept.
        EXPECT_EQ(Stack(), (std::vector<std::string>{"WTitle", "WYourName", "WFileProblem"}));
        EXPECT_FALSE(fs::exists(user_.Path() / "players.dat"));
        const auto kept = NamesStartingWith(user_.Path(), "players.dat.damaged-");
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(user_.Read(kept[0]), bytes);
        EXPECT_EQ(Caption("WFileProblem_LText"), Caption("WResource_LPlayersDamaged"));
        EXPECT_EQ(Caption("WFileProblem_LDetail"), user_.File(kept[0]));
        // Closed, it leaves the first player's dialog, which makes a new file.
        Press("WFileProblem_BClose");
        ASSERT_EQ(Top(), "WYourName");
        Type("Cy");
        Press("WYourName_BOk");
        EXPECT_EQ(Top(), "WTitle");
        EXPECT_EQ(CurrentPlayerInFile(), "Cy");
        game_->Close();
        Pass();
    }
}

TEST_F(UserFilesTest, UnreadableHighScoreLinesKeepTheirFileBeforeItIsWrittenAgain) {
    const std::string original = ShiftEncode("<HighScore name=\"Ann\" score=\"900\" />") + "\r\n" +
                                 "\x02garbage\r\n" +
                                 ShiftEncode("<HighRelax name=\"Bo\" score=\"12z\" />") + "\r\n" +
                                 ShiftEncode("<HighRelax name=\"Cy\" score=\"400\" />") + "\r\n";
    user_.Write("HighScores.dat", original);
    user_.Write("players.dat",
                "<PlayersListXML CurrentPlayer=\"0\"><Player Name=\"Ann\"/></PlayersListXML>");
    Start();
    ASSERT_EQ(Top(), "WTitle");
    EXPECT_TRUE(NamesStartingWith(user_.Path(), "HighScores.dat.damaged-").empty());
    // Clearing the Action table rewrites the file: the original is kept first.
    Press("WTitle_BHighScores");
    ASSERT_EQ(Top(), "WHighScores");
    Press("WHighScores_BClear");
    Press("WClearHighScores_BOk");
    const auto kept = NamesStartingWith(user_.Path(), "HighScores.dat.damaged-");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(user_.Read(kept[0]), original);
    // The lines that read stay: the Relax table keeps Cy.
    EXPECT_EQ(user_.Read("HighScores.dat"),
              ShiftEncode("<HighRelax name=\"Cy\" score=\"400\" />") + "\r\n");
}

TEST_F(UserFilesTest, TheWorkingArchiveIsMadeAgainWhenTheShippedOneChanges) {
    TempFolder data;
    data_ = data.Path().string();
    fs::copy_file(fs::path(TERVOLIN_GAME_FOLDER) / "game.zxc", data.Path() / "game.zxc");
    fs::copy(fs::path(TERVOLIN_GAME_FOLDER) / "lng", data.Path() / "lng");
    Start();
    game_->Close();
    Pass();
    const std::string working = (user_.Path() / "temp" / "game.zxc").string();
    ASSERT_TRUE(fs::exists(working));
    const auto made = fs::last_write_time(working);
    EXPECT_NE(user_.Read("Tervolin.log").find("Working archive made\r\n"), std::string::npos);

    // The same shipped archive: the copy is reused.
    Start();
    game_->Close();
    Pass();
    EXPECT_EQ(fs::last_write_time(working), made);
    EXPECT_NE(user_.Read("Tervolin.log").find("Working archive is up to date"), std::string::npos);

    // An upgrade ships an archive with an entry more: the copy holds it.
    {
        TFileFolder shipped = TFileFolder::Open((data.Path() / "game.zxc").string());
        shipped.AddFile("Upgrade.txt", 1, TMemoryStream(std::string("new in this version")));
        shipped.Save();
    }
    Start();
    EXPECT_GE(game_->Archive()->IndexOfFile("Upgrade.txt"), 0);
    game_->Close();
    Pass();
    EXPECT_NE(user_.Read("Tervolin.log").find("the game's archive changed"), std::string::npos);
    EXPECT_GE(TFileFolder::Open(working).IndexOfFile("Upgrade.txt"), 0);
}

TEST_F(UserFilesTest, AFailedSaveIsToldOncePerFileAndTheOldFilesStay) {
    user_.Write("players.dat",
                "<PlayersListXML CurrentPlayer=\"0\"><Player Name=\"Ann\"/></PlayersListXML>");
    const std::string scores = ShiftEncode("<HighScore name=\"Ann\" score=\"900\" />") + "\r\n";
    user_.Write("HighScores.dat", scores);
    registryOnDisk_ = true;
    Start();
    ASSERT_EQ(Top(), "WTitle");
    const std::string before = user_.Read("players.dat");

    // The user folder swapped for a file: the options cannot be stored.
    const fs::path moved = user_.Path().string() + ".moved";
    fs::rename(user_.Path(), moved);
    { std::ofstream(user_.Path()) << "in the way"; }
    Press("WTitle_BOptions");
    Press("WOptions_BOk");
    EXPECT_EQ(Top(), "WFileProblem");
    EXPECT_EQ(Caption("WFileProblem_LTitle"), Caption("WResource_LSaveFailedTitle"));
    EXPECT_EQ(Caption("WFileProblem_LText"), Caption("WResource_LSaveOptions"));
    EXPECT_EQ(Caption("WFileProblem_LDetail"), "options.cfg: " + Caption("WResource_LNoFolder"));
    Press("WFileProblem_BClose");
    EXPECT_EQ(Top(), "WTitle");
    fs::remove(user_.Path());
    fs::rename(moved, user_.Path());

    // A folder standing where each file's temporary copy is written: every save fails.
    for (const char* name : {"options.cfg", "players.dat", "registry.ini", "HighScores.dat"})
        fs::create_directory(user_.Path() / (std::string(name) + ".part"));
    Press("WTitle_BOptions");
    Press("WOptions_BOk");  // the options again, only logged; then the player, told
    EXPECT_EQ(Top(), "WFileProblem");
    EXPECT_EQ(Caption("WFileProblem_LText"), Caption("WResource_LSavePlayers"));
    EXPECT_EQ(Caption("WFileProblem_LDetail"), "players.dat: Is a directory.");
    Press("WFileProblem_BClose");
    EXPECT_EQ(Top(), "WTitle");
    Press("WTitle_BLanguage");
    Press("WLanguage_RBDEU");
    Press("WLanguage_BOk");
    EXPECT_EQ(Top(), "WFileProblem");
    EXPECT_EQ(Caption("WFileProblem_LText"), Caption("WResource_LSaveLanguage"));
    Press("WFileProblem_BClose");
    Press("WTitle_BHighScores");
    Press("WHighScores_BClear");
    Press("WClearHighScores_BOk");
    EXPECT_EQ(Top(), "WFileProblem");
    EXPECT_EQ(Caption("WFileProblem_LText"), Caption("WResource_LSaveHighScores"));
    Press("WFileProblem_BClose");

    // The game goes on, the saved files are as they were, and the log has the reasons.
    EXPECT_FALSE(Shown().Closed);
    EXPECT_EQ(user_.Read("players.dat"), before);
    EXPECT_EQ(user_.Read("HighScores.dat"), scores);
    std::istringstream log(user_.Read("Tervolin.log"));
    std::set<std::string> logged;
    for (std::string line; std::getline(log, line);)
        for (const char* what : {"options.cfg", "players.dat", "the language", "HighScores.dat"})
            if (line.find(what) != std::string::npos &&
                line.find("Is a directory") != std::string::npos)
                logged.insert(what);
    EXPECT_EQ(logged.size(), 4u);
}

#endif

}  // namespace
