// TTitleScreen: the title with its windows: starting or continuing a game, the players (new,
// change, rename, delete), the high scores, the options and the language, and the first-start
// name dialog. Relies on the game's services and the concerns they lend.
#pragma once

#include "app/GameServices.h"
#include "app/screens/Screen.h"

class TTitleScreen : public IScreen {
  public:
    explicit TTitleScreen(TGameServices& services) : s_(services) {}

    void RegisterHandlers();
    bool HandleEvent(const TEvent&) override { return false; }
    void Update(uint32_t) override {}
    void Draw() override;

  private:
    void RegisterPlayerHandlers();
    void RegisterSettingsHandlers();

    TGameServices& s_;
};
