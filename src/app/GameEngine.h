// TKelGameEngine: the game object. It starts everything in a fixed order (FormCreate, then
// RunGame on the first activation), runs the main loop (one AppIdle call is one pass: the clock
// of the pass, the timer dispatcher, composing and presenting the frame), pauses while the
// window is inactive, reports errors through AppException and shuts down in order
// (FormDestroy). It relies on the platform interfaces, the archive and the logs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/BoardPresenter.h"
#include "app/BoardView.h"
#include "app/ErrorReporter.h"
#include "app/GameFolders.h"
#include "app/LevelLoader.h"
#include "app/Log.h"
#include "app/Options.h"
#include "app/ScreenEffects.h"
#include "app/SoundEvents.h"
#include "core/Random.h"
#include "graphics/KelFontEngine.h"
#include "graphics/SurfEngine.h"
#include "platform/Platform.h"
#include "resources/FileFolder.h"
#include "rules/FishkaTypes.h"
#include "rules/Level.h"
#include "rules/PlayState.h"

// The private message that resumes the game after the window was activated again.
constexpr int ResumeMessage = 1224;

class TKelGameEngine : public IKelFontHost {
  public:
    TKelGameEngine(Platform& platform, TGameFolders folders);
    ~TKelGameEngine();

    // The message loop: dispatches events and runs passes until the window is closed. Errors
    // of a handler or a pass go to AppException and the loop goes on.
    void Run();
    void HandleEvent(const TEvent& event);

    void FormCreate();
    void FormActivate();
    void RunGame();
    void AppIdle(bool& done);
    void TickTimer(uint32_t now);
    void AppException(const std::exception& error);
    void FormDestroy();
    void InstallArchive();
    // The working surfaces: the frame being composed, the two blend buffers and the background.
    void CreateWorkSurfaces();
    // Composes the frame of the pass into "MemorySurface" and counts it.
    void DrawScreen();
    // Appends one line per surface and the total size to "CurrentSurfaces.log".
    void WriteSurfaceReport();
    // Loads the six fonts of the game from the archive; a missing one is an error.
    void LoadFonts();
    // Draws the font engine's laid-out glyphs into the frame.
    void ExtDraw(const std::string& fontPicture, int count) override;
    // Closes the window: FormDestroy runs and the message loop ends.
    void Close();

    // Takes a frame-rate sample when more than a second has passed since the last one.
    void UpdateFrameRate(uint32_t now);

    // The level set-up: loading levels, starting a new game, clearing the level.
    TLevelLoader& Levels() { return levels_; }
    // Shows the rules' board: cell pictures and effects, the rules' events.
    TBoardPresenter& Presenter() { return presenter_; }

    const std::string AppName = "Tervolin";
    TGameFolders Folders;
    TGameOptions Options;
    TGameLog Log;
    std::unique_ptr<TFileFolder> Archive;
    std::unique_ptr<TSurfEngine> SurfaceStore;
    TSoundEvents SoundEvents;
    std::unique_ptr<TKelFontEngine> FontEngine;

    bool SoundOn = true;
    bool Loading = false;
    bool CloseRequested = false;
    uint32_t StartTick = 0, CurrentTick = 0, PreviousTick = 0;
    TPoint MousePos, PrevMousePos;
    int CurrentFps = 0;
    double AverageFps = 0;
    int FpsSamples = 0;
    int FramesThisSecond = 0;
    uint32_t FpsSecondStart = 0;
    std::string DebugText;
    std::vector<TRect> RedrawRects, BackgroundRects;
    int64_t FreeDiskMb = 0;
    // The pictures listed in "surfaces.dat": loaded at start-up, never released between levels.
    std::vector<std::string> PermanentPictures;
    TGameParams GameParams;
    std::vector<TPathPoint> PathPoints;
    TFishkaTypes FishkaTypes;
    // What the puzzle decides: the level with its board, and the game record.
    TPlayState Play;
    // How the board looks: cell pictures and effects, the hover state.
    TBoardView BoardView;
    // Randomness of the effects and the rules, seeded from the wall clock at start-up.
    TKelRandom Random;
    // Running effect instances: over the screen, and the level's ambient ones under the board.
    TScreenEffects ScreenEffects, LevelEffectsList;

    // Loop state: the idle handler runs passes; the activation handlers are installed by
    // RunGame once the display is set up.
    bool IdleInstalled = false;
    bool HandlersInstalled = false;
    bool Active = false;
    bool Closed = false;

  private:
    std::string UserPath(const std::string& name) const;
    std::string WorkingArchivePath() const;
    void ReopenArchive();
    void SetUpAudio();
    void LoadStartPictures();
    void LoadGameParams(const std::string& fileName);
    // The game parameters beside the game; the piece types with the ghost pictures; the level
    // map's points.
    void LoadGameDescriptions();
    void LoadFishkaTypes();
    void LoadPathPoints();
    void OnActivate();
    void OnDeactivate();
    void OnResumeMessage();

    Platform& platform_;
    TErrorReporter errors_;
    bool gameRan_ = false;
    size_t presentedFrames_ = 0;  // frames handed to the display, to pace idle passes
    bool destroyed_ = false;
    TBoardPresenter presenter_;
    TLevelLoader levels_;
};

// General float format with three significant digits: 59.9, 60, 7.25.
std::string FormatGeneral3(double value);
