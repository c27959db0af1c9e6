#include "platform/KeyCodes.h"

#include <gtest/gtest.h>

#include <SDL2/SDL_keyboard.h>

#include "platform/Platform.h"

TEST(KeyCodesTest, TranslatesTheKeysTheGameUses) {
    const struct {
        SDL_Keycode key;
        int expected;
    } cases[] = {
        {SDLK_BACKSPACE, 8}, {SDLK_TAB, 9},    {SDLK_RETURN, 13}, {SDLK_KP_ENTER, 13},
        {SDLK_ESCAPE, 27},   {SDLK_SPACE, 32}, {SDLK_END, 35},    {SDLK_HOME, 36},
        {SDLK_LEFT, 37},     {SDLK_UP, 38},    {SDLK_RIGHT, 39},  {SDLK_DOWN, 40},
        {SDLK_DELETE, 46},   {SDLK_a, 'A'},    {SDLK_z, 'Z'},     {SDLK_0, '0'},
        {SDLK_9, '9'},       {SDLK_F1, 112},   {SDLK_F9, 120},    {SDLK_F12, 123},
        {SDLK_LSHIFT, 16},   {SDLK_RCTRL, 17}, {SDLK_KP_0, 96},   {SDLK_KP_9, 105},
        {SDLK_CAPSLOCK, 0},  {SDLK_MENU, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(TranslateKey(c.key), c.expected) << SDL_GetKeyName(c.key);
}

TEST(KeyCodesTest, ControlKeysTypeTheirControlCharacters) {
    const struct {
        SDL_Keycode key;
        uint16_t modifiers;
        uint32_t expected;
    } cases[] = {
        {SDLK_a, KMOD_LCTRL, 1},  {SDLK_c, KMOD_RCTRL, 3}, {SDLK_v, KMOD_LCTRL, 22},
        {SDLK_x, KMOD_LCTRL, 24}, {SDLK_RETURN, 0, 13},    {SDLK_BACKSPACE, 0, 8},
        {SDLK_ESCAPE, 0, 27},     {SDLK_a, 0, 0},          {SDLK_c, KMOD_LCTRL | KMOD_LALT, 0},
        {SDLK_b, KMOD_LCTRL, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ControlCharacter(c.key, c.modifiers), c.expected) << SDL_GetKeyName(c.key);
}

TEST(KeyCodesTest, DecodesUtf8AndSkipsMalformedBytes) {
    EXPECT_EQ(DecodeUtf8("Ab"), (std::vector<uint32_t>{'A', 'b'}));
    EXPECT_EQ(DecodeUtf8("\xC3\xA9\xD0\x96\xE2\x82\xAC\xF0\x9F\x98\x80"),
              (std::vector<uint32_t>{0xE9, 0x416, 0x20AC, 0x1F600}));
    EXPECT_EQ(DecodeUtf8("a\xC3"), (std::vector<uint32_t>{'a'}));  // cut short
    EXPECT_EQ(DecodeUtf8("\xFF"
                         "b"),
              (std::vector<uint32_t>{'b'}));                             // invalid lead
    EXPECT_EQ(DecodeUtf8("\xC3(x"), (std::vector<uint32_t>{'(', 'x'}));  // bad continuation
}
