// The game's command line:
//   tervolin [--window | --fullscreen] [--script FILE [--headless] [--frames DIR] [--seed N]]
//   tervolin --help | --version
// with the options in any order, each at most once. --window and --fullscreen choose the window
// mode for this run only; the scripted mode plays FILE headless or in the window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TGameCommandLine {
    enum TAction { Play, Help, Version };
    TAction Action = Play;
    std::optional<int> FullScreen;  // 0 window, 1 full screen; none: the stored option
    std::string Script;             // empty: the game as the player starts it
    bool Headless = false;
    std::string Frames;  // the folder of "shot" frames; empty when not given
    uint64_t Seed = 1;
};

// The arguments after the program's name; none for a command line the game does not take.
std::optional<TGameCommandLine> ParseGameCommandLine(const std::vector<std::string>& args);

constexpr const char* GameUsage =
    "usage: tervolin [--window | --fullscreen]\n"
    "       tervolin [--window | --fullscreen] --script FILE [--headless] [--frames DIR] "
    "[--seed N]\n"
    "       tervolin --help | --version";

constexpr const char* GameHelp =
    "Tervolin, a hex-cell puzzle game.\n"
    "\n"
    "  --window          play in a window this time (the stored option is kept)\n"
    "  --fullscreen      play full screen this time (the stored option is kept)\n"
    "  --script FILE     play the commands of FILE (see the manual page)\n"
    "  --headless        with --script: without a window, on the game clock\n"
    "  --frames DIR      with --script: where the \"shot\" commands write their PNG files\n"
    "  --seed N          with --script: the random source's seed (1 unless given)\n"
    "  --help            print this help and exit\n"
    "  --version         print the version and exit\n"
    "\n"
    "Saves, options and logs are kept in $TERVOLIN_HOME when set, else in\n"
    "$XDG_DATA_HOME/tervolin (~/.local/share/tervolin).";
