// TKelGameEngine: the game object, the composition root of the game and its main loop. It owns
// every engine and record of the game, starts them in a fixed order (FormCreate, then RunGame on
// the first activation), runs the passes (one AppIdle call: the clock of the pass, the timer
// dispatcher, composing and presenting the frame), pauses while the window is inactive, reports
// errors through AppException and shuts down in order (FormDestroy). Each concern it delegates
// to lives in its own file of app/: the working archive, the fonts, the frame rate, the sound
// events, the effect instances and their drawing, the global effects, the instruction examples,
// the redraw grid, the game screen, the board view and presenter, the level set-up. It reaches
// the system only through the platform interfaces; the wall clock and the random seed come from
// there too.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/BoardPresenter.h"
#include "app/BoardView.h"
#include "app/EffectDrawing.h"
#include "app/ErrorReporter.h"
#include "app/FrameRate.h"
#include "app/GameFolders.h"
#include "app/GameScreen.h"
#include "app/GlobalEffects.h"
#include "app/HighScores.h"
#include "app/InstructionEffects.h"
#include "app/LevelLoader.h"
#include "app/Log.h"
#include "app/Options.h"
#include "app/PlayScreen.h"
#include "app/PlayersFile.h"
#include "app/RedrawGrid.h"
#include "app/ScreenEffects.h"
#include "app/SoundEvents.h"
#include "core/Random.h"
#include "graphics/KelFontEngine.h"
#include "graphics/SurfEngine.h"
#include "platform/Platform.h"
#include "resources/FileFolder.h"
#include "rules/FishkaTypes.h"
#include "rules/Level.h"
#include "rules/PlayRules.h"
#include "rules/PlayState.h"
#include "ui/KelGrid.h"
#include "ui/KelInterface.h"
#include "ui/KelInterfaceEngine.h"

// The system clipboard lent to the interface's edits.
class TGameClipboard : public IKelClipboard {
  public:
    explicit TGameClipboard(ISystem& system) : system_(system) {}
    std::string Text() override { return system_.ClipboardText(); }
    void SetText(const std::string& text) override { system_.SetClipboardText(text); }

  private:
    ISystem& system_;
};

// A tutorial popup on the window stack: its window, the cell it names, and its arrow, pointing
// up when the popup stands below the cell, with the tip where it was last drawn.
struct TShownTutorialPopup {
    std::string Name;
    TCell Cell;
    bool ArrowUp = false;
    TPoint ArrowTip;
};

// The main loop's pace: at most one pass in this many milliseconds (50 a second).
constexpr uint32_t FramePeriodMs = 20;

// The private message that resumes the game after the window was activated again.
constexpr int ResumeMessage = 1224;

class TKelGameEngine : public IKelFontHost, public IKelGraphic {
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
    void FormActivate();
    void RunGame();
    void AppIdle(bool& done);
    void TickTimer(uint32_t now);
    // Composes the frame of the pass into "MemorySurface": what the game state shows.
    void DrawScreen();
    void AppException(const std::exception& error);
    void FormDestroy();
    // Closes the window: FormDestroy runs and the message loop ends.
    void Close();
    // Draws the font engine's laid-out glyphs into the frame.
    void ExtDraw(const std::string& fontPicture, int count) override;

    // --- the interface engine's host: its drawing goes to "MemorySurface" ---
    void Draw(const std::string& picture, const std::string& bumpMap, TBlendingMode mode, int x,
              int y, uint8_t alpha, const std::optional<TRect>& source) override;
    void DrawBumpMap(const std::string& picture, const std::string& bumpMap, int x, int y) override;
    void DrawRect(const std::string& surface, const TRect& rect, uint32_t color, uint8_t alpha,
                  bool fill) override;
    void DrawColoredAlpha(const std::string& picture, const std::string& bumpMap, int x, int y,
                          uint32_t color, uint8_t alpha) override;
    void GetPictureSize(int& width, int& height, const std::string& picture) override;
    void GetScreenSize(int& width, int& height) override;
    void PlaySound(const std::string& sound) override;
    void PostFormDraw(const std::string& formName) override;
    void LowExtDraw(const std::string& picture, const TRect& source, const std::string& text, int x,
                    int y, uint32_t color, uint8_t alpha) override;

    // --- the screen flow ---
    // A state change by name: "gsLoading", "LevelComplete", "StartNewLevel"; others do nothing.
    void ChangeGameState(const std::string& name);
    // The play clock stands still while paused; resuming moves the level's start forward by the
    // pause, never past the clock.
    void PauseClock();
    void ResumeClock();
    bool ClockPaused() const { return clockPaused_; }
    void UpdateScoreLabels();
    void UpdateWelcomeCaption();
    // Shows the level-loading window with its bar at `percent`, presented at once.
    void SetLevelLoadProgress(int percent);
    void CheckPressEnter(TShiftState shift);
    void CheckPressEscape();
    // The published handlers, by the names the interface description's scripts call.
    void RegisterHandlers();
    // Runs a published handler by name, as a script's "ExecMethod" does; false when no handler
    // has that name.
    bool ExecMethod(const std::string& name);
    bool HasHandler(const std::string& name) const { return handlers_.count(name) > 0; }

    // The level set-up: loading levels, starting a new game, clearing the level.
    TLevelLoader& Levels() { return levels_; }
    // Shows the rules' board: cell pictures and effects, the rules' events.
    TBoardPresenter& Presenter() { return presenter_; }
    // The game screen's drawing.
    TGameScreen& Screen() { return screen_; }
    const TGlobalEffects& GlobalEffects() const { return globalEffects_; }
    // The animated examples of the instructions window.
    TInstructionEffects& Instructions() { return instructions_; }

    // --- what tests, tools and the headless driver look at ---
    const TGameFolders& Folders() const { return folders_; }
    TGameOptions& Options() { return options_; }
    TGameLog& Log() { return log_; }
    TFileFolder* Archive() { return archive_.get(); }
    TSurfEngine* SurfaceStore() { return surfaceStore_.get(); }
    TSoundEvents& SoundEvents() { return soundEvents_; }
    TKelRandom& Random() { return random_; }
    // The rules' own random source, so a game replays from its seed whatever the effects draw.
    TKelRandom& PlayRandom() { return playRandom_; }
    uint32_t CurrentTick() const { return currentTick_; }
    uint32_t PreviousTick() const { return previousTick_; }
    const TFrameRate& FrameRate() const { return frameRate_; }
    // Text appended to the diagnostic frame-rate caption (the check for moves writes it too).
    void SetDebugText(std::string text) { play_.Game.DebugText = std::move(text); }
    // The rectangles presented by the last pass, and the grid that marks what changes next.
    const std::vector<TRect>& RedrawRects() const { return redrawRects_; }
    const TRedrawGrid& RedrawGrid() const { return redrawGrid_; }
    bool IdleInstalled() const { return idleInstalled_; }
    bool Closed() const { return closed_; }
    const TGameParams& GameParams() const { return gameParams_; }
    const TFishkaTypes& FishkaTypes() const { return fishkaTypes_; }
    const std::vector<TPathPoint>& PathPoints() const { return pathPoints_; }
    TPlayState& Play() { return play_; }
    TBoardView& BoardView() { return boardView_; }
    TScreenEffects& LevelEffectsList() { return levelEffectsList_; }
    TScreenEffects& ScreenEffects() { return screenEffects_; }
    // The rules of the level in play, and what shows them.
    TPlayRules& Rules() { return rules_; }
    TPlayScreen& PlayScreen() { return playScreen_; }
    // The interface engine: the windows of the game and their stack. Its windows exist once the
    // archive's description "Tervolin.li" is loaded.
    TKelInterfaceEngine& Interface() { return interface_; }
    // The name of the interface window on top of the window stack; empty when no window is
    // shown. The play timers and the board's input run only under the play window "WGame".
    std::string TopForm() const;
    // Empties the window stack and shows the named window alone.
    void SetTopForm(const std::string& name);
    // The links of the extra title buttons, by the index of their element in "AddLogo.xml".
    const std::vector<std::string>& LogoLinks() const { return logoLinks_; }
    // The level's tutorial popup while its window is on the stack.
    std::optional<TShownTutorialPopup> ShownTutorialPopup() const;

  private:
    std::string UserPath(const std::string& name) const;
    std::string WorkingArchivePath() const;
    void ReopenArchive();
    void SetUpAudio();
    void CreateWorkSurfaces();
    void LoadStartPictures();
    void LoadGameParams(const std::string& fileName);
    // The piece types with the ghost pictures and the level map's points.
    void LoadGameDescriptions();
    void UpdateFrameRate(uint32_t now);
    void MarkWholeScreen();
    // Restores the background under the marked tiles, at the start of a frame.
    void DrawBackgroundByGrid();
    // The mouse cursor's effect at the mouse, and the area it moved over marked.
    void DrawCursor(const TEffectCanvas& canvas);
    // The hovered cell is on the board and holds an ordinary piece.
    bool HoverOnPiece() const;
    // The window's input, routed between the interface's top window, the board and the map.
    bool InterfaceTakesInput() const;
    void FormMouseDown(const TEvent& event);
    void FormMouseUp(const TEvent& event);
    void FormMouseMove(const TEvent& event);
    void FormMouseWheel(const TEvent& event);
    void FormKeyDown(const TEvent& event);
    void FormKeyPress(const TEvent& event);
    // The keys of the diagnostic mode; true when the key goes no further.
    bool DebugKey(int key, TShiftState shift);
    // The board's input in the play state: the mouse's buttons and moves, and the keys.
    void BoardMouseDown(const TEvent& event);
    void BoardMouseMove(uint32_t now);
    void PlayKeyDown(int key);
    void LeftMouseDownInGamePlayBox(TPoint point);
    void PressSpaceInGamePlay();
    bool PlayWindowOnTop() const { return TopForm() == "WGame"; }
    // In play, on the board or under a tutorial popup: the arrows, Space and Delete move and use
    // the board's cursor. Under a popup Space acts only on the cell the popup names, and closes
    // the popup, as a click does.
    bool BoardTakesKeys() const;
    bool TutorialPopupOnTop() const {
        const std::vector<TPopupWindow>& popups = play_.Level.PopupWindows;
        return !popups.empty() && TopForm() == popups.back().Name;
    }
    // The play timers of the pass, under the play window.
    void TickPlayTimers(uint32_t now);
    // The level's next tutorial popup, placed beside its cell, once it is due.
    void ShowTutorialPopup(uint32_t now);
    TEffectSources EffectSources();
    // The end of a level: won once the goal is reached on a quiet board, lost when the angry
    // Pharaoh's drain empties the bar.
    void LevelComplete(uint32_t now);
    void CreateLevelCompleteEffect(uint32_t now);
    void LoseLevel();
    // One line in "Stat.log" for the level won or lost.
    void SavePlayerStat();
    void DrainFinishBar(uint32_t now);
    void OnActivate();
    void OnDeactivate();
    void OnResumeMessage();

    // The windows: set-up, the description, the loading screen, their pictures, extra buttons.
    void SetUpInterface();
    void LoadInterface();
    void ShowGameLoading();
    void LoadInterfacePictures();
    void ResetWindows();
    bool LoadLoosePicture(const std::string& fileName);
    void LoadAdditionalButtons(const std::string& fileName);
    std::string LogoUrl(const TKelXMLTag& logo) const;
    void AddLogoButton(const TKelXMLTag& logo, int index);
    void OpenLogoLink();
    // A hint window's animated example, advanced to the clock and centred in its picture well.
    void DrawHintExample(const TEffectCanvas& canvas, const std::string& formName,
                         const std::string& file);
    void DrawPopupArrow(const std::string& formName);
    // Reading and writing the windows' widgets; a missing object reads as empty or 0.
    void SetCaption(const std::string& object, const std::string& text);
    std::string CaptionOf(const std::string& object) const;
    int32_t NumberProperty(const std::string& object, const std::string& property) const;
    bool Checked(const std::string& object) const;
    void FocusObject(const std::string& formName, const std::string& objectName);

    // The published handlers and their registration.
    void Handler(const std::string& name, std::function<void()> body);
    void RegisterTitleHandlers();
    void RegisterPlayHandlers();
    void RegisterPlayerHandlers();

    // The flow between screens.
    int32_t PlayedLevel() const;
    void SavePrevScore();
    void RestorePrevScore();
    void StartFirstLevel() { levels_.StartFirstLevel(platform_.System.Ticks()); }
    void ShowLevelMap();
    void ShowGameComplete();
    void StartNewLevel();
    void ShowLevelHint();
    void NextLevel();
    void RestartLevel();
    void ShowFirstPlayerDialog();
    // Closing the window during a level gives it up: its score and, when newest, the level.
    void AbandonLevel();

    // The level map.
    const TPathPoint* MapPoint(int32_t position) const;
    int32_t LevelAtMouse() const;
    void PickMapLevel();
    void DrawLevelMap();
    void DrawSelectedLevelMarker(const TEffectCanvas& canvas);

    // The user's files that did not read or could not be written: a damaged players file is
    // set aside before the game starts afresh, the high scores' original is kept before their
    // first rewrite, and a failed save is logged and, once per file, told in "WFileProblem".
    enum class TUserFile { Players, HighScores, Options, Language };
    // The players file read whole as the game uses it. A file that does not read is moved aside
    // and none is answered, as on a first start, with `kept` the name it now has.
    std::unique_ptr<TKelParser> ReadPlayersOrSetAside(const TPlayersFile& file, std::string& kept);
    void WritePlayers(const TPlayersFile& file, TKelParser& document);
    void SaveHighScoresFile();
    void SaveOptionsFile();
    // `error` is the system's error number of the failed write.
    void ReportSaveFailure(TUserFile file, int error);
    // Queues "WFileProblem" with the title and text of two "WResource" labels and a detail
    // line; the passes show the notices one at a time.
    void ShowFileProblem(const std::string& titleResource, const std::string& textResource,
                         const std::string& detail);
    // The next notice waiting, unless one is shown.
    void ShowNextFileProblem();

    // Players and high scores as the flow uses them.
    void LoadPlayer();
    void SavePlayerState();
    void MakeNewPlayersFile();
    bool AddNewPlayer(const std::string& name);
    void SelectPlayer(const std::string& name);
    bool RenamePlayer(const std::string& name);
    void DeletePlayer(const std::string& name);
    void FillPlayersGrid();
    std::string SelectedPlayer() const;
    TPlayersFile PlayersFile() const;
    TKelGrid* Grid(const std::string& name) const;
    std::string HighScoresPath() const;
    void LoadHighScoresWithPlayers();
    void FillHighScores();
    bool HighScoresEmpty();
    // Enters a finished game into the table of the game mode and stores the tables.
    void AddHighScore(const std::string& name, int32_t score);
    // Takes every player's game in progress out of the high scores.
    void ClearAddScore();
    void ClearHighScores();

    // The options window and the window mode.
    int SliderPosition(const std::string& slider, int fallback) const;
    void ShowDisplayOptions();
    // The window from the stored options (Cancel, and at start-up), the language in force before
    // the window was opened restored.
    void ResetOptionsWindow();
    void ApplyVolumeSlider(bool music);
    void ApplyOptionsWindow();
    void ChangeWindowMode();
    // Opens the display in the mode of the options and rebuilds every picture; false (the game
    // closing) when no depth can be set.
    bool ReopenDisplay();
    void DoPostChangeWindowMode();

    // The interface language.
    std::string LanguageFolder() const;
    std::vector<std::string> LanguageFiles() const;
    void LoadReg();
    void SaveLanguageToReg();
    void TakeDesktopLanguage();
    void BuildLanguageButtons();
    void ApplyLanguage();
    void SetUpLanguage();
    void ChooseLanguage();

    const std::string appName_ = "Tervolin";
    Platform& platform_;
    TGameFolders folders_;
    TGameOptions options_;
    TGameLog log_;
    std::unique_ptr<TFileFolder> archive_;
    std::unique_ptr<TSurfEngine> surfaceStore_;
    TSoundEvents soundEvents_;
    std::unique_ptr<TKelFontEngine> fontEngine_;
    // Randomness of the effects and the rules, seeded by the platform at start-up.
    TKelRandom random_, playRandom_;
    TErrorReporter errors_;

    bool soundOn_ = true;
    bool loading_ = false;
    bool closeRequested_ = false;
    uint32_t startTick_ = 0, currentTick_ = 0, previousTick_ = 0;
    TPoint mousePos_, prevMousePos_;
    TFrameRate frameRate_;
    TRedrawGrid redrawGrid_;
    std::vector<TRect> redrawRects_;
    int64_t freeDiskMb_ = 0;
    // The pictures listed in "surfaces.dat": loaded at start-up, never released between levels.
    std::vector<std::string> permanentPictures_;
    TGameParams gameParams_;
    std::vector<TPathPoint> pathPoints_;
    TFishkaTypes fishkaTypes_;
    // What the puzzle decides: the level with its board, and the game record.
    TPlayState play_;
    // How the board looks: cell pictures and effects, the hover state.
    TBoardView boardView_;
    // Running effect instances: over the screen, and the level's ambient ones under the board.
    TScreenEffects screenEffects_, levelEffectsList_;
    TBoardPresenter presenter_;
    TGlobalEffects globalEffects_;
    TGameScreen screen_;
    TPlayScreen playScreen_;
    TPlayRules rules_;
    TLevelLoader levels_;
    TInstructionEffects instructions_;
    // The windows of the game; they draw through this object and lend its clipboard.
    TKelInterfaceEngine interface_;
    TGameClipboard clipboard_;
    std::vector<std::string> logoLinks_;
    std::map<std::string, std::function<void()>> handlers_;
    THighScoreTables highScores_;
    bool highScoresDamaged_ = false;  // lines of the file did not read; kept before a rewrite
    std::set<TUserFile> saveFailuresShown_;
    struct TFileProblem {
        std::string Title, Text, Detail;
    };
    std::deque<TFileProblem> fileProblems_;  // waiting for "WFileProblem" to close
    std::string language_, previousLanguage_;
    // The character a key that pressed a button is about to type (its Char event follows its
    // KeyDown), swallowed; 0 when none.
    uint32_t pressedChar_ = 0;
    bool clockPaused_ = false;
    uint32_t pauseStart_ = 0;

    // Loop state: the idle handler runs passes; the activation handlers are installed by
    // RunGame once the display is set up.
    bool idleInstalled_ = false;
    bool handlersInstalled_ = false;
    bool active_ = false;
    bool closed_ = false;
    bool gameRan_ = false;
    bool startedUp_ = false;  // RunGame has finished
    bool destroyed_ = false;
};
