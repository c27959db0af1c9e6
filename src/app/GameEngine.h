// TKelGameEngine: the game object, the composition root of the game and its main loop. It makes
// the game's services and the parts that share them (the screens and their flow, the windows,
// the players, the options, the language, the user files, the host drawing), starts them in a
// fixed order (FormCreate, then RunGame on the first activation), runs the passes (one AppIdle
// call: the clock of the pass, the timer dispatcher, composing and presenting the frame), pauses
// while the window is inactive, reports errors through AppException and shuts down in order
// (FormDestroy). It reaches the system only through the platform interfaces; the wall clock and
// the random seed come from there too.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/ErrorReporter.h"
#include "app/GameServices.h"
#include "app/TutorialPopup.h"

class THostDrawing;
class TWindowInput;

// The main loop's pace: at most one pass in this many milliseconds (50 a second).
constexpr uint32_t FramePeriodMs = 20;

// The private message that resumes the game after the window was activated again.
constexpr int ResumeMessage = 1224;

class TKelGameEngine {
  public:
    TKelGameEngine(Platform& platform, TGameFolders folders);
    ~TKelGameEngine();

    // The message loop of a real window: dispatches events and runs passes until the window
    // is closed.
    void Run();
    // One turn of that loop: the waiting events, then a pass (or a pause while inactive).
    void RunOnce();
    // One event, or one idle pass when the idle handler is installed, inside the application's
    // error handler: an error goes to AppException and the game goes on.
    void Dispatch(const TEvent& event);
    void Pass();
    void HandleEvent(const TEvent& event);
    void FormCreate();
    // One pass of the idle handler; `done` answers false: the passes go on.
    void AppIdle(bool& done);
    void AppException(const std::exception& error);
    // Closes the window: FormDestroy runs and the message loop ends.
    void Close();

    // What the parts of the game share: what tests, tools and the headless driver look at.
    TGameServices& Services() { return s_; }
    const TGameServices& Services() const { return s_; }
    // The name of the interface window on top of the window stack; empty when no window is
    // shown. The play timers and the board's input run only under the play window "WGame".
    std::string TopForm() const;
    // Empties the window stack and shows the named window alone.
    void SetTopForm(const std::string& name);
    // Runs a published handler by name, as a script's "ExecMethod" does; false when no handler
    // has that name.
    bool ExecMethod(const std::string& name) { return s_.Handlers.Exec(name); }
    // The level's tutorial popup while its window is on the stack.
    std::optional<TShownTutorialPopup> ShownTutorialPopup() const;
    // The rectangles presented by the last pass.
    const std::vector<TRect>& RedrawRects() const { return redrawRects_; }
    bool IdleInstalled() const { return idleInstalled_; }
    bool Closed() const { return closed_; }

  private:
    void FormActivate();
    void RunGame();
    void TickTimer(uint32_t now);
    void FormDestroy();
    void UpdateFrameRate(uint32_t now);
    void OnActivate();
    void OnDeactivate();
    void OnResumeMessage();

    Platform& platform_;
    TGameServices s_;
    std::unique_ptr<THostDrawing> host_;
    std::unique_ptr<TWindowInput> input_;
    TErrorReporter errors_;
    bool soundOn_ = true;
    std::vector<TRect> redrawRects_;

    // Loop state: the idle handler runs passes; the activation handlers are installed by
    // RunGame once the display is set up.
    bool idleInstalled_ = false;
    bool handlersInstalled_ = false;
    bool active_ = false;
    bool closed_ = false;
    bool gameRan_ = false;
    bool destroyed_ = false;
};
