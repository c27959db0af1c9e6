// Input and window events from SDL2, turned into the game's events: mouse positions in frame
// coordinates (clicks in the full-screen letterbox are dropped), virtual-key numbers, typed
// characters with their control characters, activation, private messages and close requests
// (window close, SIGINT, SIGTERM); game controllers arrive as the keys they stand for.
#pragma once

#include <deque>

#include "platform/Platform.h"
#include "platform/SdlGamepads.h"

union SDL_Event;

class SdlEvents : public IEvents {
  public:
    SdlEvents();
    bool Poll(TEvent& event) override;
    void PostMessage(int message) override;

  private:
    bool Translate(const SDL_Event& sdl, TEvent& event);
    std::deque<TEvent> pending_;  // characters of a text input and key-typed controls
    std::deque<int> messages_;
    TShiftState buttons_ = 0;
    bool active_ = false;
    SdlGamepads gamepads_;
};

// True when a logical mouse position lies on the 800x600 frame.
inline bool OnFrame(int x, int y) {
    return x >= 0 && y >= 0 && x < ScreenWidth && y < ScreenHeight;
}
