// The two IAudio implementations: the SDL device (dummy driver, and no driver at all) and the
// recording one the game's tests use.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/AudioTestData.h"
#include "platform/HeadlessAudio.h"
#include "platform/SdlAudio.h"

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : Name(name) {
        if (const char* old = std::getenv(name)) Old = old, HadOld = true;
        setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (HadOld)
            setenv(Name, Old.c_str(), 1);
        else
            unsetenv(Name);
    }

  private:
    const char* Name;
    std::string Old;
    bool HadOld = false;
};

}  // namespace

TEST(SdlAudioTest, PlaysOnTheDummyDevice) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    std::vector<std::string> log;
    SdlAudio audio([&](const std::string& line) { log.push_back(line); });
    EXPECT_EQ(audio.GetVersion(), 1u + 8 * 65536);
    ASSERT_TRUE(audio.Init(44100));
    auto wav = MakeConstantWav(1000);
    auto module = MakeTestModule();
    uint32_t sample = audio.SampleLoad(wav.data(), wav.size(), 5);
    uint32_t music = audio.MusicLoad(module.data(), module.size());
    EXPECT_NE(sample, 0u);
    EXPECT_NE(music, 0u);
    EXPECT_NE(audio.SamplePlay(sample, 80), 0u);
    EXPECT_TRUE(audio.MusicPlay(music, 1));
    audio.ChannelSlideVolume(music, 0, 100);
    audio.Pause();
    audio.Start();
    audio.ChannelStop(music);
    audio.SampleStop(sample);
    audio.SampleFree(sample);
    audio.MusicFree(music);
    audio.Stop();
    audio.Free();
    EXPECT_TRUE(log.empty());
}

TEST(SdlAudioTest, WithoutADeviceRunsSilentAndSaysSoOnce) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    std::vector<std::string> log;
    SdlAudio audio([&](const std::string& line) { log.push_back(line); });
    EXPECT_FALSE(audio.Init(44100));
    EXPECT_FALSE(audio.Init(44100));
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("silent"), std::string::npos);
    auto wav = MakeConstantWav(1000);
    auto module = MakeTestModule();
    EXPECT_EQ(audio.SampleLoad(wav.data(), wav.size(), 5), 0u);
    EXPECT_EQ(audio.MusicLoad(module.data(), module.size()), 0u);
    EXPECT_EQ(audio.SamplePlay(1, 100), 0u);
    EXPECT_FALSE(audio.MusicPlay(1, 0));
    audio.SetGlobalVolumes(50, 50, 0);
    audio.Start();
    audio.Free();
}

TEST(HeadlessAudioTest, RecordsEveryCallAndPlaysThroughTheMixer) {
    HeadlessAudio audio;
    ASSERT_TRUE(audio.Init(44100));
    auto wav = MakeConstantWav(1000);
    uint32_t sample = audio.SampleLoad(wav.data(), wav.size(), 5);
    audio.SetGlobalVolumes(100, 50, 0);
    uint32_t channel = audio.SamplePlay(sample, 150);
    audio.ChannelSlideVolume(channel, 20, 1000);
    audio.Pause();
    EXPECT_EQ(audio.Calls(), (std::vector<std::string>{
                                 "Init 44100", "SampleLoad " + std::to_string(wav.size()) + " 5",
                                 "SetGlobalVolumes 100 50 0", "SamplePlay 1 150",
                                 "ChannelSlideVolume 2 20 1000", "Pause"}));
    audio.Start();
    std::vector<float> out(20);
    audio.Mix().Render(out.data(), 10);
    EXPECT_NEAR(out[0], 0.5 * 3277 / 32768.0, 1e-3);
    audio.ClearCalls();
    EXPECT_TRUE(audio.Calls().empty());
}

TEST(HeadlessAudioTest, WithoutADeviceLoadsGiveZero) {
    HeadlessAudio audio(false);
    EXPECT_FALSE(audio.Init(44100));
    auto wav = MakeConstantWav(1000);
    EXPECT_EQ(audio.SampleLoad(wav.data(), wav.size(), 5), 0u);
    EXPECT_EQ(audio.Calls().size(), 2u);
}
