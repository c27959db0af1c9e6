// The game's scripts: what the scripted mode plays, one command per line (blank lines and lines
// starting with "#" skipped). Reading a script checks every line before anything runs, so a bad
// line is reported with its number and no game is started for it. Relies on the board's geometry,
// the game states and the platform's events.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "rules/Game.h"

enum class TScriptOp {
    Wait,         // Ms of game clock
    WaitTop,      // until Name is on top of the window stack ("" none), at most Ms
    Press,        // a left click at the centre of the interface object Name
    Click,        // a left press and release at (X, Y); "cell C R" at the cell's centre
    RightClick,   // a right press and release at (X, Y)
    Move,         // the mouse to (X, Y)
    Key,          // a press and release of Key with Shift
    Type,         // the characters of Text, one Char event each
    ExpectTop,    // Name on top of the window stack ("" none)
    ExpectState,  // the game state is State
    Shot,         // the presented frame as the PNG file Name
    Dump,         // the play state in the play tool's format
    Windows,      // the window stack, bottom to top, and the tutorial popup with its arrow
    Quit,         // the window closed as a desktop closes it
};

struct TScriptCommand {
    TScriptOp Op = TScriptOp::Wait;
    int Line = 0;        // in the script file, from 1
    std::string Source;  // the line as written, for reports
    std::string Name;
    uint32_t Ms = 0;
    int X = 0, Y = 0;  // frame coordinates; a cell's centre for "cell"
    int Key = 0;
    TShiftState Shift = 0;
    std::vector<uint32_t> Text;  // code points
    TGameState State = gsNone;
};

struct TGameScript {
    std::vector<TScriptCommand> Commands;
    // The first bad line: its number (0 when every line is good) and what is wrong with it.
    int ErrorLine = 0;
    std::string Error;
};

// Reads a script's text. `haveFrames` tells whether a folder for "shot" was given; without one a
// "shot" line is bad.
TGameScript ParseGameScript(const std::string& text, bool haveFrames);

// The key a script's "key NAME" presses ("Return", "Shift+Tab", "F9", ...); false for an unknown
// name.
bool FindKeyName(const std::string& name, int& key, TShiftState& shift);

// The name scripts use for a game state, as in the game's sources ("gsGame").
std::string GameStateName(TGameState state);
