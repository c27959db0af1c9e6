// The game object's start-up, main loop, activation handling, error reporting and shutdown.
#include "app/GameEngine.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "app/CUnit.h"
#include "app/FishPictures.h"
#include "platform/Paths.h"
#include "resources/ArchiveXml.h"

namespace fs = std::filesystem;

// The audio layer version the game was written for (1.8: major in the low word).
constexpr uint32_t ExpectedAudioVersion = 1 + 8 * 65536;

std::string FormatGeneral3(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

TKelGameEngine::TKelGameEngine(Platform& platform, TGameFolders folders)
    : Folders(std::move(folders)),
      Log(Folders.UserFolder, AppName + ".log", [&platform] { return platform.System.Ticks(); }),
      SoundEvents(platform.Audio, Options, [&platform] { return platform.System.Ticks(); }),
      platform_(platform) {
    SetExceptionLogSink([this](const std::string& message) { Log.WriteLog(message); });
}

TKelGameEngine::~TKelGameEngine() {
    if (!destroyed_) FormDestroy();
    SetExceptionLogSink(nullptr);
}

std::string TKelGameEngine::UserPath(const std::string& name) const {
    return JoinPath(Folders.UserFolder, name);
}

std::string TKelGameEngine::WorkingArchivePath() const {
    return UserPath("temp/game.zxc");
}

void TKelGameEngine::Run() {
    auto guarded = [this](auto&& action) {
        try {
            action();
        } catch (const std::exception& error) {
            AppException(error);
        }
    };
    bool created = false;
    guarded([&] {
        FormCreate();
        created = true;
    });
    if (!created) Close();  // the game cannot run without what start-up loads
    while (!Closed) {
        TEvent event;
        while (!Closed && platform_.Events.Poll(event)) guarded([&] { HandleEvent(event); });
        if (Closed) break;
        if (IdleInstalled) {
            const size_t presentedBefore = presentedFrames_;
            bool done = false;
            guarded([&] { AppIdle(done); });
            // A pass that showed nothing gives the processor back for a moment, so an idle
            // screen costs almost nothing; passes that present are paced by the display.
            if (presentedFrames_ == presentedBefore) platform_.System.Sleep(1);
        } else {
            platform_.System.Sleep(10);  // inactive: no passes, only events
        }
    }
}

void TKelGameEngine::HandleEvent(const TEvent& event) {
    switch (event.Kind) {
        case TEventKind::Close:
            CloseRequested = true;
            if (!IdleInstalled) Close();  // no pass would come to close the window
            break;
        case TEventKind::Activate:
            Active = true;
            if (!gameRan_)
                FormActivate();
            else if (HandlersInstalled)
                OnActivate();
            break;
        case TEventKind::Deactivate:
            Active = false;
            if (HandlersInstalled) OnDeactivate();
            break;
        case TEventKind::Message:
            if (event.Message == ResumeMessage && HandlersInstalled) OnResumeMessage();
            break;
        case TEventKind::MouseDown:
        case TEventKind::MouseUp:
        case TEventKind::MouseMove:
        case TEventKind::MouseWheel:
            MousePos = {event.X, event.Y};
            break;
        case TEventKind::KeyDown:
            if (event.Key == vk::F9 && Options.Diagnostic() && SurfaceStore) WriteSurfaceReport();
            break;
        case TEventKind::KeyUp:
        case TEventKind::Char:
            break;
    }
}

void TKelGameEngine::FormCreate() {
    Log.StartRun();
    StartTick = Log.StartTick();
    const TMachineInfo machine = platform_.System.MachineInfo();
    Log.WriteLog(AppName + " Pub. Version: " + "1" + "." + "0" + "3");
    Log.WriteLog("System Information");
    Log.WriteLog("   OS Version: " + machine.OsVersion);
    Log.WriteLog("   Processor: " + machine.Processor);
    Log.WriteLog("   Total Memory: " + std::to_string(machine.TotalMemoryMb) + " Mb");
    Log.WriteLog("Form Create Method runed.");

    SurfaceStore = std::make_unique<TSurfEngine>();
    SurfaceStore->Log = [this](const std::string& line) { Log.WriteLog(line); };
    Random.SetSeed(uint64_t(std::chrono::system_clock::now().time_since_epoch().count()));

    Options.LoadOptions(UserPath("options.cfg"));
    SetUpAudio();
    InstallArchive();
    SoundEvents.BuildMusicList(Folders.GameFolder, *Archive);
    FontEngine = std::make_unique<TKelFontEngine>();
    FontEngine->Host = this;
    LoadFonts();
    Options.LoadOptions(UserPath("options.cfg"));

    // The game draws its own cursor. A window never placed by the player opens centred.
    const bool fullScreen = Options.FullScreenMode == 1;
    const bool placed = Options.WindowModeX != 0 || Options.WindowModeY != 0;
    platform_.Display.ShowWindow(fullScreen, placed ? Options.WindowModeX : -1,
                                 placed ? Options.WindowModeY : -1);
    platform_.Display.ShowCursor(false);
}

void TKelGameEngine::SetUpAudio() {
    try {
        IAudio& audio = platform_.Audio;
        SoundOn = audio.GetVersion() == ExpectedAudioVersion;
        if (SoundOn) SoundOn = audio.Init(44100);
        if (SoundOn) audio.Start();
        audio.SetGlobalVolumes(std::clamp(Options.MusicVolume, 0, 100),
                               std::clamp(Options.SoundVolume, 0, 100), 0);
        Log.WriteLog("Bass init Ok...");
    } catch (const std::exception&) {
        throw KelException("Bass init error.");
    }
}

void TKelGameEngine::InstallArchive() {
    const std::string working = WorkingArchivePath();
    std::error_code error;
    if (!fs::exists(working, error)) {
        EnsureFolder(UserPath("temp"));
        TFileFolder source =
            TFileFolder::Open(ResolvePath(JoinPath(Folders.GameFolder, "game.zxc")));
        // A distributed archive that cannot be read is not copied: an empty working copy would
        // hide the problem on every later start.
        if (!source.LastError().empty())
            throw KelException("Cannot install " + source.FileName() + ": " + source.LastError());
        TFileFolder copy = TFileFolder::CreateEmpty(working);
        for (int i = 0; i < source.Count(); ++i) {
            const TFileFolder::TDir& entry = source.Entry(i);
            source.LoadFile(entry.Name);
            copy.AddFile(entry.Name, entry.EntryTag, source.Stream(i));
            source.Stream(i).Clear();
        }
        copy.Save();
    }
    Archive = std::make_unique<TFileFolder>(TFileFolder::Open(working));
    Log.WriteLog("File Folders morfed Ok...");
}

void TKelGameEngine::LoadFonts() {
    for (const char* name : {"KelUnicode.xml", "Lithos.xml", "Lithos-Bold.xml", "Lithos-Black.xml",
                             "LithosDigist-Black.xml", "LithosSmall-Bold.xml"}) {
        TMemoryStream* stream = Archive->FindFile(name);
        if (!stream) throw KelException(std::string("Can not find ") + name + "in file folder");
        FontEngine->LoadFontFromStream(*stream);
    }
    Log.WriteLog("Kel Font Loaded Ok...");
}

void TKelGameEngine::ExtDraw(const std::string& fontPicture, int count) {
    if (SurfaceStore)
        SurfaceStore->DrawText(fontPicture, "MemorySurface", count, FontEngine->Placements.data());
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
    GameParams = ReadGameParams(document, fileName);
}

void TKelGameEngine::LoadGameDescriptions() {
    std::error_code error;
    const std::string params = ResolvePath(JoinPath(Folders.GameFolder, "GameParams.xml"));
    if (fs::exists(params, error)) LoadGameParams(params);  // without the file the defaults hold
    LoadFishkaTypes();
    MakeGhostFishes(*SurfaceStore, *Archive, FishkaTypes);
    LoadPathPoints();
}

void TKelGameEngine::LoadFishkaTypes() {
    TKelParser document;
    if (LoadXmlEntry(*Archive, "FishkaTypes.xml", document))
        ::LoadFishkaTypes(document, FishkaTypes);
}

void TKelGameEngine::LoadPathPoints() {
    TKelParser document;
    if (LoadXmlEntry(*Archive, "PathPoints.xml", document)) PathPoints = ReadPathPoints(document);
}

void TKelGameEngine::FormActivate() {
    if (gameRan_) return;
    gameRan_ = true;
    RunGame();
}

void TKelGameEngine::RunGame() {
    try {
        Loading = true;
        Log.WriteLog("Prepare for Game run...");
        SoundEvents.LoadSoundsEvents("Sounds.xml", Folders.GameFolder, Archive.get());
        CurrentTick = platform_.System.Ticks();
        const int depth = Options.FullScreenMode == 1 ? Options.BitsPerPixel : 32;
        if (!SetUpDisplay(platform_.Display, Options.FullScreenMode, depth,
                          [this](const std::string& line) { Log.WriteLog(line); })) {
            Close();
            return;
        }
        Log.WriteLog("Init Direct Draw Ok...");
        HandlersInstalled = true;
        IdleInstalled = true;
        SurfaceStore->Create(platform_.Display, ScreenWidth, ScreenHeight);
        Log.WriteLog("Surface mode: " + SurfaceStore->PixelFormat.Name);
        CreateWorkSurfaces();
        SoundEvents.PlaySound("vibe-eg6.mo3");
        LoadStartPictures();

        CurrentTick = PreviousTick = platform_.System.Ticks();
        FpsSecondStart = CurrentTick;  // the first frame-rate second starts with the game
        Log.WriteLog("Game Started...");
        // The free space is only reported; a file system that cannot say counts as 0 MB.
        FreeDiskMb = std::max<int64_t>(platform_.System.FreeDiskMb(Folders.UserFolder), 0);
        Log.WriteLog("Free Space on drive " + std::to_string(FreeDiskMb) + " Mb.");
        RedrawRects = {ScreenRect};
        LoadGameDescriptions();

        // The working archive is opened again to give back the memory of the entries read
        // during start-up.
        Archive = std::make_unique<TFileFolder>(TFileFolder::Open(WorkingArchivePath()));
        Loading = false;
        SoundEvents.ScheduleSoundEvent("PharaohSayWelcome", -1, CurrentTick);
    } catch (const std::exception&) {
        CloseRequested = true;
        throw KelException("Exception error in TKelGameEngine.RunGame");
    }
}

void TKelGameEngine::AppIdle(bool& done) {
    if (CloseRequested) {
        Close();
        return;
    }
    done = false;
    CurrentTick = platform_.System.Ticks();
    if (platform_.Display.IsOpen()) TickTimer(CurrentTick);
    if (SurfaceStore && platform_.Display.IsOpen()) {
        DrawScreen();
        if (!RedrawRects.empty()) {
            try {
                SurfaceStore->PresentRects("MemorySurface", RedrawRects);
                ++presentedFrames_;
            } catch (const std::exception&) {
                CloseRequested = true;
                throw KelException(
                    std::string("Exception error in KelGameEngine.AppIdle! Fullscreen mode ") +
                    (platform_.Display.IsFullScreen() ? "on." : "off."));
            }
        }
        PrevMousePos = MousePos;
        RedrawRects.clear();
        BackgroundRects.clear();
        UpdateFrameRate(platform_.System.Ticks());
    }
    PreviousTick = CurrentTick;
}

void TKelGameEngine::CreateWorkSurfaces() {
    for (const char* name :
         {"MemorySurface", "MemoryBuferAdd", "MemoryBuferAddLight", "Background"}) {
        SurfaceStore->DeleteSurface(name);
        SurfaceStore->CreateEmptySurface(name, ScreenWidth, ScreenHeight);
    }
    SurfaceStore->CreateAlphaChannel("MemoryBuferAddLight", 255);
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
    SurfaceStore->LoadLoosePictures(Folders.GameFolder);
    Log.WriteLog("Pictures from Folder Load Ok...");
    if (TMemoryStream* list = Archive->FindFile("surfaces.dat")) {
        PermanentPictures = NonEmptyLines(list->ToString());
        SurfaceStore->LoadPictureList(*Archive, PermanentPictures);
    }
    // The fonts' glyph sheets are pictures too.
    SurfaceStore->LoadPictureList(*Archive, NonEmptyLines(FontEngine->GetPictureList()));
    Log.WriteLog("resource List Reinit Surfaces Ok...");
}

void TKelGameEngine::DrawScreen() {
    // The screens of the game states draw here as they are built; until then the frame keeps
    // the black it was created with.
    ++FramesThisSecond;
}

void TKelGameEngine::WriteSurfaceReport() {
    uint64_t total = 0;
    for (const TSurface& surface : SurfaceStore->Surfaces) {
        const uint64_t size = uint64_t(surface.Width) * uint64_t(surface.Height) * 4;
        total += size;
        Log.WriteLog(surface.Name + " " + surface.FileName + " " + std::to_string(size),
                     "CurrentSurfaces.log");
    }
    Log.WriteLog("Total surfaces size: " + std::to_string(total), "CurrentSurfaces.log");
}

void TKelGameEngine::TickTimer(uint32_t now) {
    // The timer dispatcher: effect instances, music and timed sounds, the interface's timed
    // changes and, while a level is played, the play timers (those still to come join here).
    TickScreenEffects(ScreenEffects, now);
    TickScreenEffects(LevelEffectsList, now);
    SoundEvents.TickMusicTimer(now);
}

void TKelGameEngine::UpdateFrameRate(uint32_t now) {
    if (int32_t(now - FpsSecondStart) <= 1000) return;
    FpsSecondStart = now;
    CurrentFps = FramesThisSecond;
    if (Options.Diagnostic())
        platform_.Display.SetCaption("FPS:" + FormatGeneral3(CurrentFps) + DebugText);
    AverageFps = (FpsSamples * AverageFps + CurrentFps) / (FpsSamples + 1);
    ++FpsSamples;
    FramesThisSecond = 0;
}

void TKelGameEngine::AppException(const std::exception& error) {
    const std::string message = error.what();
    if (!dynamic_cast<const KelException*>(&error)) Log.WriteLog(message);
    int suppressed = 0;
    if (!errors_.ShouldShow(message, platform_.System.Ticks(), suppressed)) return;
    if (suppressed > 0) Log.WriteLog(std::to_string(suppressed) + " more times: " + message);
    const bool idle = IdleInstalled;
    IdleInstalled = false;
    platform_.System.MessageBox(AppName, message);
    IdleInstalled = idle;
}

void TKelGameEngine::OnActivate() {
    platform_.Events.PostMessage(ResumeMessage);
    platform_.Display.ShowCursor(false);
}

void TKelGameEngine::OnDeactivate() {
    IdleInstalled = false;
    platform_.Audio.Pause();
    platform_.Display.ShowCursor(true);
}

void TKelGameEngine::OnResumeMessage() {
    if (!Active) return;
    IdleInstalled = true;
    if (SurfaceStore) DrawScreen();
    RedrawRects = {ScreenRect};
    platform_.Audio.Start();
}

void TKelGameEngine::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    const std::string goodbye = SoundEvents.GetEventSoundName("PharaohSayGoodbye");
    if (SoundOn && !goodbye.empty()) {
        SoundEvents.PlaySound(goodbye);
        platform_.System.Sleep(1000);  // lets the goodbye be heard before the sound stops
    }
    Log.WriteLog("Average FPS: " + FormatGeneral3(AverageFps));
    if (!Options.SaveOptions(UserPath("options.cfg"))) Log.WriteLog("Cannot write options.cfg");
    IdleInstalled = false;
    HandlersInstalled = false;
    SurfaceStore.reset();
    platform_.Display.Close();
    Archive.reset();
    ClearLevel();
    FishkaTypes.clear();
    SoundEvents.FreeMusicList();
    RedrawRects.clear();
    BackgroundRects.clear();
}

void TKelGameEngine::Close() {
    FormDestroy();
    Closed = true;
}
