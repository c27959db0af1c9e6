// The game on the headless driver for the tools that show or play a level: a scratch folder with
// the archive (and the "GameParams.xml" found beside it), start-up, and a level set up as a new
// game sets it up. Failures raise std::runtime_error with the reason.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/HeadlessGame.h"

// A user folder of its own for the game, removed afterwards.
struct TScratchFolder {
    TScratchFolder();
    ~TScratchFolder();
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;
    std::string Path;
};

class TToolGame {
  public:
    // Starts the game on a copy of the archive, with passes of `passMs` of game clock; raises
    // when it does not start.
    TToolGame(const std::string& archive, uint64_t seed, uint32_t passMs = 10);
    // Starts LEVEL (a level number, or the path of a level file on disk) as a new game does,
    // without the instructions; raises when it does not load.
    void StartLevel(const std::string& level);

    THeadlessGame& Game() { return *game_; }

  private:
    TScratchFolder scratch_;
    std::unique_ptr<THeadlessGame> game_;
};
