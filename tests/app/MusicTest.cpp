// The playlist on the recording audio layer: building it from a folder and an archive (the
// folder wins, letter case of the extensions counts), playing samples and modules by name, and
// stopping.
#include "app/Music.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/AudioTestData.h"
#include "platform/HeadlessAudio.h"
#include "resources/FileFolder.h"

namespace fs = std::filesystem;

namespace {

class MusicTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Folder = fs::temp_directory_path() /
                 ("tervolin-music-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Folder);
        fs::create_directories(Folder / "Sounds");
        ASSERT_TRUE(Audio.Init(44100));
        Audio.ClearCalls();
    }
    void TearDown() override { fs::remove_all(Folder); }

    void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    TFileFolder MakeArchive(
        const std::vector<std::pair<std::string, std::vector<uint8_t>>>& entries) {
        std::string path = (Folder / "game.zxc").string();
        TFileFolder writer = TFileFolder::CreateEmpty(path);
        for (const auto& [name, bytes] : entries) writer.AddFile(name, 1, TMemoryStream(bytes));
        writer.Save();
        return TFileFolder::Open(path);
    }

    fs::path Folder;
    HeadlessAudio Audio;
    TMusicList List;
};

}  // namespace

TEST_F(MusicTest, FolderSamplesWinOverTheArchiveAndExtensionsAreExact) {
    auto folderClick = MakeConstantWav(100);
    auto archiveClick = MakeConstantWav(200);
    WriteFile(Folder / "Sounds" / "Click.ogg", folderClick);
    WriteFile(Folder / "Sounds" / "Drum.WAV", MakeConstantWav(50));  // any case in the folder
    WriteFile(Folder / "Sounds" / "notes.txt", {1, 2, 3});
    TFileFolder archive = MakeArchive({{"Click.ogg", archiveClick},
                                       {"Bell.wav", MakeConstantWav(300)},
                                       {"Theme.mo3", MakeTestModule()},
                                       {"Loud.OGG", MakeConstantWav(10)},  // capitals: skipped
                                       {"Levels.xml", {'<', '/', '>'}},
                                       {"Broken.ogg", {1, 2, 3}}});

    LoadMusicFromDirectory(Audio, (Folder / "Sounds").string(), List);
    LoadMusicFromArchive(Audio, archive, List);

    std::vector<std::string> names;
    for (const TOneMusic& entry : List) names.push_back(entry.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"Click.ogg", "Drum.WAV", "Bell.wav", "Theme.mo3",
                                               "Broken.ogg"}));
    EXPECT_EQ(Audio.Calls()[0], "SampleLoad " + std::to_string(folderClick.size()) + " 5");
    EXPECT_EQ(List[3].SoundKind, skModule);
    EXPECT_NE(List[3].Handle, 0u);
    EXPECT_EQ(List[4].Handle, 0u);  // not a sound: kept with handle 0
    EXPECT_EQ(IndexOfMusic("click.ogg", List), -1);
    EXPECT_EQ(MusicHandle("Bell.wav", List), List[2].Handle);
    EXPECT_EQ(MusicHandle("Nothing.ogg", List), 0u);
}

TEST_F(MusicTest, AMissingFolderGivesNothing) {
    LoadMusicFromDirectory(Audio, (Folder / "NoSuchFolder").string(), List);
    EXPECT_TRUE(List.empty());
    EXPECT_TRUE(Audio.Calls().empty());
}

TEST_F(MusicTest, LoadingANameAgainReplacesItsSound) {
    auto wav = MakeConstantWav(100);
    LoadMusicFromStream(Audio, wav.data(), wav.size(), "A.ogg", skSample, List);
    uint32_t first = List[0].Handle;
    auto module = MakeTestModule();
    LoadMusicFromStream(Audio, module.data(), module.size(), "A.ogg", skModule, List);
    ASSERT_EQ(List.size(), 1u);
    EXPECT_EQ(List[0].SoundKind, skModule);
    EXPECT_EQ(Audio.Calls()[1], "SampleFree " + std::to_string(first));
    DeleteMusic(Audio, 0, List);
    EXPECT_TRUE(List.empty());
    EXPECT_EQ(Audio.Calls().back(), "MusicFree " + std::to_string(first + 1));
}

TEST_F(MusicTest, PlaysSamplesAndModulesByName) {
    auto wav = MakeConstantWav(100);
    auto module = MakeTestModule();
    LoadMusicFromStream(Audio, wav.data(), wav.size(), "Click.ogg", skSample, List);
    LoadMusicFromStream(Audio, module.data(), module.size(), "Theme.mo3", skModule, List);
    uint32_t sample = List[0].Handle, music = List[1].Handle;
    std::string current = "Old.mo3";
    Audio.ClearCalls();

    struct Case {
        std::string name;
        int musicVolume, sampleVolume;
        std::vector<std::string> calls;
        std::string current;
    };
    std::string m = std::to_string(music), s = std::to_string(sample);
    std::vector<Case> cases = {
        {"Click.ogg", 70, 40, {"SamplePlay " + s + " 40"}, "Old.mo3"},
        {"Click.ogg", 70, 0, {}, "Old.mo3"},
        {"Click.ogg", 70, 250, {"SamplePlay " + s + " 100"}, "Old.mo3"},
        {"Theme.mo3",
         70,
         40,
         {"ChannelSetVolume " + m + " 0", "ChannelSlideVolume " + m + " 70 500",
          "MusicPlay " + m + " 1"},
         "Theme.mo3"},
        {"Theme.mo3", 0, 40, {}, "Theme.mo3"},
        {"Nothing.ogg", 70, 40, {}, "Old.mo3"},
    };
    for (const Case& c : cases) {
        Audio.ClearCalls();
        current = "Old.mo3";
        PlayMusic(Audio, c.name, List, c.musicVolume, c.sampleVolume, 1, current, 500);
        EXPECT_EQ(Audio.Calls(), c.calls) << c.name << " " << c.musicVolume;
        EXPECT_EQ(current, c.current) << c.name << " " << c.musicVolume;
    }
    EXPECT_TRUE(Audio.Mix().IsPlaying(music));

    Audio.ClearCalls();
    StopMusic(Audio, List, false);
    EXPECT_EQ(Audio.Calls(), std::vector<std::string>{"ChannelStop " + m});
    Audio.ClearCalls();
    StopMusic(Audio, List, true);
    EXPECT_EQ(Audio.Calls(), (std::vector<std::string>{"SampleStop " + s, "ChannelStop " + m}));
}
