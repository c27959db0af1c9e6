// The mixer's rules on rendered audio: playback limits, slides, global levels, output states,
// clamped levels, modules (orders, looping) and refusal of bytes that are not sounds.
#include "platform/Mixer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "support/AudioTestData.h"
#include "platform/SampleDecoder.h"

namespace {

constexpr float Level = 3277 / 32768.0f;  // the constant of MakeConstantWav

std::vector<float> Render(Mixer& mixer, size_t frames) {
    std::vector<float> out(frames * 2);
    mixer.Render(out.data(), frames);
    return out;
}

uint32_t LoadConstant(Mixer& mixer, size_t frames, int maxPlaybacks = 5) {
    auto wav = MakeConstantWav(frames);
    return mixer.LoadSample(wav.data(), wav.size(), maxPlaybacks);
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(MixerTest, DecodesWavLayoutsToStereoAtTheMixRate) {
    struct Case {
        int channels, rate, bits;
        size_t expectFrames;
    };
    for (Case c : {Case{1, 44100, 16, 1000}, Case{2, 44100, 16, 1000}, Case{1, 22050, 8, 2000},
                   Case{2, 11025, 16, 4000}}) {
        std::vector<int16_t> values(1000 * size_t(c.channels), 8192);
        auto wav = MakeWav(values, c.channels, c.rate, c.bits);
        auto frames = DecodeSample(wav.data(), wav.size());
        ASSERT_TRUE(frames) << c.channels << " " << c.rate << " " << c.bits;
        EXPECT_NEAR(double(frames->size() / 2), double(c.expectFrames), c.expectFrames * 0.01);
        // Constant input stays constant, on both sides.
        size_t middle = frames->size() / 2 & ~size_t(1);
        EXPECT_NEAR((*frames)[middle], 0.25, 0.01);
        EXPECT_NEAR((*frames)[middle + 1], 0.25, 0.01);
    }
}

TEST(MixerTest, DecodesOggVorbis) {
    // tone.ogg: 0.5 s of a 440 Hz sine at half scale, mono 22050 Hz.
    auto ogg = ReadFile(TERVOLIN_TEST_DATA "/platform/tone.ogg");
    ASSERT_FALSE(ogg.empty());
    auto frames = DecodeSample(ogg.data(), ogg.size());
    ASSERT_TRUE(frames);
    EXPECT_NEAR(double(frames->size() / 2), 22050, 300);
    std::vector<float> copy = *frames;
    EXPECT_NEAR(Rms(copy, 2000, 20000), 0.5 / std::sqrt(2.0), 0.02);
}

TEST(MixerTest, BytesThatAreNoSoundGiveHandleZero) {
    auto wav = MakeConstantWav(100);
    auto ogg = ReadFile(TERVOLIN_TEST_DATA "/platform/tone.ogg");
    auto module = MakeTestModule();
    auto cut = [](const std::vector<uint8_t>& bytes, size_t size) {
        return std::vector<uint8_t>(bytes.begin(), bytes.begin() + size);
    };
    std::vector<std::vector<uint8_t>> notSamples = {
        {},
        {'R', 'I', 'F', 'F'},
        cut(wav, 40),  // inside the header
        cut(ogg, 60),  // inside the first page
        std::vector<uint8_t>(200, 0xAB),
        MakeWav({}),  // no frames
        module,
    };
    std::vector<std::vector<uint8_t>> notModules = {
        {},
        std::vector<uint8_t>(200, 0xAB),
        cut(module, 50),
        ogg,
    };
    Mixer mixer;
    for (size_t i = 0; i < notSamples.size(); ++i)
        EXPECT_EQ(mixer.LoadSample(notSamples[i].data(), notSamples[i].size(), 5), 0u) << i;
    for (size_t i = 0; i < notModules.size(); ++i)
        EXPECT_EQ(mixer.LoadMusic(notModules[i].data(), notModules[i].size()), 0u) << i;
    EXPECT_EQ(mixer.LoadSample(nullptr, 10, 5), 0u);
    EXPECT_EQ(mixer.PlaySample(0, 100), 0u);
    EXPECT_FALSE(mixer.PlayMusic(0, 0));
    EXPECT_FALSE(mixer.SetVolume(12345, 50));

    // Modules cut short load as far as they go and play what is there.
    for (size_t size : {100, 340, 400}) {
        auto part = cut(module, size);
        uint32_t music = mixer.LoadMusic(part.data(), part.size());
        if (music && mixer.PlayMusic(music, 0)) Render(mixer, 10000);
    }

    // A header promising 2 GB of data over 100 frames: what is there plays, nothing more.
    auto huge = wav;
    huge[40] = huge[41] = huge[42] = 0xFF, huge[43] = 0x7F;
    uint32_t sample = mixer.LoadSample(huge.data(), huge.size(), 5);
    if (sample) {
        mixer.PlaySample(sample, 100);
        auto out = Render(mixer, 200);
        EXPECT_EQ(out[2 * 150], 0);
    }
}

TEST(MixerTest, ASixthPlaybackReplacesTheOneThatHasPlayedLongest) {
    Mixer mixer;
    uint32_t sample = LoadConstant(mixer, 1000);
    ASSERT_NE(sample, 0u);
    // Starts at frames 0, 100, ..., 500; each plays 1000 frames.
    std::vector<uint32_t> channels;
    std::vector<float> out;
    for (int k = 0; k < 6; ++k) {
        channels.push_back(mixer.PlaySample(sample, 100));
        auto part = Render(mixer, 100);
        out.insert(out.end(), part.begin(), part.end());
    }
    auto rest = Render(mixer, 1500);
    out.insert(out.end(), rest.begin(), rest.end());

    EXPECT_EQ(mixer.PlaybackCount(sample), 0);
    EXPECT_NEAR(out[2 * 450], 5 * Level, 1e-4);
    // The first playback is gone: five sound on until frame 1100, then one ends every 100.
    EXPECT_NEAR(out[2 * 1050], 5 * Level, 1e-4);
    EXPECT_NEAR(out[2 * 1150], 4 * Level, 1e-4);
    EXPECT_NEAR(out[2 * 1450], 1 * Level, 1e-4);
    EXPECT_NEAR(out[2 * 1550], 0, 1e-6);
    EXPECT_EQ(std::set<uint32_t>(channels.begin(), channels.end()).size(), 6u);
}

TEST(MixerTest, PlaybackLimitIsPerSample) {
    Mixer mixer;
    uint32_t a = LoadConstant(mixer, 1000, 2), b = LoadConstant(mixer, 1000, 2);
    uint32_t first = mixer.PlaySample(a, 100);
    mixer.PlaySample(b, 100);
    mixer.PlaySample(b, 100);
    mixer.PlaySample(b, 100);
    EXPECT_TRUE(mixer.IsPlaying(first));
    EXPECT_EQ(mixer.PlaybackCount(b), 2);
    EXPECT_NEAR(Render(mixer, 10)[0], 3 * Level, 1e-4);
}

TEST(MixerTest, SlideIsLinearAndReachesItsTarget) {
    Mixer mixer;
    uint32_t sample = LoadConstant(mixer, 3 * 44100);
    uint32_t channel = mixer.PlaySample(sample, 100);
    ASSERT_TRUE(mixer.SlideVolume(channel, 20, 1000));
    auto out = Render(mixer, 2 * 44100);
    for (double t : {0.0, 0.25, 0.5, 0.75}) {
        size_t frame = size_t(t * 44100);
        EXPECT_NEAR(out[2 * frame] / Level, 1.0 - 0.8 * t, 1e-3) << t;
    }
    EXPECT_NEAR(out[2 * 44100] / Level, 0.2, 1e-4);
    EXPECT_NEAR(out[2 * 80000] / Level, 0.2, 1e-4);
    EXPECT_NEAR(mixer.ChannelVolume(channel), 20, 1e-9);

    // Set stops a slide; a slide of 0 ms jumps.
    mixer.SlideVolume(channel, 100, 1000);
    mixer.SetVolume(channel, 60);
    EXPECT_NEAR(Render(mixer, 1000)[1998] / Level, 0.6, 1e-4);
    mixer.SlideVolume(channel, 10, 0);
    EXPECT_NEAR(Render(mixer, 1)[0] / Level, 0.1, 1e-4);
}

TEST(MixerTest, ModuleFadesInFromSilenceToItsTarget) {
    auto bytes = MakeTestModule();
    Mixer full, fading;
    uint32_t a = full.LoadMusic(bytes.data(), bytes.size());
    uint32_t b = fading.LoadMusic(bytes.data(), bytes.size());
    ASSERT_NE(a, 0u);
    fading.SetVolume(b, 0);
    fading.SlideVolume(b, 100, 100);  // 4410 frames, within the first row
    full.PlayMusic(a, 0);
    fading.PlayMusic(b, 0);
    auto reference = Render(full, 2 * ModuleRowFrames);
    auto out = Render(fading, 2 * ModuleRowFrames);
    for (size_t frame : {500, 1500, 2205, 3500})
        EXPECT_NEAR(out[2 * frame], reference[2 * frame] * frame / 4410.0, 1e-3) << frame;
    for (size_t frame : {4410, 6000, 9000}) EXPECT_NEAR(out[2 * frame], reference[2 * frame], 1e-6);
}

TEST(MixerTest, GlobalLevelsScaleModulesAndSamplesSeparately) {
    auto bytes = MakeTestModule();
    struct Case {
        int music, sample;
    };
    for (Case c : {Case{100, 100}, Case{50, 100}, Case{100, 25}, Case{0, 70}, Case{30, 0}}) {
        Mixer mixer, musicOnly;
        uint32_t music = mixer.LoadMusic(bytes.data(), bytes.size());
        uint32_t reference = musicOnly.LoadMusic(bytes.data(), bytes.size());
        uint32_t sample = LoadConstant(mixer, 10000);
        mixer.SetGlobalVolumes(c.music, c.sample);
        mixer.PlayMusic(music, 0);
        musicOnly.PlayMusic(reference, 0);
        mixer.PlaySample(sample, 100);
        auto out = Render(mixer, 5000);
        auto ref = Render(musicOnly, 5000);
        for (size_t frame : {100, 1234, 4000})
            EXPECT_NEAR(out[2 * frame], ref[2 * frame] * c.music / 100.0 + Level * c.sample / 100.0,
                        1e-4)
                << c.music << " " << c.sample << " " << frame;
    }
}

TEST(MixerTest, LevelsAreClampedToZeroToHundred) {
    struct Case {
        int volume, global;
        double expect;  // resulting gain
    };
    for (Case c :
         {Case{150, 100, 1.0}, Case{-5, 100, 0.0}, Case{100, 1000, 1.0}, Case{80, -70, 0.0},
          Case{-1, 100, 1.0}, Case{INT32_MAX, INT32_MIN, 0.0}, Case{INT32_MIN, INT32_MAX, 0.0}}) {
        Mixer mixer;
        uint32_t sample = LoadConstant(mixer, 1000);
        mixer.SetGlobalVolumes(c.global, c.global);
        mixer.PlaySample(sample, c.volume);
        EXPECT_NEAR(Render(mixer, 10)[0], Level * c.expect, 1e-6) << c.volume << " " << c.global;
    }
    Mixer mixer;
    uint32_t channel = mixer.PlaySample(LoadConstant(mixer, 44100), 50);
    mixer.SetVolume(channel, -1);  // keeps the volume
    EXPECT_NEAR(mixer.ChannelVolume(channel), 50, 1e-9);
    mixer.SetVolume(channel, 400);
    EXPECT_NEAR(mixer.ChannelVolume(channel), 100, 1e-9);
    mixer.SlideVolume(channel, -300, 10);
    Render(mixer, 441);
    EXPECT_NEAR(mixer.ChannelVolume(channel), 0, 1e-9);
}

TEST(MixerTest, PausedOutputIsSilentAndHoldsItsPlace) {
    Mixer mixer;
    uint32_t sample = LoadConstant(mixer, 1000);
    uint32_t channel = mixer.PlaySample(sample, 100);
    mixer.SlideVolume(channel, 0, 1000);
    Render(mixer, 300);
    double volume = mixer.ChannelVolume(channel);
    mixer.Pause();
    auto paused = Render(mixer, 5000);
    EXPECT_TRUE(std::all_of(paused.begin(), paused.end(), [](float v) { return v == 0; }));
    EXPECT_EQ(mixer.ChannelVolume(channel), volume);
    mixer.Start();
    auto resumed = Render(mixer, 1000);
    EXPECT_GT(resumed[2 * 699], 0);  // 700 frames were left
    EXPECT_EQ(resumed[2 * 700], 0);
}

TEST(MixerTest, StopEndsEverythingAndStartDoesNotResumeIt) {
    auto bytes = MakeTestModule();
    Mixer mixer;
    uint32_t music = mixer.LoadMusic(bytes.data(), bytes.size());
    uint32_t sample = LoadConstant(mixer, 100000);
    mixer.PlayMusic(music, 0);
    mixer.PlaySample(sample, 100);
    EXPECT_GT(Rms(Render(mixer, 1000), 0, 1000), 0.05);
    mixer.Stop();
    EXPECT_EQ(Rms(Render(mixer, 1000), 0, 1000), 0);
    mixer.Start();
    EXPECT_EQ(Rms(Render(mixer, 1000), 0, 1000), 0);
    EXPECT_FALSE(mixer.IsPlaying(music));
    EXPECT_EQ(mixer.PlaybackCount(sample), 0);
}

TEST(MixerTest, ModuleStartsAtItsOrderAndLoopsForever) {
    const size_t song = 8 * ModuleRowFrames;
    std::vector<float> fromZero, fromOne;
    {
        auto bytes = MakeTestModule();  // released before rendering: the mixer keeps its own
        Mixer a, b;
        uint32_t ma = a.LoadMusic(bytes.data(), bytes.size());
        uint32_t mb = b.LoadMusic(bytes.data(), bytes.size());
        bytes.assign(bytes.size(), 0);
        bytes.clear();
        bytes.shrink_to_fit();
        ASSERT_TRUE(a.PlayMusic(ma, 0));
        ASSERT_TRUE(b.PlayMusic(mb, 1));
        EXPECT_FALSE(b.PlayMusic(mb, 2));
        EXPECT_FALSE(b.PlayMusic(mb, -1));
        fromZero = Render(a, 4 * song);
        fromOne = Render(b, 4 * song);
    }
    const size_t tone = 2 * ModuleRowFrames, margin = 600;
    for (size_t pass = 0; pass < 4; ++pass) {
        size_t start = pass * song;
        EXPECT_GT(Rms(fromZero, start + margin, start + tone - margin), 0.03) << pass;
        EXPECT_LT(Rms(fromZero, start + tone + margin, start + song - margin), 1e-3) << pass;
    }
    // Order 1 first: silence for half the song, then the tone of order 0.
    EXPECT_LT(Rms(fromOne, 0, song / 2 - margin), 1e-3);
    EXPECT_GT(Rms(fromOne, song / 2 + margin, song / 2 + tone - margin), 0.03);
}

TEST(MixerTest, FreeingASoundStopsIt) {
    auto bytes = MakeTestModule();
    Mixer mixer;
    uint32_t music = mixer.LoadMusic(bytes.data(), bytes.size());
    uint32_t sample = LoadConstant(mixer, 10000);
    uint32_t channel = mixer.PlaySample(sample, 100);
    mixer.PlayMusic(music, 0);
    mixer.FreeSample(sample);
    mixer.FreeMusic(music);
    EXPECT_EQ(Rms(Render(mixer, 1000), 0, 1000), 0);
    EXPECT_FALSE(mixer.IsPlaying(channel));
    EXPECT_EQ(mixer.PlaySample(sample, 100), 0u);
    EXPECT_FALSE(mixer.PlayMusic(music, 0));
}
