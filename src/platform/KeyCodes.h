// Translation of SDL keyboard input into the virtual-key numbers and typed characters the game
// handles.
#pragma once

#include <SDL2/SDL_keycode.h>

#include <cstdint>
#include <string>
#include <vector>

// The virtual-key number of an SDL key, 0 when the game has no use for it.
int TranslateKey(SDL_Keycode key);

// The control character a key press types (Ctrl+A/C/V/X, Enter, Backspace, Tab, Escape), 0 when
// it types none. Printable characters arrive as text input instead.
uint32_t ControlCharacter(SDL_Keycode key, uint16_t modifiers);

// The Unicode code points of UTF-8 text; malformed bytes are skipped.
std::vector<uint32_t> DecodeUtf8(const std::string& text);
