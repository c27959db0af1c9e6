// A test of the game built from data/, started on the headless driver with a fresh user folder
// and played as a player plays it: presses on the visible objects of the shown windows, typed
// text, captions and the window stack read back, and the players file's current player.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/HeadlessGame.h"
#include "app/PlayersFile.h"
#include "support/TempFolder.h"

#ifdef TERVOLIN_GAME_FOLDER
class ShippedGameTest : public ::testing::Test {
  protected:
    // Start-up and the first pass; `dataFolder` empty: the built game's.
    void Start(const std::string& dataFolder = "", bool registryInUserFolder = false) {
        game_ = std::make_unique<THeadlessGame>(
            THeadlessConfig{dataFolder.empty() ? TERVOLIN_GAME_FOLDER : dataFolder,
                            user_.Path().string(), 1, 10, registryInUserFolder});
        game_->Start();
        ASSERT_FALSE(Shown().Closed);
        Pass();
    }
    TGameSnapshot Shown() { return game_->Snapshot(); }
    std::string Top() { return Shown().Top; }
    const TGame& Play() { return Shown().Play->Game; }
    void Pass() { game_->Step(10); }
    // A left click on a visible object of a shown window, then a pass.
    void Press(const std::string& name) {
        ASSERT_EQ(game_->Press(name), "");
        Pass();
    }
    void Type(const std::string& text) {
        std::u32string characters;
        for (const char c : text) characters += char32_t(uint8_t(c));
        game_->Type(characters);
        Pass();
    }
    // The caption of a widget, shown or not.
    std::string Caption(const std::string& object) {
        const TGameSnapshot shown = Shown();
        const auto caption = shown.Captions.find(object);
        return caption == shown.Captions.end() ? "(no widget " + object + ")" : caption->second;
    }
    std::vector<std::string> Stack() { return Shown().Windows; }
    // The name of the player the players file holds as current.
    std::string CurrentPlayerInFile() {
        const auto document = TPlayersFile(user_.File("players.dat")).Read();
        const TKelXMLTag* root = PlayersRoot(*document);
        const TKelXMLTag* player = root ? root->GetTag(CurrentPlayerIndex(*root)) : nullptr;
        const TKelParserAttribute* name = player ? player->FindAttribute("Name") : nullptr;
        return name ? name->Value : "none";
    }

    TempFolder user_;
    std::unique_ptr<THeadlessGame> game_;
};
#endif
