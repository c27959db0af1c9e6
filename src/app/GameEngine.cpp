// The game object's start-up, main loop, activation handling, error reporting and shutdown.
#include "app/GameEngine.h"

#include <algorithm>
#include <filesystem>

#include "app/GameFonts.h"
#include "app/GameStartUp.h"
#include "app/GameWindows.h"
#include "app/HighScoreBoard.h"
#include "app/HostDrawing.h"
#include "app/InstallWindow.h"
#include "app/LanguageChoice.h"
#include "app/OptionsWindow.h"
#include "app/PlayerProfiles.h"
#include "app/UserFiles.h"
#include "app/WindowInput.h"
#include "app/WorkingArchive.h"
#include "app/screens/PlaySession.h"
#include "app/screens/ScreenFlow.h"
#include "core/KelException.h"
#include "graphics/GraphicsClasses.h"
#include "platform/Paths.h"
#include "ui/InterfaceClasses.h"
#include "ui/KelInterfaceObject.h"

namespace fs = std::filesystem;

TKelGameEngine::TKelGameEngine(Platform& platform, TGameFolders folders)
    : platform_(platform), s_(platform, std::move(folders)) {
    s_.Presenter =
        std::make_unique<TBoardPresenter>(TBoardPresenterLinks{.Archive = s_.Archive,
                                                               .SurfaceStore = s_.Surfaces,
                                                               .Random = s_.Random,
                                                               .Log = s_.Log,
                                                               .Types = s_.Types,
                                                               .Play = s_.Play,
                                                               .View = s_.View,
                                                               .Redraw = s_.Redraw});
    s_.Screen = std::make_unique<TGameScreen>(TGameScreenLinks{.SurfaceStore = s_.Surfaces,
                                                               .Play = s_.Play,
                                                               .View = s_.View,
                                                               .Types = s_.Types,
                                                               .Effects = s_.GlobalEffects,
                                                               .PathPoints = s_.PathPoints,
                                                               .Redraw = s_.Redraw});
    s_.PlayScreen = std::make_unique<TPlayScreen>(TPlayScreenLinks{
        .Archive = s_.Archive,
        .SurfaceStore = s_.Surfaces,
        .FontEngine = s_.Fonts,
        .Random = s_.Random,
        .Log = s_.Log,
        .View = s_.View,
        .Presenter = *s_.Presenter,
        .ScreenEffects = s_.ScreenEffects,
        .GlobalEffects = s_.GlobalEffects,
        .SoundEvents = s_.Sounds,
        .Redraw = s_.Redraw,
        .Now = [this] { return s_.Now; },
        .HoverAgain = [this](uint32_t now) { s_.Flow->Play().BoardMouseMove(now); },
        .LevelComplete = [this](uint32_t now) { s_.Flow->Play().LevelComplete(now); },
        .ScoreChanged = [this] { s_.Flow->UpdateScoreLabels(); },
        .TypeFrames =
            [this](TCell cell) {
                const int32_t type = s_.Play.Level.Board.Cell(cell.Col, cell.Row).Type;
                return type >= 0 && size_t(type) < s_.Types.size() ? s_.Types[size_t(type)].Frames()
                                                                   : 1;
            }});
    s_.Rules = std::make_unique<TPlayRules>(TPlayRulesLinks{.Play = s_.Play,
                                                            .Types = s_.Types,
                                                            .Params = s_.Params,
                                                            .Random = s_.PlayRandom,
                                                            .Out = *s_.PlayScreen});
    s_.Levels = std::make_unique<TLevelLoader>(TLevelLoaderLinks{
        .Archive = s_.Archive,
        .ReopenArchive = [this] { s_.ReopenArchive(); },
        .SurfaceStore = s_.Surfaces,
        .FontEngine = s_.Fonts,
        .Random = s_.Random,
        .Log = s_.Log,
        .SoundEvents = s_.Sounds,
        .ScreenEffects = s_.ScreenEffects,
        .LevelEffects = s_.LevelEffects,
        .Play = s_.Play,
        .View = s_.View,
        .Presenter = *s_.Presenter,
        .Screen = *s_.Screen,
        .Types = s_.Types,
        .PermanentPictures = s_.PermanentPictures,
        .Redraw = s_.Redraw,
        .FillBoard = [this] { s_.Rules->FillBoxByFishes(); },
        .LoadProgress = [this](int percent) { s_.Flow->SetLevelLoadProgress(percent); },
        // The windows of the title go before the play window comes.
        .ChangeGameState =
            [this](const std::string& name) {
                s_.Interface.HideModalList();
                s_.Flow->ChangeGameState(name);
            },
        .ShowInstructions =
            [this] {
                s_.Interface.ShowModal("WInstructions");
                s_.Instructions->StartInstructionEffects();
            }});
    s_.Instructions = std::make_unique<TInstructionEffects>(TInstructionLinks{
        .List = s_.ScreenEffects,
        .Sources = [this] { return s_.EffectSources(); },
        .Clock = [this] { return s_.Now; },
        .Types = s_.Types,
        .Level = s_.Play.Level,
        .FormVisible =
            [this](const std::string& name) {
                const auto* object =
                    dynamic_cast<const TKelInterfaceObject*>(s_.Interface.FindObject(name));
                return object ? std::optional<bool>(object->Visible()) : std::optional<bool>();
            }});
    s_.Files = std::make_unique<TUserFiles>(s_);
    s_.Players = std::make_unique<TPlayerProfiles>(s_);
    s_.HighScores = std::make_unique<THighScoreBoard>(s_);
    s_.OptionsWindow = std::make_unique<TOptionsWindow>(s_);
    s_.Language = std::make_unique<TLanguageChoice>(s_);
    s_.Windows = std::make_unique<TGameWindows>(s_);
    s_.Flow = std::make_unique<TScreenFlow>(s_);
    host_ = std::make_unique<THostDrawing>(s_);
    input_ = std::make_unique<TWindowInput>(s_);
    SetExceptionLogSink([this](const std::string& message) { s_.Log.WriteLog(message); });
}

std::string TKelGameEngine::TopForm() const {
    return s_.Windows->TopForm();
}

void TKelGameEngine::SetTopForm(const std::string& name) {
    s_.Windows->SetTopForm(name);
}

std::optional<TShownTutorialPopup> TKelGameEngine::ShownTutorialPopup() const {
    return ::ShownTutorialPopup(s_.Play.Level, s_.Interface, s_.Now);
}

TKelGameEngine::~TKelGameEngine() {
    if (!destroyed_) FormDestroy();
    SetExceptionLogSink(nullptr);
}

void TKelGameEngine::Run() {
    bool created = false;
    try {
        FormCreate();
        created = true;
    } catch (const std::exception& error) {
        AppException(error);
    }
    if (!created) Close();  // the game cannot run without what start-up loads
    while (!closed_) RunOnce();
}

void TKelGameEngine::RunOnce() {
    TEvent event;
    while (!closed_ && s_.Os.Events.Poll(event)) Dispatch(event);
    if (closed_) return;
    if (idleInstalled_) {
        // One pass a frame period and the rest of it given back: a pass composes the whole
        // frame, and the animations (the cursor's sparkle, the board's) change far less often
        // than a free-running loop would look, so an idle screen costs almost nothing.
        const uint32_t start = s_.Os.System.Ticks();
        Pass();
        const uint32_t spent = s_.Os.System.Ticks() - start;
        if (spent < FramePeriodMs) s_.Os.System.Sleep(FramePeriodMs - spent);
    } else {
        s_.Os.System.Sleep(10);  // inactive: no passes, only events
    }
}

void TKelGameEngine::Dispatch(const TEvent& event) {
    try {
        HandleEvent(event);
    } catch (const std::exception& error) {
        AppException(error);
    }
}

void TKelGameEngine::Pass() {
    if (!idleInstalled_ || closed_) return;
    try {
        bool done = false;
        AppIdle(done);
    } catch (const std::exception& error) {
        AppException(error);
    }
}

void TKelGameEngine::HandleEvent(const TEvent& event) {
    switch (event.Kind) {
        case TEventKind::Close:
            s_.CloseRequested = true;
            if (!idleInstalled_) Close();  // no pass would come to close the window
            break;
        case TEventKind::Activate:
            active_ = true;
            if (!gameRan_)
                FormActivate();
            else if (handlersInstalled_)
                OnActivate();
            break;
        case TEventKind::Deactivate:
            active_ = false;
            if (handlersInstalled_) OnDeactivate();
            break;
        case TEventKind::Message:
            if (event.Message == ResumeMessage && handlersInstalled_) OnResumeMessage();
            break;
        case TEventKind::MouseDown:
            s_.MousePos = {event.X, event.Y};
            input_->MouseDown(event);
            break;
        case TEventKind::MouseMove:
            s_.MousePos = {event.X, event.Y};
            input_->MouseMove(event);
            break;
        case TEventKind::MouseUp:
            s_.MousePos = {event.X, event.Y};
            input_->MouseUp(event);
            break;
        case TEventKind::MouseWheel:
            input_->MouseWheel(event);
            break;
        case TEventKind::KeyDown:
            input_->KeyDown(event);
            break;
        case TEventKind::Char:
            input_->KeyPress(event);
            break;
        case TEventKind::KeyUp:
            break;
    }
}

void TKelGameEngine::FormCreate() {
    s_.Log.StartRun();
    const TMachineInfo machine = s_.Os.System.MachineInfo();
    s_.Log.WriteLog(s_.AppName + " Pub. Version: " + "1" + "." + "0" + "3");
    s_.Log.WriteLog("System Information");
    s_.Log.WriteLog("   OS Version: " + machine.OsVersion);
    s_.Log.WriteLog("   Processor: " + machine.Processor);
    s_.Log.WriteLog("   Total Memory: " + std::to_string(machine.TotalMemoryMb) + " Mb");
    s_.Log.WriteLog("Form Create Method runed.");

    s_.Surfaces = std::make_unique<TSurfEngine>();
    s_.Surfaces->Log = [this](const std::string& line) { s_.Log.WriteLog(line); };
    const uint64_t seed = s_.Os.System.RandomSeed();
    s_.Random.SetSeed(seed);
    s_.PlayRandom.SetSeed(seed);
    RegisterGraphicsClasses();
    RegisterInterfaceClasses();

    s_.Options.LoadOptions(s_.UserPath("options.cfg"));
    soundOn_ = SetUpAudio(s_);
    {
        // The first start shows the install job's progress in a small window of its own.
        const std::string shipped = ResolvePath(JoinPath(s_.Folders.GameFolder, "game.zxc"));
        std::unique_ptr<TFileFolder> shippedFolder;
        std::unique_ptr<TInstallWindow> window;
        s_.Archive = InstallWorkingArchive(
            shipped, s_.WorkingArchivePath(),
            [&](const std::string& status, int percent) {
                if (!window) {
                    try {
                        shippedFolder = std::make_unique<TFileFolder>(TFileFolder::Open(shipped));
                    } catch (const std::exception&) {
                        shippedFolder.reset();  // the window goes without text
                    }
                    window = std::make_unique<TInstallWindow>(s_.Os.Display, shippedFolder.get());
                }
                window->Update(status, percent);
            },
            [this](const std::string& line) { s_.Log.WriteLog(line); });
    }
    s_.Log.WriteLog("File Folders morfed Ok...");
    s_.Sounds.BuildMusicList(s_.Folders.GameFolder, *s_.Archive);
    s_.Fonts = std::make_unique<TKelFontEngine>();
    s_.Fonts->Host = host_.get();
    s_.Windows->SetUpInterface(host_.get());
    LoadGameFonts(*s_.Archive, *s_.Fonts);
    s_.Log.WriteLog("Kel Font Loaded Ok...");
    s_.Windows->LoadInterface();
    s_.Language->SetUpLanguage();
    s_.Options.LoadOptions(s_.UserPath("options.cfg"));

    // The game draws its own cursor. A window never placed by the player opens centred.
    const bool fullScreen = s_.Options.FullScreenMode == 1;
    const bool placed = s_.Options.WindowModeX != 0 || s_.Options.WindowModeY != 0;
    s_.Os.Display.ShowWindow(fullScreen, placed ? s_.Options.WindowModeX : -1,
                             placed ? s_.Options.WindowModeY : -1);
    s_.Os.Display.ShowCursor(false);
}

void TKelGameEngine::FormActivate() {
    if (gameRan_) return;
    gameRan_ = true;
    RunGame();
}

void TKelGameEngine::RunGame() {
    try {
        Guarded("Exception error in TKelGameEngine.RunGame", [this] {
            s_.Loading = true;
            s_.Log.WriteLog("Prepare for Game run...");
            s_.Sounds.LoadSoundsEvents("Sounds.xml", s_.Folders.GameFolder, s_.Archive.get());
            s_.GlobalEffects.Load(*s_.Archive, &s_.Random, s_.Os.System.Ticks(),
                                  [this](const std::string& line) { s_.Log.WriteLog(line); });
            s_.Now = s_.Os.System.Ticks();
            const int depth = s_.Options.FullScreenMode == 1 ? s_.Options.BitsPerPixel : 32;
            if (!SetUpDisplay(s_.Os.Display, s_.Options.FullScreenMode, depth,
                              [this](const std::string& line) { s_.Log.WriteLog(line); })) {
                Close();
                return;
            }
            s_.Log.WriteLog("Init Direct Draw Ok...");
            handlersInstalled_ = true;
            idleInstalled_ = true;
            s_.Surfaces->Create(s_.Os.Display, ScreenWidth, ScreenHeight);
            s_.Log.WriteLog("Surface mode: " + s_.Surfaces->PixelFormat.Name);
            CreateWorkSurfaces(s_);
            s_.Sounds.PlaySound("vibe-eg6.mo3");
            s_.Windows->ShowGameLoading();
            LoadStartPictures(s_);

            s_.HighScores->Load();
            s_.Language->ApplyLanguage();
            s_.Log.WriteLog("Changed Language Ok...");
            std::error_code error;
            const std::string params =
                ResolvePath(JoinPath(s_.Folders.GameFolder, "GameParams.xml"));
            if (fs::exists(params, error)) LoadGameParams(s_, params);  // else the defaults hold

            s_.Flow->Show(gsMenu);
            s_.Screen->DrawGameStateBackground();
            s_.Now = s_.PreviousTick = s_.Os.System.Ticks();
            s_.FrameRate.Start(s_.Now);  // the first frame-rate second starts with the game
            s_.Play.Game.KeyCursor = {4, 4};
            // The extra buttons are optional: a broken file is logged (by its error) and the
            // game starts without them.
            try {
                s_.Windows->LoadAdditionalButtons(JoinPath(s_.Folders.GameFolder, "AddLogo.xml"));
            } catch (const KelException&) {
            }
            s_.Log.WriteLog("Game Started...");
            s_.Interface.HideModalList();
            s_.Interface.ShowModal("WTitle");
            // The free space is only reported; a file system that cannot say counts as 0 MB.
            const int64_t freeDiskMb =
                std::max<int64_t>(s_.Os.System.FreeDiskMb(s_.Folders.GameFolder), 0);
            s_.Log.WriteLog("Free Space on drive " + std::to_string(freeDiskMb) + " Mb.");
            s_.MarkWholeScreen();
            s_.OptionsWindow->ResetOptionsWindow();
            if (s_.Interface.FindObject("WGameLoading_LLoading"))
                s_.Windows->SetCaption("WLoadLevel_LLoadLevelText",
                                       s_.Windows->CaptionOf("WGameLoading_LLoading"));
            LoadGameDescriptions(s_);
            s_.Players->LoadPlayer();

            s_.ReopenArchive();
            s_.Loading = false;
            // The mouse cursor, its effect's corner at the mouse. A missing effect file is
            // reported by the second selection.
            s_.GlobalEffects.ChangeCursorType(*s_.Archive, 1, &s_.Random, s_.Now);
            s_.GlobalEffects.SetCursorOffset({0, 0});
            if (!s_.GlobalEffects.ChangeCursorEffect(*s_.Archive, "efMouseCursor.xml", &s_.Random,
                                                     s_.Now))
                s_.Log.WriteLog("Can not find file name efMouseCursor.xml in GameFolder");
            s_.Sounds.ScheduleSoundEvent("PharaohSayWelcome", -1, s_.Now);
            s_.StartedUp = true;
        });
    } catch (const std::exception&) {
        // The next pass closes the window; it must come even when start-up failed before the
        // idle handler was installed.
        s_.CloseRequested = true;
        idleInstalled_ = true;
        throw;
    }
}

void TKelGameEngine::AppIdle(bool& done) {
    if (s_.CloseRequested) {
        Close();
        return;
    }
    done = false;
    s_.Now = s_.Os.System.Ticks();
    s_.Files->ShowNextFileProblem();
    if (s_.Os.Display.IsOpen()) TickTimer(s_.Now);
    if (s_.Surfaces && s_.Os.Display.IsOpen()) {
        s_.Flow->DrawFrame();
        redrawRects_ = Guarded("Exception error in TKelGameEngine.MakeRedrawRectsFromGrid!",
                               [this] { return s_.Redraw.MakeRects(); });
        if (!redrawRects_.empty()) {
            auto failure = [this] {
                return std::string("Exception error in KelGameEngine.AppIdle! Fullscreen mode ") +
                       (s_.Os.Display.IsFullScreen() ? "on." : "off.");
            };
            try {
                Guarded(failure,
                        [this] { s_.Surfaces->PresentRects("MemorySurface", redrawRects_); });
            } catch (const std::exception&) {
                s_.CloseRequested = true;
                throw;
            }
        }
        s_.PrevMousePos = s_.MousePos;
        redrawRects_.clear();
        UpdateFrameRate(s_.Os.System.Ticks());
    }
    s_.PreviousTick = s_.Now;
}

void TKelGameEngine::TickTimer(uint32_t now) {
    Guarded("Exception error in TKelGameEngine.TickTimer!", [&] {
        // The timer dispatcher: effect instances, music and timed sounds; the interface's timed
        // changes and the play timers join here.
        TickScreenEffects(s_.ScreenEffects, now);
        TickScreenEffects(s_.LevelEffects, now);
        s_.GlobalEffects.Update(s_.Play.Game.State, now);
        s_.Sounds.TickMusicTimer(now);
        s_.Interface.Tick();
        // The screen's own changes: in play the cells' animations and the play timers.
        if (IScreen* screen = s_.Flow->Current()) screen->Update(now);
    });
}

void TKelGameEngine::UpdateFrameRate(uint32_t now) {
    if (!s_.FrameRate.Update(now)) return;
    if (s_.Options.Diagnostic())
        s_.Os.Display.SetCaption("FPS:" + FormatGeneral3(s_.FrameRate.CurrentFps()) +
                                 s_.Play.Game.DebugText);
}

void TKelGameEngine::AppException(const std::exception& error) {
    const std::string message = error.what();
    if (!dynamic_cast<const KelException*>(&error)) s_.Log.WriteLog(message);
    int suppressed = 0;
    if (!errors_.ShouldShow(message, s_.Os.System.Ticks(), suppressed)) return;
    if (suppressed > 0) s_.Log.WriteLog(std::to_string(suppressed) + " more times: " + message);
    const bool idle = idleInstalled_;
    idleInstalled_ = false;
    // A box shown over a full-screen game could stay hidden behind it: the game leaves full
    // screen while the box is up and comes back with a whole new frame.
    const bool fullScreen = s_.Os.Display.IsFullScreen();
    if (fullScreen) s_.Os.Display.ShowWindow(false, -1, -1);
    s_.Os.System.MessageBox(s_.AppName, message);
    if (fullScreen) {
        s_.Os.Display.ShowWindow(true, -1, -1);
        s_.MarkWholeScreen();
    }
    // Passes go on as before; a failed start-up gets the pass that closes the window.
    idleInstalled_ = idle || s_.CloseRequested;
}

void TKelGameEngine::OnActivate() {
    s_.Os.Events.PostMessage(ResumeMessage);
    s_.Os.Display.ShowCursor(false);
}

void TKelGameEngine::OnDeactivate() {
    idleInstalled_ = false;
    if (s_.Play.Game.State == gsGame) {
        s_.Handlers.Exec("WGame_BMenu_MouseUp");
        s_.Interface.ShowModal("WGameMenu");
    } else {
        s_.Flow->PauseClock();
    }
    s_.Os.Audio.Pause();
    s_.Os.Display.ShowCursor(true);
}

void TKelGameEngine::OnResumeMessage() {
    if (!active_) return;
    idleInstalled_ = true;
    s_.MarkWholeScreen();
    if (s_.Surfaces) s_.Flow->DrawFrame();
    s_.Os.Audio.Start();
}

void TKelGameEngine::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    s_.Flow->AbandonLevel();
    const std::string goodbye = s_.Sounds.GetEventSoundName("PharaohSayGoodbye");
    if (soundOn_ && !goodbye.empty()) {
        s_.Sounds.PlaySound(goodbye);
        s_.Os.System.Sleep(1000);  // lets the goodbye be heard before the sound stops
    }
    s_.Log.WriteLog("Average FPS: " + FormatGeneral3(s_.FrameRate.AverageFps()));
    s_.Files->SaveOptionsFile();
    idleInstalled_ = false;
    handlersInstalled_ = false;
    s_.Surfaces.reset();
    s_.Os.Display.Close();
    s_.Archive.reset();
    s_.Levels->ClearLevel();
    s_.GlobalEffects.Clear();
    s_.Types.clear();
    s_.Sounds.FreeMusicList();
    redrawRects_.clear();
}

void TKelGameEngine::Close() {
    FormDestroy();
    closed_ = true;
}
