// TWindowInput: the window's input: mouse and keys go to the interface's top window first and
// then to the screen on top (the board in play, the level map between levels); Enter and Escape
// are shortcuts of the dialogs; debug keys work only in the diagnostic mode. Relies on the
// game's services and the screens' flow.
#pragma once

#include <cstdint>

#include "app/GameServices.h"

class TWindowInput {
  public:
    explicit TWindowInput(TGameServices& services) : s_(services) {}

    void MouseDown(const TEvent& event);
    void MouseUp(const TEvent& event);
    void MouseMove(const TEvent& event);
    void MouseWheel(const TEvent& event);
    void KeyDown(const TEvent& event);
    void KeyPress(const TEvent& event);

  private:
    // Not while pictures are being loaded.
    bool InterfaceTakesInput() const;
    // The keys of the diagnostic mode; true when the key goes no further.
    bool DebugKey(int key, TShiftState shift);
    void CheckPressEnter(TShiftState shift);
    void CheckPressEscape();

    TGameServices& s_;
    // The character a key that pressed a button is about to type (its Char event follows its
    // KeyDown), swallowed; 0 when none.
    uint32_t pressedChar_ = 0;
};
