// A game killed while it saves: a child process saves the players file, the high scores and the
// options over and over with the game's own code and is killed at a random moment; each file
// must then read back whole, with its previous or its newest content, never a mix or a stub.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <thread>

#include "app/HighScores.h"
#include "app/Options.h"
#include "app/PlayersFile.h"
#include "core/MemoryStream.h"
#include "support/TempFolder.h"

namespace {

// Generation k of each file: its size and content change with k, and k can be read back.
std::unique_ptr<TKelParser> Players(int32_t k) {
    auto document = std::make_unique<TKelParser>();
    TKelXMLTag* root = document->AddTag("PlayersListXML");
    const int count = 1 + k % 4;
    root->AddAttribute("CurrentPlayer", std::to_string(k % count));
    TGame game;
    game.Score = k;
    for (int i = 0; i < count; ++i) {
        game.CurrentLevel = i;
        TKelXMLTag* player = root->AddTag("Player");
        player->AddAttribute("Name", "Player " + std::to_string(i));
        WritePlayerState(*player, game);
    }
    return document;
}

THighScoreTables HighScores(int32_t k) {
    THighScoreTables tables;
    tables.Relax.push_back({"Relaxed", k, false});
    for (int i = 0; i <= k % 5; ++i)
        tables.Action.push_back({"Player " + std::to_string(i), k - i, false});
    return tables;
}

TGameOptions Options(int32_t k) {
    TGameOptions options;
    options.PlayerName = std::to_string(k) + std::string(size_t(k % 7), '.');
    options.SoundVolume = k % 101;
    return options;
}

struct Files {
    std::string players, highScores, options;
    explicit Files(const TempFolder& folder)
        : players(folder.File("players.dat")),
          highScores(folder.File("HighScores.dat")),
          options(folder.File("options.cfg")) {}
};

void SavePlayers(const Files& files, int32_t k) {
    TPlayersFile(files.players).Write(*Players(k));
}

bool SaveAll(const Files& files, int32_t k) {
    SavePlayers(files, k);
    return SaveHighScores(files.highScores, HighScores(k)) && Options(k).SaveOptions(files.options);
}

// The generation each file holds, read with the game's readers; none when it does not read.
std::optional<int32_t> PlayersGeneration(const Files& files) {
    try {
        const auto document = TPlayersFile(files.players).Read();
        const TKelXMLTag* root = PlayersRoot(*document);
        if (!root || root->TagCount() == 0) return std::nullopt;
        TGame game;
        ReadPlayerState(*root->GetTag(0), game, std::numeric_limits<int32_t>::max());
        return game.Score;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<int32_t> HighScoresGeneration(const Files& files) {
    THighScoreTables tables;
    LoadHighScores(files.highScores, tables);
    if (tables.Relax.empty()) return std::nullopt;
    return tables.Relax[0].Score;
}

std::optional<int32_t> OptionsGeneration(const Files& files) {
    TGameOptions options;
    options.LoadOptions(files.options);
    int32_t k = 0;
    const std::string digits = options.PlayerName.substr(0, options.PlayerName.find('.'));
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), k);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return k;
}

// Checks that the file holds, byte for byte, what the game writes for the generation it reads
// as, and that this generation is not older than the one found before.
void ExpectWhole(const char* what, const std::string& path, std::optional<int32_t> k, int32_t& last,
                 const std::string& reference, const TempFolder& folder) {
    ASSERT_TRUE(k.has_value()) << what << " does not read";
    EXPECT_GE(*k, last) << what << " went back to an older save";
    last = *k;
    TMemoryStream stored, expected;
    stored.LoadFromFile(path);
    expected.LoadFromFile(reference);
    EXPECT_EQ(stored.Bytes(), expected.Bytes()) << what << " is not whole: " << folder.Path();
}

TEST(KilledWhileSavingTest, EachFileKeepsItsOldOrItsNewContent) {
    TempFolder folder, referenceFolder;
    const Files files(folder), reference(referenceFolder);
    ASSERT_TRUE(SaveAll(files, 0));
    const unsigned seed = unsigned(::testing::UnitTest::GetInstance()->random_seed());
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayUs(0, 15000);
    int32_t lastPlayers = 0, lastHighScores = 0, lastOptions = 0;
    int killedMidWrite = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(8);
    for (int round = 1; round <= 60 && std::chrono::steady_clock::now() < deadline; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int32_t k = round * 100000;; ++k)
                if (!SaveAll(files, k)) ::_exit(1);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status))
            << "the saving child stopped by itself (seed " << seed << ")";

        SCOPED_TRACE("round " + std::to_string(round) + ", seed " + std::to_string(seed));
        const std::optional<int32_t> players = PlayersGeneration(files);
        if (players) SavePlayers(reference, *players);
        ExpectWhole("players.dat", files.players, players, lastPlayers, reference.players, folder);
        const std::optional<int32_t> highScores = HighScoresGeneration(files);
        if (highScores) SaveHighScores(reference.highScores, HighScores(*highScores));
        ExpectWhole("HighScores.dat", files.highScores, highScores, lastHighScores,
                    reference.highScores, folder);
        const std::optional<int32_t> options = OptionsGeneration(files);
        if (options) Options(*options).SaveOptions(reference.options);
        ExpectWhole("options.cfg", files.options, options, lastOptions, reference.options, folder);
        if (HasFailure()) return;

        // A temporary file left behind shows the kill came in the middle of a save.
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
            if (entry.path().extension() == ".part") {
                ++killedMidWrite;
                std::filesystem::remove(entry.path());
            }
    }
    EXPECT_GT(killedMidWrite, 0) << "no kill came while a file was being written";
}

}  // namespace
