// Game controllers played as the keyboard: the d-pad and the left stick are the arrow keys, A is
// Space, B is Escape and Start is Pause (the game menu). A held direction repeats like a held key.
// The mapping sees only controller numbers, buttons, stick positions and the clock, so the SDL
// event source and tests drive it alike.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/Platform.h"

enum class TPadButton { A, B, Start, Up, Down, Left, Right, Other };
enum class TPadAxis { LeftX, LeftY, Other };

class TGamepadKeys {
  public:
    // A held direction repeats after RepeatDelay ms, then every RepeatInterval ms.
    static constexpr uint32_t RepeatDelay = 350, RepeatInterval = 110;
    // The stick counts as pushed beyond StickPressed (of 32767) and as released again below
    // StickReleased, so that a stick resting near the edge of the dead zone does not flicker.
    static constexpr int StickPressed = 16000, StickReleased = 10000;

    void ButtonDown(int pad, TPadButton button, uint32_t now);
    void ButtonUp(int pad, TPadButton button);
    // A stick axis moved to `value` (-32768..32767; negative is left or up).
    void AxisMoved(int pad, TPadAxis axis, int value, uint32_t now);
    // The controller is gone: every key it holds is released.
    void Removed(int pad);
    // Queues the repeats due by `now`.
    void Repeat(uint32_t now);
    // Takes the next queued key event; false when none waits.
    bool Take(TEvent& event);

  private:
    // A key held by one source: a button, or one side of a stick axis.
    struct THeld {
        int Pad;
        int Source;
        int Key;
        uint32_t NextRepeat;
        bool Repeats;
    };
    void Press(int pad, int source, int key, bool repeats, uint32_t now);
    void Release(int pad, int source);
    void Queue(TEventKind kind, int key);

    std::vector<THeld> held_;
    std::deque<TEvent> events_;
};
