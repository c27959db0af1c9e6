#include "app/GameEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/CUnit.h"
#include "app/HeadlessGame.h"
#include "resources/JpegPNG.h"
#include "support/HeadlessGame.h"
#include "support/TempFolder.h"

namespace fs = std::filesystem;

// The game with a distributed archive of the six fonts, a sound table and a picture entry.
class GameEngineTest : public HeadlessGameTest {
  protected:
    GameEngineTest() { WriteArchive(""); }
    void WriteArchive(const std::string& leftOutFont) {
        HeadlessGameTest::WriteArchive(
            {{"Sounds.xml", "<Sounds/>"}, {"logo.png", "not really a picture"}}, leftOutFont);
    }
};

TEST_F(GameEngineTest, StartsRunsAndClosesInTheDocumentedOrder) {
    user.Write("Tervolin.log", "a line of an earlier run\r\n");
    auto game = MakeGame();
    events.Push(ActivateEvent(true));
    events.Push(CloseEvent());
    game->Run();
    EXPECT_TRUE(system.MessageBoxes.empty());

    EXPECT_TRUE(game->Closed());
    // The fixture archive has none of the global effects: each is reported once, and the game
    // goes on without them.
    std::vector<std::string> messages = LogMessages();
    const auto missing = std::remove_if(messages.begin(), messages.end(), [](const auto& line) {
        return line.rfind("Can not find file name ef", 0) == 0;
    });
    EXPECT_EQ(messages.end() - missing, std::ptrdiff_t(TGlobalEffects::Files().size() + 1));
    messages.erase(missing, messages.end());
    EXPECT_EQ(messages, (std::vector<std::string>{"Tervolin Pub. Version: 1.03",
                                                  "System Information",
                                                  "   OS Version: Test OS",
                                                  "   Processor: Test Processor",
                                                  "   Total Memory: 4096 Mb",
                                                  "Form Create Method runed.",
                                                  "Bass init Ok...",
                                                  "Working archive made",
                                                  "File Folders morfed Ok...",
                                                  "Kel Font Loaded Ok...",
                                                  "KelInterfaceInfo:",
                                                  "\t\tKelInterface XML file: -",
                                                  "\t\tKelInterfaceEngine: V3.08 (23.12.05)",
                                                  "\t\tKelInterfaceClasses: V3.13 (12.05.06)",
                                                  "Kel Interface Loaded Ok...",
                                                  "Prepare for Game run...",
                                                  "Init Direct Draw Ok...",
                                                  "Surface mode: B8G8R8",
                                                  "The loading window is missing",
                                                  "Pictures from Folder Load Ok...",
                                                  "resource List Reinit Surfaces Ok...",
                                                  "Changed Language Ok...",
                                                  "Game Started...",
                                                  "Free Space on drive 1024 Mb.",
                                                  "Average FPS: 0"}));
    EXPECT_TRUE(display.WindowShown);
    EXPECT_FALSE(display.CursorVisible);
    EXPECT_FALSE(display.IsOpen());
    EXPECT_TRUE(fs::exists(user.File("options.cfg")));
    const auto& calls = audio.Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetGlobalVolumes 100 100 0"), calls.end());
}

TEST_F(GameEngineTest, WorkingArchiveIsMadeOnceAndRemadeWhenDeleted) {
    MakeGame()->FormCreate();
    const std::string working = user.File("temp/game.zxc");
    ASSERT_TRUE(fs::exists(working));
    EXPECT_EQ(user.Read("temp/game.zxc"), data.Read("game.zxc"));

    // A later start opens the copy it finds when the distributed archive is gone.
    fs::remove(data.File("game.zxc"));
    auto second = MakeGame();
    second->FormCreate();
    EXPECT_EQ(second->Services().Archive.get()->IndexOfFile("LOGO.PNG"), 1);

    fs::remove(working);
    auto third = MakeGame();
    EXPECT_THROW(third->FormCreate(), KelException);  // nothing to install from
    EXPECT_FALSE(fs::exists(working));
    EXPECT_FALSE(fs::exists(working + ".part"));
}

TEST_F(GameEngineTest, DisplayFallsBackTo16BitsThenGivesUp) {
    display.RefusedDepths = {32};
    auto game = MakeGame();
    game->FormCreate();
    game->HandleEvent(ActivateEvent(true));
    EXPECT_TRUE(display.IsOpen());
    EXPECT_EQ(display.PixelFormat().BitCount, 16);

    display.RefusedDepths = {32, 16};
    auto failing = MakeGame();
    failing->FormCreate();
    failing->HandleEvent(ActivateEvent(true));
    EXPECT_TRUE(failing->Closed());
    const auto messages = LogMessages();
    EXPECT_NE(
        std::find(messages.begin(), messages.end(), "Error in init DirectX mode FullScreen=0"),
        messages.end());
    EXPECT_TRUE(system.MessageBoxes.empty());
}

TEST_F(GameEngineTest, InactiveWindowRunsNoPassesUntilTheResumeMessage) {
    auto game = MakeGame();
    game->FormCreate();
    game->HandleEvent(ActivateEvent(true));
    ASSERT_TRUE(game->IdleInstalled());
    audio.ClearCalls();

    game->HandleEvent(ActivateEvent(false));
    EXPECT_FALSE(game->IdleInstalled());
    EXPECT_TRUE(display.CursorVisible);
    EXPECT_EQ(audio.Calls(), std::vector<std::string>{"Pause"});

    game->HandleEvent(ActivateEvent(true));
    EXPECT_FALSE(game->IdleInstalled());  // resumes only through the posted message
    EXPECT_EQ(events.Messages, std::deque<int>{ResumeMessage});
    TEvent resume;
    ASSERT_TRUE(events.Poll(resume));
    game->HandleEvent(resume);
    EXPECT_TRUE(game->IdleInstalled());
    EXPECT_FALSE(display.CursorVisible);
    EXPECT_TRUE(TilesMarked(game->Services().Redraw, ScreenRect));
    EXPECT_EQ(audio.Calls().back(), "Start");

    // The message arriving after the window lost the focus again does not resume.
    game->HandleEvent(ActivateEvent(false));
    game->HandleEvent(MessageEvent(ResumeMessage));
    EXPECT_FALSE(game->IdleInstalled());
}

TEST_F(GameEngineTest, PassesFollowTheClockAndCloseWhenRequested) {
    auto game = MakeGame();
    game->FormCreate();
    game->HandleEvent(ActivateEvent(true));
    bool done = true;
    system.Now += 40;
    game->AppIdle(done);
    EXPECT_FALSE(done);
    EXPECT_EQ(game->Services().Now, system.Now);
    EXPECT_EQ(game->Services().PreviousTick, system.Now);

    game->HandleEvent(CloseEvent());
    EXPECT_FALSE(game->Closed());  // the next pass closes
    game->AppIdle(done);
    EXPECT_TRUE(game->Closed());
}

TEST(FrameRateTest, SamplesOncePerSecondAndAverages) {
    TFrameRate rate;
    const uint32_t start = 10000000;
    rate.Start(start);
    for (int frame = 0; frame < 30; ++frame) rate.CountFrame();
    EXPECT_FALSE(rate.Update(start + 1000));  // not more than a second yet
    EXPECT_EQ(rate.Samples(), 0);
    EXPECT_TRUE(rate.Update(start + 1001));
    EXPECT_EQ(rate.CurrentFps(), 30);
    EXPECT_EQ(rate.FramesThisSecond(), 0);
    for (int frame = 0; frame < 60; ++frame) rate.CountFrame();
    EXPECT_TRUE(rate.Update(start + 2002));
    EXPECT_EQ(rate.AverageFps(), 45);

    TFrameRate steady;
    steady.Start(start);
    for (int second = 1; second <= 3; ++second) {
        for (int frame = 0; frame < 60; ++frame) steady.CountFrame();
        steady.Update(start + second * 1001);
    }
    EXPECT_EQ(steady.AverageFps(), 60);
}

TEST_F(GameEngineTest, DiagnosticModeShowsTheFrameRateInTheCaption) {
    for (int debugMode : {0, 463}) {
        THeadlessGame game({data.Path().string(), user.Path().string()});
        game.Engine().Services().Options.DebugMode = debugMode;
        game.Start();
        game.Engine().Services().Options.DebugMode = debugMode;  // start-up read the options file
        game.Engine().Services().Play.Game.DebugText = (" moves:3");
        game.Step(900);
        EXPECT_EQ(game.Display().Caption, "");  // at most once a second
        game.Step(1200);
        if (debugMode == 463)
            EXPECT_EQ(game.Display().Caption,
                      "FPS:" + FormatGeneral3(game.Engine().Services().FrameRate.CurrentFps()) + " moves:3");
        else
            EXPECT_EQ(game.Display().Caption, "");

        // F9 writes the surface report, in diagnostic mode only.
        game.KeyDown(vk::F9);
        game.KeyUp(vk::F9);
        game.Step(10);
        EXPECT_EQ(fs::exists(user.File("CurrentSurfaces.log")), debugMode == 463);
    }
}

TEST_F(GameEngineTest, ErrorsAreShownOnceAndTheGameGoesOn) {
    auto game = MakeGame();
    game->FormCreate();
    game->HandleEvent(ActivateEvent(true));
    for (int pass = 0; pass < 5; ++pass) {
        game->AppException(KelException("Exception error in TKelGameEngine.TickTimer!"));
        system.Now += 16;
    }
    game->AppException(std::runtime_error("Cannot load file (wrong file size)"));
    ASSERT_EQ(system.MessageBoxes.size(), 2u);
    EXPECT_EQ(system.MessageBoxes[0].first, "Tervolin");
    EXPECT_EQ(system.MessageBoxes[0].second, "Exception error in TKelGameEngine.TickTimer!");
    EXPECT_TRUE(game->IdleInstalled());
    const auto messages = LogMessages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(),
                         "Exception error in TKelGameEngine.TickTimer!"),
              5);
    EXPECT_EQ(messages.back(), "Cannot load file (wrong file size)");
}

TEST_F(GameEngineTest, PassesPresentOnlyWhatChangedAndReportSurfaces) {
    user.Write("options.cfg", "[Options]\r\nDebugMode=463\r\n");
    auto game = MakeGame();
    game->FormCreate();
    game->HandleEvent(ActivateEvent(true));
    bool done = false;
    game->AppIdle(done);
    ASSERT_EQ(display.Presented.size(), 1u);
    std::vector<TRect> rows;  // the whole screen, one run of tiles a row
    for (int y = 0; y < 600; y += 20) rows.push_back({0, y, 799, y + 19});
    EXPECT_EQ(display.Presented[0], rows);
    EXPECT_EQ(display.LastFrame.size(), 800u * 600u * 4u);
    game->AppIdle(done);  // what changed is presented in two frames
    ASSERT_EQ(display.Presented.size(), 2u);
    EXPECT_EQ(display.Presented[1], rows);
    game->AppIdle(done);
    EXPECT_EQ(display.Presented.size(), 2u);  // nothing changed, nothing presented
    EXPECT_EQ(game->Services().FrameRate.FramesThisSecond(), 3);

    const TEvent f9 = KeyDownEvent(vk::F9);
    game->HandleEvent(f9);
    game->HandleEvent(f9);
    const std::string report = user.Read("CurrentSurfaces.log");
    EXPECT_NE(report.find("} MemorySurface  1920000\r\n"), std::string::npos);
    size_t totals = 0;
    for (size_t at = report.find("Total surfaces size: 7680000"); at != std::string::npos;
         at = report.find("Total surfaces size: 7680000", at + 1))
        ++totals;
    EXPECT_EQ(totals, 2u);
}

TEST_F(GameEngineTest, AMissingFontStopsStartUpWithAClearMessage) {
    WriteArchive("Lithos-Black");
    auto game = MakeGame();
    events.Push(ActivateEvent(true));
    game->Run();
    EXPECT_TRUE(game->Closed());
    ASSERT_EQ(system.MessageBoxes.size(), 1u);
    EXPECT_EQ(system.MessageBoxes[0].second, "Can not find Lithos-Black.xmlin file folder");
    const auto messages = LogMessages();
    EXPECT_NE(
        std::find(messages.begin(), messages.end(), "Can not find Lithos-Black.xmlin file folder"),
        messages.end());
    EXPECT_EQ(std::find(messages.begin(), messages.end(), "Prepare for Game run..."),
              messages.end());
}

TEST_F(GameEngineTest, ReadsGameParamsPlainOrScrambledAndTheArchiveDescriptions) {
    const std::string params = "<GamePlayParams><DownFall>true</DownFall></GamePlayParams>";
    for (bool scrambled : {false, true}) {
        TMemoryStream plain(params), stored;
        if (scrambled)
            ScrambleStream(plain, stored, ScrambleKey);
        else
            stored = TMemoryStream(params);
        data.Write("GameParams.xml", stored.ToString());
        auto game = MakeGame();
        game->FormCreate();
        game->HandleEvent(ActivateEvent(true));
        EXPECT_TRUE(game->Services().Params.DownFall) << scrambled;
        EXPECT_FALSE(game->Closed());
    }
    fs::remove(data.File("GameParams.xml"));
    auto game = MakeGame();
    game->FormCreate();
    game->HandleEvent(ActivateEvent(true));
    EXPECT_FALSE(game->Services().Params.DownFall);
    EXPECT_TRUE(game->Services().Types.empty());  // the fixture archive has none
}

TEST_F(GameEngineTest, AFailedStartUpKeepsItsCauseAndClosesInOrder) {
    data.Write("GameParams.xml", "<GamePlayParams><DownFall>maybe</DownFall></GamePlayParams>");
    THeadlessGame game({data.Path().string(), user.Path().string(), 1, 10});
    game.Start();
    game.Step(100);
    EXPECT_TRUE(game.Engine().Closed());
    ASSERT_EQ(game.System().MessageBoxes.size(), 1u);
    EXPECT_EQ(game.System().MessageBoxes[0].second, "Exception error in TKelGameEngine.RunGame");
    const std::string log = user.Read("Tervolin.log");
    const size_t cause = log.find("maybe"), fixed = log.find("TKelGameEngine.RunGame");
    EXPECT_NE(cause, std::string::npos) << log;
    EXPECT_LT(cause, fixed);
    EXPECT_EQ(log.find("Game Started..."), std::string::npos);  // the parameters come first
    EXPECT_NE(log.find("Average FPS"), std::string::npos);      // closed in order
}

TEST_F(GameEngineTest, StartUpLoadsShadersAndAsksForTheGameFoldersFreeSpace) {
    TPngPicture shader;
    shader.Width = 2;
    shader.Height = 1;
    shader.Color.assign(6, 9);
    const std::vector<uint8_t> png = shader.Encode();
    HeadlessGameTest::WriteArchive(
        {{"Sounds.xml", "<Sounds/>"}, {"ShaderSoft.png", std::string(png.begin(), png.end())}});
    auto game = StartGame();
    ASSERT_FALSE(game->Closed());
    EXPECT_EQ(game->Services().Surfaces.get()->IndexOfShader("ShaderSoft.png"), 0);
    EXPECT_EQ(system.FreeDiskPath, data.Path().string());
}

TEST_F(GameEngineTest, AnErrorBoxIsShownOutsideFullScreen) {
    user.Write("options.cfg", "[Options]\r\nFullScreenMode=1\r\n");
    auto game = StartGame();
    ASSERT_TRUE(display.IsFullScreen());
    display.WindowModes.clear();
    bool done = false;
    game->AppIdle(done);
    game->AppException(KelException("Exception error in TKelGameEngine.TickTimer!"));
    EXPECT_EQ(system.MessageBoxes.size(), 1u);
    EXPECT_EQ(display.WindowModes, (std::vector<bool>{false, true}));
    EXPECT_TRUE(display.IsFullScreen());
    EXPECT_TRUE(game->IdleInstalled());
    EXPECT_TRUE(TilesMarked(game->Services().Redraw, ScreenRect));  // the whole frame after the box
}

TEST_F(GameEngineTest, WithoutInterfaceFormsTheInstructionsShowTheirSecondPage) {
    auto game = StartGame();
    (*game->Services().Instructions).StartInstructionEffects();
    (*game->Services().Instructions).StartInstructionEffects();
    const auto messages = LogMessages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(),
                         "Can not find tab form WInstructions_TFPage1, the instructions show their "
                         "second page"),
              1);
    EXPECT_EQ(std::count(messages.begin(), messages.end(),
                         "Can not find file name efBonusGemOnInstr.xml in GameFolder"),
              2);
}
