// The game object's start-up, main loop, activation handling, error reporting and shutdown.
#include "app/GameEngine.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "app/CUnit.h"
#include "app/EffectDrawing.h"
#include "app/FishPictures.h"
#include "app/GameFonts.h"
#include "app/InstallWindow.h"
#include "app/SurfaceReport.h"
#include "app/WorkingArchive.h"
#include "graphics/GraphicsClasses.h"
#include "platform/Paths.h"
#include "resources/ArchiveXml.h"
#include "ui/InterfaceClasses.h"

namespace fs = std::filesystem;

// The audio layer version the game was written for (1.8: major in the low word).
constexpr uint32_t ExpectedAudioVersion = 1 + 8 * 65536;

TKelGameEngine::TKelGameEngine(Platform& platform, TGameFolders folders)
    : platform_(platform),
      folders_(std::move(folders)),
      log_(folders_.UserFolder, appName_ + ".log", [&platform] { return platform.System.Ticks(); }),
      soundEvents_(platform.Audio, options_, [&platform] { return platform.System.Ticks(); }),
      presenter_({.Archive = archive_,
                  .SurfaceStore = surfaceStore_,
                  .Random = random_,
                  .Log = log_,
                  .Types = fishkaTypes_,
                  .Play = play_,
                  .View = boardView_,
                  .Redraw = redrawGrid_}),
      screen_({.SurfaceStore = surfaceStore_,
               .Play = play_,
               .View = boardView_,
               .Types = fishkaTypes_,
               .Effects = globalEffects_,
               .PathPoints = pathPoints_,
               .Redraw = redrawGrid_}),
      playScreen_({.Archive = archive_,
                   .SurfaceStore = surfaceStore_,
                   .FontEngine = fontEngine_,
                   .Random = random_,
                   .Log = log_,
                   .View = boardView_,
                   .Presenter = presenter_,
                   .ScreenEffects = screenEffects_,
                   .GlobalEffects = globalEffects_,
                   .SoundEvents = soundEvents_,
                   .Redraw = redrawGrid_,
                   .Now = [this] { return currentTick_; },
                   .HoverAgain = [this](uint32_t now) { BoardMouseMove(now); },
                   .LevelComplete = [this](uint32_t now) { LevelComplete(now); },
                   .ScoreChanged = [this] { UpdateScoreLabels(); },
                   .TypeFrames =
                       [this](TCell cell) {
                           const int32_t type = play_.Level.Board.Cell(cell.Col, cell.Row).Type;
                           return type >= 0 && size_t(type) < fishkaTypes_.size()
                                      ? fishkaTypes_[size_t(type)].Frames()
                                      : 1;
                       }}),
      rules_({.Play = play_,
              .Types = fishkaTypes_,
              .Params = gameParams_,
              .Random = playRandom_,
              .Out = playScreen_}),
      levels_({.Archive = archive_,
               .ReopenArchive = [this] { ReopenArchive(); },
               .SurfaceStore = surfaceStore_,
               .FontEngine = fontEngine_,
               .Random = random_,
               .Log = log_,
               .SoundEvents = soundEvents_,
               .ScreenEffects = screenEffects_,
               .LevelEffects = levelEffectsList_,
               .Play = play_,
               .View = boardView_,
               .Presenter = presenter_,
               .Screen = screen_,
               .Types = fishkaTypes_,
               .PermanentPictures = permanentPictures_,
               .Redraw = redrawGrid_,
               .FillBoard = [this] { rules_.FillBoxByFishes(); },
               .LoadProgress = [this](int percent) { SetLevelLoadProgress(percent); },
               // The windows of the title go before the play window comes.
               .ChangeGameState =
                   [this](const std::string& name) {
                       interface_.HideModalList();
                       ChangeGameState(name);
                   },
               .ShowInstructions =
                   [this] {
                       interface_.ShowModal("WInstructions");
                       instructions_.StartInstructionEffetcs();
                   }}),
      instructions_(
          {.List = screenEffects_,
           .Sources = [this] { return EffectSources(); },
           .Clock = [this] { return currentTick_; },
           .Types = fishkaTypes_,
           .Level = play_.Level,
           .FormVisible =
               [this](const std::string& name) {
                   const auto* object =
                       dynamic_cast<const TKelInterfaceObject*>(interface_.FindObject(name));
                   return object ? std::optional<bool>(object->Visible()) : std::optional<bool>();
               }}),
      clipboard_(platform.System) {
    SetExceptionLogSink([this](const std::string& message) { log_.WriteLog(message); });
}

TKelGameEngine::~TKelGameEngine() {
    if (!destroyed_) FormDestroy();
    SetExceptionLogSink(nullptr);
}

std::string TKelGameEngine::UserPath(const std::string& name) const {
    return JoinPath(folders_.UserFolder, name);
}

std::string TKelGameEngine::WorkingArchivePath() const {
    return UserPath("temp/game.zxc");
}

void TKelGameEngine::ReopenArchive() {
    // Opening the working archive again gives back the memory of the entries read so far.
    archive_ = std::make_unique<TFileFolder>(TFileFolder::Open(WorkingArchivePath()));
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
    while (!closed_ && platform_.Events.Poll(event)) Dispatch(event);
    if (closed_) return;
    if (idleInstalled_) {
        // One pass a frame period and the rest of it given back: a pass composes the whole
        // frame, and the animations (the cursor's sparkle, the board's) change far less often
        // than a free-running loop would look, so an idle screen costs almost nothing.
        const uint32_t start = platform_.System.Ticks();
        Pass();
        const uint32_t spent = platform_.System.Ticks() - start;
        if (spent < FramePeriodMs) platform_.System.Sleep(FramePeriodMs - spent);
    } else {
        platform_.System.Sleep(10);  // inactive: no passes, only events
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
            closeRequested_ = true;
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
            mousePos_ = {event.X, event.Y};
            FormMouseDown(event);
            break;
        case TEventKind::MouseMove:
            mousePos_ = {event.X, event.Y};
            FormMouseMove(event);
            break;
        case TEventKind::MouseUp:
            mousePos_ = {event.X, event.Y};
            FormMouseUp(event);
            break;
        case TEventKind::MouseWheel:
            FormMouseWheel(event);
            break;
        case TEventKind::KeyDown:
            FormKeyDown(event);
            break;
        case TEventKind::Char:
            FormKeyPress(event);
            break;
        case TEventKind::KeyUp:
            break;
    }
}

void TKelGameEngine::FormCreate() {
    log_.StartRun();
    startTick_ = log_.StartTick();
    const TMachineInfo machine = platform_.System.MachineInfo();
    log_.WriteLog(appName_ + " Pub. Version: " + "1" + "." + "0" + "3");
    log_.WriteLog("System Information");
    log_.WriteLog("   OS Version: " + machine.OsVersion);
    log_.WriteLog("   Processor: " + machine.Processor);
    log_.WriteLog("   Total Memory: " + std::to_string(machine.TotalMemoryMb) + " Mb");
    log_.WriteLog("Form Create Method runed.");

    surfaceStore_ = std::make_unique<TSurfEngine>();
    surfaceStore_->Log = [this](const std::string& line) { log_.WriteLog(line); };
    const uint64_t seed = platform_.System.RandomSeed();
    random_.SetSeed(seed);
    playRandom_.SetSeed(seed);
    RegisterGraphicsClasses();
    RegisterInterfaceClasses();

    options_.LoadOptions(UserPath("options.cfg"));
    SetUpAudio();
    {
        // The first start shows the install job's progress in a small window of its own.
        const std::string shipped = ResolvePath(JoinPath(folders_.GameFolder, "game.zxc"));
        std::unique_ptr<TFileFolder> shippedFolder;
        std::unique_ptr<TInstallWindow> window;
        archive_ = InstallWorkingArchive(
            shipped, WorkingArchivePath(),
            [&](const std::string& status, int percent) {
                if (!window) {
                    try {
                        shippedFolder = std::make_unique<TFileFolder>(TFileFolder::Open(shipped));
                    } catch (const std::exception&) {
                        shippedFolder.reset();  // the window goes without text
                    }
                    window =
                        std::make_unique<TInstallWindow>(platform_.Display, shippedFolder.get());
                }
                window->Update(status, percent);
            },
            [this](const std::string& line) { log_.WriteLog(line); });
    }
    log_.WriteLog("File Folders morfed Ok...");
    soundEvents_.BuildMusicList(folders_.GameFolder, *archive_);
    fontEngine_ = std::make_unique<TKelFontEngine>();
    fontEngine_->Host = this;
    SetUpInterface();
    LoadGameFonts(*archive_, *fontEngine_);
    log_.WriteLog("Kel Font Loaded Ok...");
    LoadInterface();
    SetUpLanguage();
    options_.LoadOptions(UserPath("options.cfg"));

    // The game draws its own cursor. A window never placed by the player opens centred.
    const bool fullScreen = options_.FullScreenMode == 1;
    const bool placed = options_.WindowModeX != 0 || options_.WindowModeY != 0;
    platform_.Display.ShowWindow(fullScreen, placed ? options_.WindowModeX : -1,
                                 placed ? options_.WindowModeY : -1);
    platform_.Display.ShowCursor(false);
}

void TKelGameEngine::SetUpAudio() {
    try {
        IAudio& audio = platform_.Audio;
        soundOn_ = audio.GetVersion() == ExpectedAudioVersion;
        if (soundOn_) soundOn_ = audio.Init(44100);
        if (soundOn_) audio.Start();
        audio.SetGlobalVolumes(std::clamp(options_.MusicVolume, 0, 100),
                               std::clamp(options_.SoundVolume, 0, 100), 0);
        log_.WriteLog("Bass init Ok...");
    } catch (const std::exception& error) {
        LogErrorText(error.what());
        throw KelException("Bass init error.");
    }
}

void TKelGameEngine::ExtDraw(const std::string& fontPicture, int count) {
    if (surfaceStore_)
        surfaceStore_->DrawText(fontPicture, "MemorySurface", count,
                                fontEngine_->Placements.data());
}

void TKelGameEngine::LoadGameParams(const std::string& fileName) {
    TMemoryStream bytes;
    bytes.LoadFromFile(fileName);
    if (!IsPlainText(bytes)) {
        TMemoryStream plain;
        ScrambleStream(bytes, plain, ScrambleKey);
        bytes = std::move(plain);
    }
    TKelParser document;
    document.LoadFromString(bytes.ToString());
    gameParams_ = ReadGameParams(document, fileName);
}

void TKelGameEngine::LoadGameDescriptions() {
    TKelParser types;
    if (LoadXmlEntry(*archive_, "FishkaTypes.xml", types)) ReadFishkaTypes(types, fishkaTypes_);
    MakeGhostFishes(*surfaceStore_, *archive_, fishkaTypes_);
    surfaceStore_->LoadAllShadersFromFolder(*archive_);
    TKelParser points;
    if (LoadXmlEntry(*archive_, "PathPoints.xml", points)) pathPoints_ = ReadPathPoints(points);
}

void TKelGameEngine::FormActivate() {
    if (gameRan_) return;
    gameRan_ = true;
    RunGame();
}

void TKelGameEngine::RunGame() {
    try {
        Guarded("Exception error in TKelGameEngine.RunGame", [this] {
            loading_ = true;
            log_.WriteLog("Prepare for Game run...");
            soundEvents_.LoadSoundsEvents("Sounds.xml", folders_.GameFolder, archive_.get());
            globalEffects_.Load(*archive_, &random_, platform_.System.Ticks(),
                                [this](const std::string& line) { log_.WriteLog(line); });
            currentTick_ = platform_.System.Ticks();
            const int depth = options_.FullScreenMode == 1 ? options_.BitsPerPixel : 32;
            if (!SetUpDisplay(platform_.Display, options_.FullScreenMode, depth,
                              [this](const std::string& line) { log_.WriteLog(line); })) {
                Close();
                return;
            }
            log_.WriteLog("Init Direct Draw Ok...");
            handlersInstalled_ = true;
            idleInstalled_ = true;
            surfaceStore_->Create(platform_.Display, ScreenWidth, ScreenHeight);
            log_.WriteLog("Surface mode: " + surfaceStore_->PixelFormat.Name);
            CreateWorkSurfaces();
            soundEvents_.PlaySound("vibe-eg6.mo3");
            ShowGameLoading();
            LoadStartPictures();

            highScoresDamaged_ = LoadHighScores(HighScoresPath(), highScores_) > 0;
            ApplyLanguage();
            log_.WriteLog("Changed Language Ok...");
            std::error_code error;
            const std::string params = ResolvePath(JoinPath(folders_.GameFolder, "GameParams.xml"));
            if (fs::exists(params, error)) LoadGameParams(params);  // else the defaults hold

            play_.Game.State = gsMenu;
            screen_.DrawGameStateBackground();
            currentTick_ = previousTick_ = platform_.System.Ticks();
            frameRate_.Start(currentTick_);  // the first frame-rate second starts with the game
            play_.Game.KeyCursor = {4, 4};
            // The extra buttons are optional: a broken file is logged (by its error) and the
            // game starts without them.
            try {
                LoadAdditionalButtons(JoinPath(folders_.GameFolder, "AddLogo.xml"));
            } catch (const KelException&) {
            }
            log_.WriteLog("Game Started...");
            interface_.HideModalList();
            interface_.ShowModal("WTitle");
            // The free space is only reported; a file system that cannot say counts as 0 MB.
            freeDiskMb_ = std::max<int64_t>(platform_.System.FreeDiskMb(folders_.GameFolder), 0);
            log_.WriteLog("Free Space on drive " + std::to_string(freeDiskMb_) + " Mb.");
            MarkWholeScreen();
            ResetOptionsWindow();
            if (interface_.FindObject("WGameLoading_LLoading"))
                SetCaption("WLoadLevel_LLoadLevelText", CaptionOf("WGameLoading_LLoading"));
            LoadGameDescriptions();
            LoadPlayer();

            ReopenArchive();
            loading_ = false;
            // The mouse cursor, its effect's corner at the mouse. A missing effect file is
            // reported by the second selection.
            globalEffects_.ChangeCursorType(*archive_, 1, &random_, currentTick_);
            globalEffects_.SetCursorOffset({0, 0});
            if (!globalEffects_.ChangeCursorEffect(*archive_, "efMouseCursor.xml", &random_,
                                                   currentTick_))
                log_.WriteLog("Can not find file name efMouseCursor.xml in GameFolder");
            soundEvents_.ScheduleSoundEvent("PharaohSayWelcome", -1, currentTick_);
            startedUp_ = true;
        });
    } catch (const std::exception&) {
        // The next pass closes the window; it must come even when start-up failed before the
        // idle handler was installed.
        closeRequested_ = true;
        idleInstalled_ = true;
        throw;
    }
}

void TKelGameEngine::AppIdle(bool& done) {
    if (closeRequested_) {
        Close();
        return;
    }
    done = false;
    currentTick_ = platform_.System.Ticks();
    ShowNextFileProblem();
    if (platform_.Display.IsOpen()) TickTimer(currentTick_);
    if (surfaceStore_ && platform_.Display.IsOpen()) {
        DrawScreen();
        redrawRects_ = Guarded("Exception error in TKelGameEngine.MakeRedrawRectsFromGrid!",
                               [this] { return redrawGrid_.MakeRects(); });
        if (!redrawRects_.empty()) {
            auto failure = [this] {
                return std::string("Exception error in KelGameEngine.AppIdle! Fullscreen mode ") +
                       (platform_.Display.IsFullScreen() ? "on." : "off.");
            };
            try {
                Guarded(failure,
                        [this] { surfaceStore_->PresentRects("MemorySurface", redrawRects_); });
            } catch (const std::exception&) {
                closeRequested_ = true;
                throw;
            }
        }
        prevMousePos_ = mousePos_;
        redrawRects_.clear();
        UpdateFrameRate(platform_.System.Ticks());
    }
    previousTick_ = currentTick_;
}

void TKelGameEngine::CreateWorkSurfaces() {
    for (const char* name :
         {"MemorySurface", "MemoryBuferAdd", "MemoryBuferAddLight", "Background"}) {
        surfaceStore_->DeleteSurface(name);
        surfaceStore_->CreateEmptySurface(name, ScreenWidth, ScreenHeight);
    }
    surfaceStore_->CreateAlphaChannel("MemoryBuferAddLight", 255);
}

// The lines of a text with CR LF or LF ends, empty lines left out.
static std::vector<std::string> NonEmptyLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

void TKelGameEngine::LoadStartPictures() {
    surfaceStore_->LoadLoosePictures(folders_.GameFolder);
    log_.WriteLog("Pictures from Folder Load Ok...");
    if (TMemoryStream* list = archive_->FindFile("surfaces.dat"))
        permanentPictures_ = NonEmptyLines(list->ToString());
    // The windows' pictures are kept as long as the listed ones.
    LoadInterfacePictures();
    // The fonts' glyph sheets are pictures too.
    surfaceStore_->LoadPictureList(*archive_, NonEmptyLines(fontEngine_->GetPictureList()));
    log_.WriteLog("resource List Reinit Surfaces Ok...");
}

void TKelGameEngine::DrawScreen() {
    const TEffectCanvas canvas{*surfaceStore_, fontEngine_.get(), redrawGrid_, currentTick_};
    // What changed in the windows since the last frame is presented again.
    TRects changed;
    interface_.CollectDirtyRects(changed);
    for (const TRect& rect : changed) redrawGrid_.FillRect(rect);
    interface_.ClearDirty();
    switch (play_.Game.State) {
        case gsNone:
            break;
        case gsGame:
            DrawBackgroundByGrid();
            screen_.DrawFinishBar(canvas);
            DrawKelScreenEffects(canvas, "MemorySurface", levelEffectsList_);
            screen_.DrawLevelBox(canvas);
            screen_.DrawFlyingPieces(canvas);
            screen_.DrawArrowCursor(canvas, play_.Game);
            if (HoverOnPiece()) screen_.DrawMouseOverEffects(canvas);
            DrainFinishBar(currentTick_);
            screen_.DrawPharaoh(canvas, TopForm());
            DrawKelScreenEffects(canvas, "MemorySurface", screenEffects_);
            interface_.DrawAll();
            DrawCursor(canvas);
            break;
        case gsBetweenLevels:
            DrawLevelMap();
            interface_.DrawAll();
            DrawKelScreenEffects(canvas, "MemorySurface", screenEffects_);
            DrawCursor(canvas);
            break;
        case gsPause:
            DrawBackgroundByGrid();
            screen_.DrawFinishBar(canvas);
            DrawKelScreenEffects(canvas, "MemorySurface", screenEffects_);
            screen_.DrawPharaoh(canvas, TopForm());
            interface_.DrawAll();
            DrawCursor(canvas);
            break;
        case gsMenu:
            DrawBackgroundByGrid();
            interface_.DrawAll();
            DrawCursor(canvas);
            break;
        case gsInstructions:
            DrawBackgroundByGrid();
            interface_.DrawAll();
            DrawKelScreenEffects(canvas, "MemorySurface", screenEffects_);
            DrawCursor(canvas);
            break;
    }
    frameRate_.CountFrame();
}

bool TKelGameEngine::HoverOnPiece() const {
    const TCell hover = play_.Game.HoverCell;
    if (!play_.Level.Board.CellExists(hover.Col, hover.Row)) return false;
    const TFish& fish = play_.Level.Board.Cell(hover.Col, hover.Row);
    return fish.Kind == fkNormal && fish.Type != -1;
}

void TKelGameEngine::DrawCursor(const TEffectCanvas& canvas) {
    const TKelParticleEffect* cursor = globalEffects_.Cursor();
    if (!cursor) return;
    const TPoint frame = surfaceStore_->GetSurfaceSize("cursor_line.png");
    const int w = frame.X / 45, h = frame.Y;
    const TPoint offset = globalEffects_.CursorOffset();
    const int x = mousePos_.X + offset.X, y = mousePos_.Y + offset.Y;
    const int px = prevMousePos_.X + offset.X, py = prevMousePos_.Y + offset.Y;
    redrawGrid_.FillRect(
        {std::min(x, px) - 3, std::min(y, py) - 3, std::max(x, px) + w, std::max(y, py) + h});
    DrawKelParticleEffect(canvas, *cursor, "MemorySurface", x, y);
}

void TKelGameEngine::DrawBackgroundByGrid() {
    Guarded("Exception error in TKelGameEngine.DrawBackgroundByGrid!", [this] {
        // The play states restore the whole background, a little wider than the screen on the
        // left for pictures that reach past its edge. So do the others while windows are shown:
        // the windows are drawn whole every frame, and their soft edges must not pile up on
        // themselves.
        const bool whole = play_.Game.State == gsGame || play_.Game.State == gsPause ||
                           !interface_.ModalStack().empty();
        if (whole) {
            TRect screen{-8, 0, ScreenWidth - 1, ScreenHeight - 1};
            surfaceStore_->DrawSurface("Background", "MemorySurface", -8, 0, &screen);
        }
        // The grid's runs still mark the tiles after them; their background is already back
        // when the whole of it was restored.
        redrawGrid_.RestoreRuns([this, whole](const TRect& rect) {
            if (whole) return;
            TRect area = rect;
            surfaceStore_->DrawSurface("Background", "MemorySurface", rect.Left, rect.Top, &area);
        });
    });
}

void TKelGameEngine::TickTimer(uint32_t now) {
    Guarded("Exception error in TKelGameEngine.TickTimer!", [&] {
        // The timer dispatcher: effect instances, music and timed sounds; the interface's timed
        // changes and the play timers join here.
        TickScreenEffects(screenEffects_, now);
        TickScreenEffects(levelEffectsList_, now);
        globalEffects_.Update(play_.Game.State, now);
        if (play_.Game.State == gsGame) screen_.AnimateCells(now);
        soundEvents_.TickMusicTimer(now);
        interface_.Tick();
        if (play_.Game.State == gsGame && PlayWindowOnTop()) {
            ResumeClock();
            TickPlayTimers(now);
        } else if (play_.Game.State == gsGame && TutorialPopupOnTop()) {
            // A tutorial popup is part of play: the board goes on filling and merging under it,
            // so the cell it points at holds what it describes.
            TickPlayTimers(now);
        }
    });
}

void TKelGameEngine::UpdateFrameRate(uint32_t now) {
    if (!frameRate_.Update(now)) return;
    if (options_.Diagnostic())
        platform_.Display.SetCaption("FPS:" + FormatGeneral3(frameRate_.CurrentFps()) +
                                     play_.Game.DebugText);
}

TEffectSources TKelGameEngine::EffectSources() {
    return {.Archive = *archive_,
            .Surfaces = surfaceStore_.get(),
            .Fonts = fontEngine_.get(),
            .Random = &random_,
            .Log = [this](const std::string& line) { log_.WriteLog(line); }};
}

void TKelGameEngine::MarkWholeScreen() {
    redrawGrid_.Fill(2);
}

void TKelGameEngine::AppException(const std::exception& error) {
    const std::string message = error.what();
    if (!dynamic_cast<const KelException*>(&error)) log_.WriteLog(message);
    int suppressed = 0;
    if (!errors_.ShouldShow(message, platform_.System.Ticks(), suppressed)) return;
    if (suppressed > 0) log_.WriteLog(std::to_string(suppressed) + " more times: " + message);
    const bool idle = idleInstalled_;
    idleInstalled_ = false;
    // A box shown over a full-screen game could stay hidden behind it: the game leaves full
    // screen while the box is up and comes back with a whole new frame.
    const bool fullScreen = platform_.Display.IsFullScreen();
    if (fullScreen) platform_.Display.ShowWindow(false, -1, -1);
    platform_.System.MessageBox(appName_, message);
    if (fullScreen) {
        platform_.Display.ShowWindow(true, -1, -1);
        MarkWholeScreen();
    }
    // Passes go on as before; a failed start-up gets the pass that closes the window.
    idleInstalled_ = idle || closeRequested_;
}

void TKelGameEngine::OnActivate() {
    platform_.Events.PostMessage(ResumeMessage);
    platform_.Display.ShowCursor(false);
}

void TKelGameEngine::OnDeactivate() {
    idleInstalled_ = false;
    if (play_.Game.State == gsGame) {
        ExecMethod("WGame_BMenu_MouseUp");
        interface_.ShowModal("WGameMenu");
    } else {
        PauseClock();
    }
    platform_.Audio.Pause();
    platform_.Display.ShowCursor(true);
}

void TKelGameEngine::OnResumeMessage() {
    if (!active_) return;
    idleInstalled_ = true;
    MarkWholeScreen();
    if (surfaceStore_) DrawScreen();
    platform_.Audio.Start();
}

void TKelGameEngine::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    AbandonLevel();
    const std::string goodbye = soundEvents_.GetEventSoundName("PharaohSayGoodbye");
    if (soundOn_ && !goodbye.empty()) {
        soundEvents_.PlaySound(goodbye);
        platform_.System.Sleep(1000);  // lets the goodbye be heard before the sound stops
    }
    log_.WriteLog("Average FPS: " + FormatGeneral3(frameRate_.AverageFps()));
    SaveOptionsFile();
    idleInstalled_ = false;
    handlersInstalled_ = false;
    surfaceStore_.reset();
    platform_.Display.Close();
    archive_.reset();
    levels_.ClearLevel();
    globalEffects_.Clear();
    fishkaTypes_.clear();
    soundEvents_.FreeMusicList();
    redrawRects_.clear();
}

void TKelGameEngine::Close() {
    FormDestroy();
    closed_ = true;
}
