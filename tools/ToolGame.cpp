// Starting the game and a level for the board and play tools.
#include "ToolGame.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "ToolArgs.h"
#include "core/MemoryStream.h"

namespace fs = std::filesystem;

TScratchFolder::TScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "tervolin-tool-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    Path = pattern;
}

TScratchFolder::~TScratchFolder() {
    std::error_code error;
    fs::remove_all(Path, error);
}

TToolGame::TToolGame(const std::string& archive, uint64_t seed, uint32_t passMs) {
    std::error_code error;
    if (!fs::is_regular_file(archive, error)) throw std::runtime_error("no archive " + archive);
    // The game runs on a data folder of its own: the archive as "game.zxc" with the parameters
    // found beside it, and a user folder for its working copy and logs.
    const fs::path data = fs::path(scratch_.Path) / "data";
    fs::create_directories(data);
    fs::copy_file(archive, data / "game.zxc");
    const fs::path params = fs::absolute(archive).parent_path() / "GameParams.xml";
    if (fs::is_regular_file(params, error)) fs::copy_file(params, data / "GameParams.xml");
    game_ = std::make_unique<THeadlessGame>(
        THeadlessConfig{data.string(), (fs::path(scratch_.Path) / "user").string(), seed, passMs});
    game_->Start();
    if (game_->Snapshot().Closed) {
        const auto& boxes = game_->System().MessageBoxes;
        throw std::runtime_error("the game did not start" +
                                 (boxes.empty() ? std::string() : ": " + boxes.front().second));
    }
}

void TToolGame::StartLevel(const std::string& level) {
    int32_t number = 1;
    std::string entry;
    if (ParseNumber(level, number) && number >= 1) {
        entry = PuzzleLevelName(number);
        if (!game_->Archive()->FindFile(entry))
            throw std::runtime_error("the archive has no " + entry);
    } else {
        number = 1;
        TMemoryStream file;
        file.LoadFromFile(level);
        entry = "ToolLevel.xml";
        game_->Archive()->AddFile(entry, 1, file);
    }
    game_->StartLevel(number, entry);
}
