// Playing a game script on a started game: input goes to the game object at the current clock
// and one pass follows each input command; waits run passes; expectations look at the window
// stack and the game state. Where the passes come from and how frames are saved is the host's
// (the headless driver, or a real window on real time). Relies on the game snapshot, the event
// factories and the scripts' commands.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "app/GameScript.h"
#include "app/GameSnapshot.h"
#include "platform/Platform.h"

// Exit codes of the scripted mode.
constexpr int ScriptRan = 0;
constexpr int ScriptGameFailed = 1;  // the game did not start, or did not close
constexpr int ScriptBad = 2;         // a bad script or bad arguments
constexpr int ScriptFailed = 3;      // a wait-top, press or expectation did not hold

class IScriptHost {
  public:
    virtual ~IScriptHost() = default;
    // Input to the game at once, at the clock of the last pass; nothing once it has closed.
    virtual void Send(const TEvent& event) = 0;
    virtual TGameSnapshot Snapshot() = 0;
    // Where a left click presses the widget `name`; empty when it can be pressed, else why not.
    virtual std::string FindPressPoint(const std::string& name, TPoint& at) = 0;
    // The game clock, in milliseconds.
    virtual uint32_t Now() = 0;
    // The events the platform has waiting, then one pass of the main loop; the clock moves on.
    virtual void Pass() = 0;
    // Writes the frame last presented as a PNG file; false when there is none or it cannot be
    // written.
    virtual bool SaveFrame(const std::string& path) = 0;
};

// Plays the script's commands in order, stopping at the first that fails (reported on `err` with
// its line number and what was found instead), then closes the game as a desktop closes its
// window unless it closed already. Once the game has closed, "wait" and "quit" do nothing and
// every other command fails. "dump" writes to `out`; "shot" writes into `framesFolder`. Answers
// the exit code.
int RunGameScript(const TGameScript& script, IScriptHost& host, const std::string& framesFolder,
                  std::ostream& out, std::ostream& err);
