// SDL game controllers: hot-plugging and their buttons and sticks.
#include "platform/SdlGamepads.h"

#include <SDL2/SDL.h>

namespace {

TPadButton PadButton(uint8_t button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A:
            return TPadButton::A;
        case SDL_CONTROLLER_BUTTON_B:
            return TPadButton::B;
        case SDL_CONTROLLER_BUTTON_START:
            return TPadButton::Start;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return TPadButton::Up;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return TPadButton::Down;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return TPadButton::Left;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return TPadButton::Right;
        default:
            return TPadButton::Other;
    }
}

TPadAxis PadAxis(uint8_t axis) {
    return axis == SDL_CONTROLLER_AXIS_LEFTX   ? TPadAxis::LeftX
           : axis == SDL_CONTROLLER_AXIS_LEFTY ? TPadAxis::LeftY
                                               : TPadAxis::Other;
}

}  // namespace

SdlGamepads::SdlGamepads() {
    // Without the subsystem (no joystick support on the machine) the game plays on without pads.
    started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

SdlGamepads::~SdlGamepads() {
    for (const auto& [id, controller] : open_) SDL_GameControllerClose(controller);
    if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool SdlGamepads::Handle(const SDL_Event& sdl, uint32_t now) {
    switch (sdl.type) {
        case SDL_CONTROLLERDEVICEADDED:
            // Added carries the device index; the other events the joystick's instance id.
            if (SDL_GameController* controller = SDL_GameControllerOpen(sdl.cdevice.which)) {
                const int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
                if (!open_.emplace(id, controller).second) SDL_GameControllerClose(controller);
            }
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            if (const auto found = open_.find(sdl.cdevice.which); found != open_.end()) {
                keys_.Removed(found->first);
                SDL_GameControllerClose(found->second);
                open_.erase(found);
            }
            return true;
        case SDL_CONTROLLERBUTTONDOWN:
            keys_.ButtonDown(sdl.cbutton.which, PadButton(sdl.cbutton.button), now);
            return true;
        case SDL_CONTROLLERBUTTONUP:
            keys_.ButtonUp(sdl.cbutton.which, PadButton(sdl.cbutton.button));
            return true;
        case SDL_CONTROLLERAXISMOTION:
            keys_.AxisMoved(sdl.caxis.which, PadAxis(sdl.caxis.axis), sdl.caxis.value, now);
            return true;
        default:
            return false;
    }
}
