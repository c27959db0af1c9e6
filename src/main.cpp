// The entry point of the game executable: the game in its SDL window as the player starts it, or
// the scripted mode, which plays a script on the headless platform or in the real window.
#include <SDL2/SDL.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <vector>

#include "app/GameCommandLine.h"
#include "app/GameEngine.h"
#include "app/GameFolders.h"
#include "app/ScriptHosts.h"
#include "app/WindowIcon.h"
#include "platform/Paths.h"
#include "platform/SdlAudio.h"
#include "platform/SdlDisplay.h"
#include "platform/SdlEvents.h"
#include "platform/SdlSystem.h"

// The installed data folder relative to the installed executable's folder, and the version;
// both come from the build.
#ifndef TERVOLIN_DATA_FROM_BIN
#define TERVOLIN_DATA_FROM_BIN "../share/tervolin"
#endif
#ifndef TERVOLIN_VERSION
#define TERVOLIN_VERSION "unknown"
#endif

namespace {

// The game's folders, the user folder made when missing; none when it cannot be.
std::optional<TGameFolders> PrepareFolders() {
    TGameFolders folders{FindDataFolder(ExecutableFolder(), TERVOLIN_DATA_FROM_BIN),
                         FindUserFolder()};
    if (!EnsureFolder(folders.UserFolder)) {
        std::fprintf(stderr, "Tervolin cannot create its folder %s\n", folders.UserFolder.c_str());
        return std::nullopt;
    }
    return folders;
}

// Reads the script named on the command line; reports a bad one with its line number.
std::optional<TGameScript> ReadScript(const TGameCommandLine& args) {
    std::ifstream file(args.Script, std::ios::binary);
    std::ostringstream text;
    if (!file || !(text << file.rdbuf())) {
        std::fprintf(stderr, "cannot read the script %s\n", args.Script.c_str());
        return std::nullopt;
    }
    TGameScript script = ParseGameScript(text.str(), !args.Frames.empty());
    if (script.ErrorLine != 0) {
        std::fprintf(stderr, "%s line %d: %s\n", args.Script.c_str(), script.ErrorLine,
                     script.Error.c_str());
        return std::nullopt;
    }
    return script;
}

int RunScript(IScriptHost& host, const TGameScript& script, const TGameCommandLine& args) {
    if (host.Snapshot().Closed) {
        std::fprintf(stderr, "Tervolin did not start; its log tells why\n");
        return ScriptGameFailed;
    }
    return RunGameScript(script, host, args.Frames, std::cout, std::cerr);
}

// The game on the SDL platform: as the player starts it, or playing the script.
int RunInWindow(const TGameCommandLine& args, const TGameScript& script) {
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "Tervolin cannot start: %s\n", SDL_GetError());
        return 1;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    int code = 1;
    if (const auto folders = PrepareFolders()) {
        TKelGameEngine* game = nullptr;
        auto log = [&game](const std::string& text) {
            if (game) game->Services().Log.WriteLog(text);
        };
        SdlDisplay display("Tervolin");
        TIconPixels icon = LoadIconPixels(JoinPath(folders->GameFolder, "icons/tervolin.png"));
        display.SetIcon(icon.Width, icon.Height, std::move(icon.Argb));
        SdlEvents events;
        SdlSystem system(folders->UserFolder, log);
        if (!args.Script.empty()) system.FixSeed(args.Seed);
        SdlAudio audio(log);
        Platform platform{display, events, audio, system};
        TKelGameEngine engine(platform, *folders);
        engine.Services().Options.FullScreenForRun = args.FullScreen;
        game = &engine;
        if (args.Script.empty()) {
            engine.Run();
            code = 0;
        } else {
            TWindowScriptHost host(platform, engine);
            host.Start();
            code = RunScript(host, script, args);
        }
        game = nullptr;
    }
    SDL_Quit();
    return code;
}

int RunHeadless(const TGameCommandLine& args, const TGameScript& script) {
    const auto folders = PrepareFolders();
    if (!folders) return 1;
    THeadlessScriptHost host(
        {folders->GameFolder, folders->UserFolder, args.Seed, 10, true, args.FullScreen});
    return RunScript(host, script, args);
}

}  // namespace

int main(int argc, char** argv) {
    const auto args = ParseGameCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!args) {
        std::fprintf(stderr, "%s\n", GameUsage);
        return ScriptBad;
    }
    if (args->Action == TGameCommandLine::Help) {
        std::printf("%s\n\n%s\n", GameUsage, GameHelp);
        return 0;
    }
    if (args->Action == TGameCommandLine::Version) {
        std::printf("tervolin %s\n", TERVOLIN_VERSION);
        return 0;
    }
    TGameScript script;
    if (!args->Script.empty()) {
        const auto read = ReadScript(*args);
        if (!read) return ScriptBad;
        script = *read;
        if (!args->Frames.empty() && !EnsureFolder(args->Frames)) {
            std::fprintf(stderr, "cannot create the frames folder %s\n", args->Frames.c_str());
            return ScriptBad;
        }
    }
    try {
        return args->Headless ? RunHeadless(*args, script) : RunInWindow(*args, script);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Tervolin stopped: %s\n", error.what());
        return 1;
    }
}
