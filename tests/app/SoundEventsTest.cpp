// Sound events and music on the recording audio layer: the queue and its repeating windows, the
// music switch, volumes rounded half to even and clamped, the sliders, the event table (folder
// over archive) and the table the game ships.
#include "app/SoundEvents.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "content/Synth.h"
#include "core/KelException.h"
#include "core/KelParser.h"
#include "support/AudioTestData.h"
#include "platform/HeadlessAudio.h"
#include "resources/FileFolder.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t T = 10'000'000;

class SoundEventsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Audio.Init(44100));
        auto wav = MakeConstantWav(441);
        auto module = MakeTestModule();
        for (const char* name : {"Beep.ogg", "Bell.wav"})
            LoadMusicFromStream(Audio, wav.data(), wav.size(), name, skSample, Events.MusicList);
        for (const char* name : {"A.mo3", "B.mo3"})
            LoadMusicFromStream(Audio, module.data(), module.size(), name, skModule,
                                Events.MusicList);
        Audio.ClearCalls();
    }
    std::string H(const std::string& name) {
        return std::to_string(MusicHandle(name, Events.MusicList));
    }

    HeadlessAudio Audio;
    TGameOptions Options;
    uint32_t Now = T;  // the platform tick
    TSoundEvents Events{Audio, Options, [this] { return Now; }};
};

}  // namespace

TEST(SoundLevelTest, RoundsHalfToEvenAndClamps) {
    struct Case {
        int64_t volume, level;
        int expect;
    };
    for (Case c : {Case{50, 1, 0}, Case{50, 3, 2}, Case{50, 5, 2}, Case{50, 7, 4}, Case{150, 1, 2},
                   Case{250, 1, 2}, Case{100, 100, 100}, Case{1000, 100, 100}, Case{-50, 100, 0},
                   Case{100, -3, 0}, Case{INT32_MAX, INT32_MAX, 100}, Case{INT32_MIN, INT32_MAX, 0},
                   Case{INT64_MAX, 2, 100}}) {
        EXPECT_EQ(ScaledLevel(c.volume, c.level), c.expect) << c.volume << " " << c.level;
    }
    for (auto [value, expect] : std::vector<std::pair<double, int>>{
             {33.5, 34}, {32.5, 32}, {0.5, 0}, {99.4, 99}, {-0.5, 0}, {1e300, INT32_MAX}}) {
        EXPECT_EQ(RoundHalfEven(value), expect) << value;
    }
}

TEST_F(SoundEventsTest, QueuedSoundsPlayAtScaledVolumes) {
    struct Case {
        int volume, soundVolume;
        std::vector<std::string> calls;
    };
    std::string beep = H("Beep.ogg");
    for (const Case& c : std::vector<Case>{{50, 1, {}},
                                           {50, 3, {"SamplePlay " + beep + " 2"}},
                                           {50, 5, {"SamplePlay " + beep + " 2"}},
                                           {1000, 100, {"SamplePlay " + beep + " 100"}},
                                           {-20, 100, {}},
                                           {80, 250, {"SamplePlay " + beep + " 100"}}}) {
        Options.SoundVolume = c.soundVolume;
        Audio.ClearCalls();
        Events.AddSoundEffect("Beep.ogg", c.volume, -1, false, 0, 0, 0, T);
        Events.TickMusicTimer(T);  // not later than its time yet
        EXPECT_TRUE(Audio.Calls().empty());
        Events.TickMusicTimer(T + 1);
        EXPECT_EQ(Audio.Calls(), c.calls) << c.volume << " x " << c.soundVolume;
        EXPECT_TRUE(Events.SoundEffects.empty());
        EXPECT_EQ(Options.SoundVolume, c.soundVolume);  // the option keeps its value
    }
}

TEST_F(SoundEventsTest, DueSoundsPlayInQueueOrderAndUnknownOnesAreDropped) {
    Events.AddSoundEffect("Bell.wav", 100, T + 50, false, 0, 0, 0, T);
    Events.AddSoundEffect("", 100, -1, false, 0, 0, 0, T);  // an event the table does not name
    Events.AddSoundEffect("Beep.ogg", 100, T + 20, false, 0, 0, 0, T);
    Events.AddSoundEffect("Bell.wav", 100, T + 500, false, 0, 0, 0, T);
    Events.TickMusicTimer(T + 100);
    EXPECT_EQ(Audio.Calls(), (std::vector<std::string>{"SamplePlay " + H("Bell.wav") + " 100",
                                                       "SamplePlay " + H("Beep.ogg") + " 100"}));
    ASSERT_EQ(Events.SoundEffects.size(), 1u);
    EXPECT_EQ(Events.SoundEffects[0].NextTime, int32_t(T + 500));
}

TEST_F(SoundEventsTest, RepeatingSoundsFollowTheirWindows) {
    // Period 2000 in windows of 5000 every 15000, passes every 100 ms.
    Events.AddSoundEffect("Beep.ogg", 100, T, true, 2000, 5000, 10000, T);
    std::vector<uint32_t> played;
    for (uint32_t now = T; now <= T + 31000; now += 100) {
        Audio.ClearCalls();
        Events.TickMusicTimer(now);
        if (!Audio.Calls().empty()) played.push_back(now - T);
    }
    EXPECT_EQ(played, (std::vector<uint32_t>{100, 2200, 4300, 15100, 17200, 19300, 30100}));

    // Without windows and with period 0: every pass whose clock has advanced.
    Events.SoundEffects.clear();
    Events.AddSoundEffect("Beep.ogg", 100, T, true, 0, 0, 0, T);
    played.clear();
    for (uint32_t now : {T + 5, T + 5, T + 6, T + 20, T + 20}) {
        Audio.ClearCalls();
        Events.TickMusicTimer(now);
        if (!Audio.Calls().empty()) played.push_back(now - T);
    }
    EXPECT_EQ(played, (std::vector<uint32_t>{5, 6, 20}));
}

TEST_F(SoundEventsTest, ChangeMusicFadesOutAndStartsTheLastRequestAfterTheGap) {
    Options.MusicVolume = 70;
    Events.PlaySound("A.mo3");
    EXPECT_EQ(Events.CurrentMusic, "A.mo3");
    Audio.ClearCalls();

    Events.ChangeMusic("A.mo3", 1000, 1000, 0, 0);
    Now = T + 300;
    Events.ChangeMusic("B.mo3", 1000, 500, 1, 0);  // replaces the first
    EXPECT_EQ(Audio.Calls(),
              (std::vector<std::string>{"ChannelSlideVolume " + H("A.mo3") + " 0 1000",
                                        "ChannelSlideVolume " + H("A.mo3") + " 0 1000"}));
    EXPECT_EQ(Events.SwitchTime, int32_t(T + 1300));
    Audio.ClearCalls();
    Events.TickMusicTimer(T + 1300);
    EXPECT_TRUE(Audio.Calls().empty());
    Events.TickMusicTimer(T + 1301);
    std::string a = H("A.mo3"), b = H("B.mo3");
    EXPECT_EQ(Audio.Calls(),
              (std::vector<std::string>{
                  "ChannelStop " + a, "ChannelStop " + b, "ChannelSetVolume " + b + " 0",
                  "ChannelSlideVolume " + b + " 70 500", "MusicPlay " + b + " 1"}));
    EXPECT_EQ(Events.CurrentMusic, "B.mo3");
    EXPECT_EQ(Events.SwitchTime, -1);
    EXPECT_TRUE(Audio.Mix().IsPlaying(MusicHandle("B.mo3", Events.MusicList)));
}

// The switch is timed from the platform tick at the call, which may be later than the tick of
// the pass that asked for it.
TEST_F(SoundEventsTest, ChangeMusicTimesTheSwitchFromTheTickAtTheCall) {
    Events.TickMusicTimer(T);
    Now = T + 700;  // the pass has been busy since its tick was taken
    Events.ChangeMusic("B.mo3", 1000, 1000, 0, 250);
    EXPECT_EQ(Events.SwitchTime, int32_t(T + 1950));
    Events.TickMusicTimer(T + 1950);
    EXPECT_EQ(Events.CurrentMusic, "");
    Events.TickMusicTimer(T + 1951);
    EXPECT_EQ(Events.CurrentMusic, "B.mo3");
}

TEST_F(SoundEventsTest, TheSwitchTimeIsComparedAcrossTheSignedWrap) {
    const uint32_t nearWrap = 0x7FFFFF00u;
    Now = nearWrap;
    Events.ChangeMusic("B.mo3", 1000, 1000, 0, 0);
    Audio.ClearCalls();
    Events.TickMusicTimer(nearWrap + 500);
    EXPECT_TRUE(Audio.Calls().empty());
    Events.TickMusicTimer(nearWrap + 1001);  // past 2^31: negative as a signed tick
    EXPECT_EQ(Events.CurrentMusic, "B.mo3");
}

TEST_F(SoundEventsTest, SlidersSetTheLevelsAndStartMusicHeldAtZero) {
    Options.MusicVolume = 0;
    Events.PlaySound("A.mo3");
    EXPECT_TRUE(Audio.Calls().empty());       // nothing starts at volume 0 ...
    EXPECT_EQ(Events.CurrentMusic, "A.mo3");  // ... but it is the current music
    Events.WOptions_SMusicVolume_Change(39.5);
    EXPECT_EQ(Options.MusicVolume, 40);
    EXPECT_EQ(Audio.Calls(), (std::vector<std::string>{"SetGlobalVolumes 40 100 0",
                                                       "MusicPlay " + H("A.mo3") + " 0"}));
    Audio.ClearCalls();
    Events.WOptions_SMusicVolume_Change(60);  // was not 0: nothing restarts
    EXPECT_EQ(Audio.Calls(), std::vector<std::string>{"SetGlobalVolumes 60 100 0"});

    // The sound slider: a preview of the "SoundVolume" event at 100 %, its own Volume ignored.
    Events.SoundEventDocument = std::make_unique<TKelParser>();
    Events.SoundEventDocument->LoadFromString(
        "<s><SoundVolume Volume=\"10\">Bell.wav</SoundVolume></s>");
    Audio.ClearCalls();
    Options.SoundVolume = 300;  // a stored value out of range is clamped when handed on
    Events.WOptions_SMusicVolume_Change(120);
    EXPECT_EQ(Audio.Calls(), std::vector<std::string>{"SetGlobalVolumes 100 100 0"});
    EXPECT_EQ(Options.MusicVolume, 120);
    Audio.ClearCalls();
    Events.WOptions_SSoundVolume_Change(32.5, false, T);
    EXPECT_EQ(Options.SoundVolume, 32);
    EXPECT_TRUE(Events.SoundEffects.empty());
    Events.WOptions_SSoundVolume_Change(50, true, T);
    ASSERT_EQ(Events.SoundEffects.size(), 1u);
    EXPECT_EQ(Events.SoundEffects[0].Name, "Bell.wav");
    EXPECT_EQ(Events.SoundEffects[0].Volume, 100);
}

TEST_F(SoundEventsTest, FreeMusicListReleasesEverything) {
    std::vector<std::string> handles = {H("Beep.ogg"), H("Bell.wav"), H("A.mo3"), H("B.mo3")};
    Events.FreeMusicList();
    EXPECT_TRUE(Events.MusicList.empty());
    EXPECT_EQ(Audio.Calls(),
              (std::vector<std::string>{"SampleFree " + handles[0], "SampleFree " + handles[1],
                                        "MusicFree " + handles[2], "MusicFree " + handles[3],
                                        "SampleStop 0", "SampleStop 0", "ChannelStop 0",
                                        "ChannelStop 0", "Stop"}));
}

// An event's volume is read the lenient way: leading blanks, then the leading digits.
TEST_F(SoundEventsTest, EventVolumesKeepTheirLeadingDigits) {
    fs::path folder =
        fs::temp_directory_path() / ("tervolin-volumes-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "Sounds");
    const std::pair<const char*, int32_t> cases[] = {
        {" 50", 50}, {"75abc", 75}, {"", 0}, {"abc", 0}, {"-5", -5}};
    for (const auto& [text, volume] : cases) {
        std::ofstream(folder / "Sounds" / "Sounds.xml")
            << "<Sounds><Select Volume=\"" << text << "\">Beep.ogg</Select></Sounds>";
        Events.LoadSoundsEvents("Sounds.xml", folder.string(), nullptr);
        EXPECT_EQ(Events.GetEventSoundVolume("Select"), volume) << '"' << text << '"';
    }
    fs::remove_all(folder);
}

TEST_F(SoundEventsTest, EventTableFromTheFolderWinsOverTheArchive) {
    fs::path folder = fs::temp_directory_path() / ("tervolin-events-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "Sounds");
    std::string archived = "<Sounds><Select Volume=\"12abc\">Archived.ogg</Select></Sounds>";
    TFileFolder writer = TFileFolder::CreateEmpty((folder / "game.zxc").string());
    writer.AddFile("Sounds.xml", 1,
                   TMemoryStream(std::vector<uint8_t>(archived.begin(), archived.end())));
    writer.Save();
    TFileFolder archive = TFileFolder::Open((folder / "game.zxc").string());

    Events.LoadSoundsEvents("Sounds.xml", folder.string(), &archive);
    EXPECT_EQ(Events.GetEventSoundName("Select"), "Archived.ogg");
    EXPECT_EQ(Events.GetEventSoundVolume("Select"), 12);

    std::ofstream(folder / "Sounds" / "Sounds.xml")
        << "<Sounds><Moves><Select Volume=\"abc\">Folder.ogg</Select></Moves>"
           "<Select Volume=\"40\">Second.ogg</Select><Error Volume=\"-5\">Error.ogg</Error>"
           "<Alert>Alert.ogg</Alert></Sounds>";
    Events.LoadSoundsEvents("Sounds.xml", folder.string(), &archive);
    EXPECT_EQ(Events.GetEventSoundName("Select"), "Folder.ogg");  // first in document order
    EXPECT_EQ(Events.GetEventSoundVolume("Select"), 0);
    EXPECT_EQ(Events.GetEventSoundVolume("Error"), -5);
    EXPECT_EQ(Events.GetEventSoundVolume("Alert"), 100);
    EXPECT_EQ(Events.GetEventSoundName("Nothing"), "");
    EXPECT_EQ(Events.GetEventSoundVolume("Nothing"), 100);

    // A missing table keeps the one loaded; with none loaded events are silent.
    Events.LoadSoundsEvents("Missing.xml", folder.string(), &archive);
    EXPECT_EQ(Events.GetEventSoundName("Alert"), "Alert.ogg");
    TSoundEvents fresh(Audio, Options, [] { return T; });
    fresh.LoadSoundsEvents("Missing.xml", folder.string(), nullptr);
    EXPECT_EQ(fresh.GetEventSoundName("Alert"), "");
    EXPECT_EQ(fresh.GetEventSoundVolume("Alert"), 100);
    fs::remove_all(folder);
}

TEST(ShippedSoundsTest, EveryEventNamesASynthesisedSound) {
    HeadlessAudio audio;
    TGameOptions options;
    TSoundEvents events(audio, options, [] { return T; });
    const std::string dataDir = TERVOLIN_TEST_DATA "/../../data";
    events.LoadSoundsEvents("Sounds.xml", dataDir, nullptr);  // data/sounds/Sounds.xml
    std::set<std::string> made;
    for (const auto& [name, bytes] : SynthesizeSounds(dataDir)) made.insert(name);
    for (const char* event : SoundEventNames) {
        EXPECT_TRUE(made.count(events.GetEventSoundName(event))) << event;
        int volume = events.GetEventSoundVolume(event);
        EXPECT_TRUE(volume >= 1 && volume <= 100) << event;
    }
    EXPECT_TRUE(made.count("Click.ogg"));
}

TEST(ShippedSoundsTest, CheckSoundDataReportsEveryMissingSound) {
    fs::path folder = fs::temp_directory_path() / ("tervolin-check-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    auto wav = MakeConstantWav(100);
    std::string table = "<Sounds><Select>Click.ogg</Select><Error>Missing.ogg</Error></Sounds>";
    std::string level =
        "<Level Music=\"Gone.mo3\"><LevelEffects><SoundEffect Name=\"Click.ogg\"/>"
        "<SoundEffect Name=\"Wind.ogg\"/></LevelEffects></Level>";
    TFileFolder writer = TFileFolder::CreateEmpty((folder / "game.zxc").string());
    writer.AddFile("Click.ogg", 1, TMemoryStream(wav));
    writer.AddFile("Sounds.xml", 1, TMemoryStream(table));
    writer.AddFile("PuzzleLevel1.xml", 1, TMemoryStream(level));
    writer.Save();
    TFileFolder archive = TFileFolder::Open((folder / "game.zxc").string());
    std::vector<std::string> problems;
    CheckSoundData(archive, problems);
    fs::remove_all(folder);
    // 30 events not named, Error's sound missing, the level's music and one ambient sound.
    EXPECT_EQ(problems.size(), 33u);
    auto mentions = [&](const std::string& text) {
        return std::any_of(problems.begin(), problems.end(),
                           [&](const std::string& p) { return p.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(mentions("Sounds.xml Error: \"Missing.ogg\""));
    EXPECT_TRUE(mentions("no sound for the event Alert"));
    EXPECT_TRUE(mentions("PuzzleLevel1.xml Music: \"Gone.mo3\""));
    EXPECT_TRUE(mentions("PuzzleLevel1.xml SoundEffect: \"Wind.ogg\""));
    EXPECT_FALSE(mentions("Sounds.xml Select:"));
    EXPECT_EQ(
        std::count(problems.begin(), problems.end(), "Sounds.xml: no sound for the event Select"),
        0);
}
