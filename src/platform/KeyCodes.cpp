// Key translation tables for the SDL event source.
#include "platform/KeyCodes.h"

#include <SDL2/SDL_keyboard.h>

#include "platform/Platform.h"

int TranslateKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return vk::F1 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 97 + (key - SDLK_KP_1);
    switch (key) {
        case SDLK_KP_0:
            return 96;
        case SDLK_BACKSPACE:
            return vk::Back;
        case SDLK_TAB:
            return vk::Tab;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return vk::Return;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return vk::Shift;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return vk::Control;
        case SDLK_LALT:
        case SDLK_RALT:
            return vk::Menu;
        case SDLK_PAUSE:
            return vk::Pause;
        case SDLK_ESCAPE:
            return vk::Escape;
        case SDLK_SPACE:
            return vk::Space;
        case SDLK_PAGEUP:
            return vk::PageUp;
        case SDLK_PAGEDOWN:
            return vk::PageDown;
        case SDLK_END:
            return vk::End;
        case SDLK_HOME:
            return vk::Home;
        case SDLK_LEFT:
            return vk::Left;
        case SDLK_UP:
            return vk::Up;
        case SDLK_RIGHT:
            return vk::Right;
        case SDLK_DOWN:
            return vk::Down;
        case SDLK_INSERT:
            return vk::Insert;
        case SDLK_DELETE:
            return vk::Delete;
        default:
            return 0;
    }
}

uint32_t ControlCharacter(SDL_Keycode key, uint16_t modifiers) {
    const bool ctrl = (modifiers & KMOD_CTRL) != 0, alt = (modifiers & KMOD_ALT) != 0;
    if (ctrl && !alt) {
        switch (key) {
            case SDLK_a:
                return 1;
            case SDLK_c:
                return 3;
            case SDLK_v:
                return 22;
            case SDLK_x:
                return 24;
            default:
                break;
        }
    }
    switch (key) {
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 13;
        case SDLK_BACKSPACE:
            return 8;
        case SDLK_TAB:
            return 9;
        case SDLK_ESCAPE:
            return 27;
        default:
            return 0;
    }
}

std::vector<uint32_t> DecodeUtf8(const std::string& text) {
    std::vector<uint32_t> result;
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = text[i];
        int length = lead < 0x80         ? 1
                     : (lead >> 5) == 6  ? 2
                     : (lead >> 4) == 14 ? 3
                     : (lead >> 3) == 30 ? 4
                                         : 0;
        if (length == 0 || i + length > text.size()) {
            ++i;
            continue;
        }
        uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = true;
        for (int k = 1; k < length; ++k) {
            const unsigned char next = text[i + k];
            if ((next & 0xC0) != 0x80) valid = false;
            code = (code << 6) | (next & 0x3F);
        }
        if (valid) result.push_back(code);
        i += valid ? length : 1;
    }
    return result;
}
