// SDL2 event translation.
#include "platform/SdlEvents.h"

#include <SDL2/SDL.h>

#include <algorithm>

#include "platform/KeyCodes.h"
#include "platform/Signals.h"

SdlEvents::SdlEvents() {
    InstallCloseSignals();
    SDL_StartTextInput();
}

static TShiftState KeyboardShift(uint16_t modifiers) {
    TShiftState shift = 0;
    if (modifiers & KMOD_SHIFT) shift |= ssShift;
    if (modifiers & KMOD_ALT) shift |= ssAlt;
    if (modifiers & KMOD_CTRL) shift |= ssCtrl;
    return shift;
}

static TShiftState ButtonFlag(TMouseButton button) {
    return button == TMouseButton::mbLeft    ? ssLeft
           : button == TMouseButton::mbRight ? ssRight
                                             : ssMiddle;
}

static bool TranslateButton(uint8_t sdlButton, TMouseButton& button) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            button = TMouseButton::mbLeft;
            return true;
        case SDL_BUTTON_RIGHT:
            button = TMouseButton::mbRight;
            return true;
        case SDL_BUTTON_MIDDLE:
            button = TMouseButton::mbMiddle;
            return true;
        default:
            return false;
    }
}

bool SdlEvents::Translate(const SDL_Event& sdl, TEvent& event) {
    const TShiftState keys = KeyboardShift(SDL_GetModState());
    switch (sdl.type) {
        case SDL_QUIT:
            event.Kind = TEventKind::Close;
            return true;
        case SDL_WINDOWEVENT:
            // Showing the window activates it, as on desktops that give the shown main window
            // the focus; drivers without focus events (the dummy driver) still start the game.
            if (sdl.window.event == SDL_WINDOWEVENT_SHOWN ||
                sdl.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                if (active_) return false;
                active_ = true;
                event.Kind = TEventKind::Activate;
                return true;
            }
            if (sdl.window.event == SDL_WINDOWEVENT_FOCUS_LOST && active_) {
                active_ = false;
                event.Kind = TEventKind::Deactivate;
                return true;
            }
            return false;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            if (!TranslateButton(sdl.button.button, event.Button)) return false;
            const bool down = sdl.type == SDL_MOUSEBUTTONDOWN;
            if (down)
                buttons_ |= ButtonFlag(event.Button);
            else
                buttons_ &= ~ButtonFlag(event.Button);
            // A press in the letterbox is dropped; a release is kept so no button stays down.
            if (down && !OnFrame(sdl.button.x, sdl.button.y)) return false;
            event.Kind = down ? TEventKind::MouseDown : TEventKind::MouseUp;
            event.X = std::clamp(sdl.button.x, 0, ScreenWidth - 1);
            event.Y = std::clamp(sdl.button.y, 0, ScreenHeight - 1);
            event.Shift =
                keys | buttons_ | (down && sdl.button.clicks >= 2 ? TShiftState(ssDouble) : 0u);
            return true;
        }
        case SDL_MOUSEMOTION:
            event.Kind = TEventKind::MouseMove;
            event.X = std::clamp(sdl.motion.x, 0, ScreenWidth - 1);
            event.Y = std::clamp(sdl.motion.y, 0, ScreenHeight - 1);
            event.Shift = keys | buttons_;
            return true;
        case SDL_MOUSEWHEEL: {
            if (sdl.wheel.y == 0) return false;
            int x = 0, y = 0;
            SDL_GetMouseState(&x, &y);
            event.Kind = TEventKind::MouseWheel;
            event.WheelDelta =
                120 * (sdl.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -sdl.wheel.y : sdl.wheel.y);
            event.X = std::clamp(x, 0, ScreenWidth - 1);
            event.Y = std::clamp(y, 0, ScreenHeight - 1);
            event.Shift = keys | buttons_;
            return true;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event.Kind = sdl.type == SDL_KEYDOWN ? TEventKind::KeyDown : TEventKind::KeyUp;
            event.Key = TranslateKey(sdl.key.keysym.sym);
            event.Shift = KeyboardShift(sdl.key.keysym.mod) | buttons_;
            return event.Key != 0;
        case SDL_TEXTINPUT:
            return false;  // expanded in Poll, one event per character
        default:
            return false;
    }
}

bool SdlEvents::Poll(TEvent& event) {
    if (!pending_.empty()) {
        event = pending_.front();
        pending_.pop_front();
        return true;
    }
    if (TakeCloseSignal()) {
        event = TEvent{};
        event.Kind = TEventKind::Close;
        return true;
    }
    TGamepadKeys& padKeys = gamepads_.Keys();
    padKeys.Repeat(uint32_t(SDL_GetTicks64()));
    if (padKeys.Take(event)) return true;
    SDL_Event sdl;
    while (SDL_PollEvent(&sdl)) {
        event = TEvent{};
        if (gamepads_.Handle(sdl, uint32_t(SDL_GetTicks64()))) {
            if (padKeys.Take(event)) return true;
        } else if (sdl.type == SDL_TEXTINPUT) {
            for (uint32_t code : DecodeUtf8(sdl.text.text)) {
                TEvent typed;
                typed.Kind = TEventKind::Char;
                typed.Char = code;
                pending_.push_back(typed);
            }
        } else if (Translate(sdl, event)) {
            if (sdl.type == SDL_KEYDOWN) {
                if (uint32_t control = ControlCharacter(sdl.key.keysym.sym, sdl.key.keysym.mod)) {
                    TEvent typed;
                    typed.Kind = TEventKind::Char;
                    typed.Char = control;
                    pending_.push_back(typed);
                }
            }
            return true;
        }
        if (!pending_.empty()) return Poll(event);
    }
    if (!messages_.empty()) {
        event = TEvent{};
        event.Kind = TEventKind::Message;
        event.Message = messages_.front();
        messages_.pop_front();
        return true;
    }
    return false;
}

void SdlEvents::PostMessage(int message) {
    messages_.push_back(message);
}
