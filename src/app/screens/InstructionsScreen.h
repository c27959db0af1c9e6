// TInstructionsScreen: the instructions with their animated examples, shown before the first
// level and from the game menu; their buttons lead into play or back to the menu. Relies on the
// game's services.
#pragma once

#include "app/GameServices.h"
#include "app/screens/Screen.h"

class TInstructionsScreen : public IScreen {
  public:
    explicit TInstructionsScreen(TGameServices& services) : s_(services) {}

    void RegisterHandlers();
    bool HandleEvent(const TEvent&) override { return false; }
    void Update(uint32_t) override {}
    void Draw() override;

  private:
    TGameServices& s_;
};
