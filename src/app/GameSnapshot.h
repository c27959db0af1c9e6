// TGameSnapshot: what the tests, the tools and the scripted mode look at in a running game (the
// window stack, the captions of the shown windows' widgets, the play state, the clock), read in
// one place so that they never reach into the game object themselves; and where a press on a
// widget lands. Relies on the game object and its interface engine.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/GameEngine.h"

struct TGameSnapshot {
    bool Closed = false;
    bool Running = false;              // the main loop runs passes (activated, not paused)
    bool ClockPaused = false;          // the play clock stands (a menu over the board)
    uint32_t Tick = 0;                 // the clock value of the last pass
    int FramesThisSecond = 0;          // frames composed in the current second
    std::string Top;                   // the window on top; empty when none is shown
    std::vector<std::string> Windows;  // the window stack, bottom to top
    // The captions of the interface's widgets, shown or not, by widget name.
    std::map<std::string, std::string> Captions;
    std::optional<TShownTutorialPopup> TutorialPopup;
    std::vector<std::string> LogoLinks;  // the addresses of the title screen's logos
    // The play state: the level record with its board and the game record (state, score, level
    // numbers). Points into the running game: valid until its next input or pass.
    const TPlayState* Play = nullptr;
    const TFishkaTypes* FishkaTypes = nullptr;  // the piece types the level plays with
    const TRedrawGrid* Redraw = nullptr;        // the screen tiles marked for presenting
};

TGameSnapshot TakeSnapshot(TKelGameEngine& game);

// Where a left click presses the widget `name`: the centre of a visible widget whose window is
// on the stack. Empty when it can be pressed, else why not.
std::string FindPressPoint(TKelGameEngine& game, const std::string& name, TPoint& at);
