// The game's command line: nothing for the game as the player starts it, or the scripted mode
//   tervolin --script FILE [--headless] [--frames DIR] [--seed N]
// with the options in any order, each at most once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TGameCommandLine {
    std::string Script;  // empty: the game as the player starts it
    bool Headless = false;
    std::string Frames;  // the folder of "shot" frames; empty when not given
    uint64_t Seed = 1;
};

// The arguments after the program's name; none for a command line the game does not take.
std::optional<TGameCommandLine> ParseGameCommandLine(const std::vector<std::string>& args);

constexpr const char* GameUsage =
    "usage: tervolin [--script FILE [--headless] [--frames DIR] [--seed N]]";
