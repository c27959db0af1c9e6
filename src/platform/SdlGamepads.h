// The game controllers SDL knows, opened as they are plugged in (SDL reports those present at
// start-up the same way) and closed as they are pulled out, their events handed to the mapping
// onto keys.
#pragma once

#include <map>

#include "platform/GamepadKeys.h"

union SDL_Event;
typedef struct _SDL_GameController SDL_GameController;

class SdlGamepads {
  public:
    SdlGamepads();
    ~SdlGamepads();
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;

    // Takes a controller event (false for any other event).
    bool Handle(const SDL_Event& sdl, uint32_t now);
    TGamepadKeys& Keys() { return keys_; }

  private:
    bool started_ = false;
    std::map<int, SDL_GameController*> open_;  // by joystick instance id
    TGamepadKeys keys_;
};
