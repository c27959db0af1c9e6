// The entry point of the game executable: the SDL platform and the game object.
#include <SDL2/SDL.h>

#include <cstdio>

#include "app/GameEngine.h"
#include "graphics/GraphicsClasses.h"
#include "platform/SdlAudio.h"
#include "platform/SdlDisplay.h"
#include "platform/SdlEvents.h"
#include "platform/SdlSystem.h"

#ifndef TERVOLIN_INSTALLED_DATA
#define TERVOLIN_INSTALLED_DATA "/usr/local/share/tervolin"
#endif

int main() {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "Tervolin cannot start: %s\n", SDL_GetError());
        return 1;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    RegisterGraphicsClasses();
    TGameFolders folders{FindDataFolder(ExecutableFolder(), TERVOLIN_INSTALLED_DATA),
                         FindUserFolder()};
    if (!EnsureFolder(folders.UserFolder)) {
        std::fprintf(stderr, "Tervolin cannot create its folder %s\n", folders.UserFolder.c_str());
        return 1;
    }
    {
        TKelGameEngine* game = nullptr;
        auto log = [&game](const std::string& text) {
            if (game) game->Log.WriteLog(text);
        };
        SdlDisplay display("Tervolin");
        SdlEvents events;
        SdlSystem system(folders.UserFolder, log);
        SdlAudio audio(log);
        Platform platform{display, events, audio, system};
        TKelGameEngine engine(platform, folders);
        game = &engine;
        engine.Run();
        game = nullptr;
    }
    SDL_Quit();
    return 0;
}
