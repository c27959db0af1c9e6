// Input events built in one place: what the headless driver, the scripted mode, the tools and the
// tests hand to the game, filled in as the platform layer reports the same input. Relies on the
// event type of the platform interfaces only.
#pragma once

#include <cstdint>

#include "platform/Platform.h"

TEvent MouseDownEvent(int x, int y, TMouseButton button = TMouseButton::mbLeft,
                      TShiftState shift = 0);
TEvent MouseUpEvent(int x, int y, TMouseButton button = TMouseButton::mbLeft,
                    TShiftState shift = 0);
TEvent MouseMoveEvent(int x, int y, TShiftState shift = 0);
// `delta` in multiples of 120, positive away from the user.
TEvent WheelEvent(int x, int y, int delta, TShiftState shift = 0);
TEvent KeyDownEvent(int key, TShiftState shift = 0);
TEvent KeyUpEvent(int key, TShiftState shift = 0);
TEvent CharEvent(uint32_t character);
// The window gained (true) or lost (false) the input focus.
TEvent ActivateEvent(bool active);
TEvent MessageEvent(int message);
TEvent CloseEvent();
