// The entry point of the game executable.
#include <SDL2/SDL.h>

#include <vector>

#include "platform/SdlDisplay.h"
#include "platform/SdlEvents.h"

int main() {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return 1;
    {
        SdlDisplay display("Tervolin");
        SdlEvents events;
        if (!display.Open(false, 32)) return 1;
        std::vector<uint8_t> frame(ScreenWidth * ScreenHeight * 4, 0);
        display.Present(frame.data(), ScreenWidth * 4, {TRect{0, 0, ScreenWidth, ScreenHeight}});
        for (bool running = true; running;) {
            TEvent event;
            while (events.Poll(event))
                if (event.Kind == TEventKind::Close) running = false;
            SDL_Delay(10);
        }
    }
    SDL_Quit();
    return 0;
}
