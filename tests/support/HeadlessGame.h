// A game object on the headless platform, with a data folder holding a distributed archive made
// by the test (always with the six fonts the game needs) and an empty user folder.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/GameEngine.h"
#include "platform/EventFactory.h"
#include "platform/HeadlessAudio.h"
#include "platform/HeadlessPlatform.h"
#include "support/TempFolder.h"

using TArchiveEntries = std::vector<std::pair<std::string, std::string>>;

// True when every tile the rectangle touches is marked for presenting (in this frame or the
// last).
bool TilesMarked(const TRedrawGrid& grid, const TRect& rect);

class HeadlessGameTest : public ::testing::Test {
  protected:
    // Writes data/game.zxc: the entries in order, then the six fonts but `leftOutFont`.
    void WriteArchive(const TArchiveEntries& entries, const std::string& leftOutFont = "");
    // A game whose data folder is `gameFolder` (by default the test's data folder).
    std::unique_ptr<TKelGameEngine> MakeGame(const std::string& gameFolder = "");
    // A game through start-up and its first activation, with a fixed random seed.
    std::unique_ptr<TKelGameEngine> StartGame(const std::string& gameFolder = "");
    // The messages of the run log, without their time stamps.
    std::vector<std::string> LogMessages() const;

    TempFolder data, user;
    HeadlessDisplay display;
    HeadlessEvents events;
    HeadlessAudio audio;
    HeadlessSystem system;
    Platform platform{display, events, audio, system};
};
