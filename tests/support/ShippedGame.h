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
#include "ui/KelForm.h"
#include "ui/KelInterfaceObject.h"

#ifdef TERVOLIN_GAME_FOLDER
class ShippedGameTest : public ::testing::Test {
  protected:
    // Start-up and the first pass; `dataFolder` empty: the built game's.
    void Start(const std::string& dataFolder = "", bool registryInUserFolder = false) {
        game_ = std::make_unique<THeadlessGame>(
            THeadlessConfig{dataFolder.empty() ? TERVOLIN_GAME_FOLDER : dataFolder,
                            user_.Path().string(), 1, 10, registryInUserFolder});
        game_->Start();
        ASSERT_FALSE(Engine().Closed());
        Pass();
    }
    TKelGameEngine& Engine() { return game_->Engine(); }
    void Pass() { game_->Step(10); }
    // The mouse moves onto the centre of a visible object of a shown window, presses and lets go.
    void Press(const std::string& name) {
        const auto* object =
            dynamic_cast<const TKelInterfaceObject*>(Engine().Services().Interface.FindObject(name));
        ASSERT_NE(object, nullptr) << name;
        ASSERT_TRUE(object->Visible()) << name;
        const int x = object->AbsLeft() + object->Width() / 2;
        const int y = object->AbsTop() + object->Height() / 2;
        game_->MouseMove(x, y);
        game_->MouseDown(x, y, TMouseButton::mbLeft, ssLeft);
        game_->MouseUp(x, y, TMouseButton::mbLeft);
        Pass();
    }
    void Type(const std::string& text) {
        for (const char c : text) game_->TypeChar(uint8_t(c));
        Pass();
    }
    std::string Caption(const std::string& object) {
        return ValueToText(Engine().Services().Interface.GetProperty(object, "Caption"));
    }
    std::vector<std::string> Stack() {
        std::vector<std::string> names;
        for (const TKelForm* form : Engine().Services().Interface.ModalStack())
            names.push_back(form->Name());
        return names;
    }
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
