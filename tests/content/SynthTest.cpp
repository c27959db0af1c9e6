// The synthesiser: recipe parsing and its errors, and the shape of every sound the game ships
// (decoded back from its Ogg bytes): non-silent, peaks below full scale, no DC offset, no click
// at the start, dying away before the end.
#include "content/Synth.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/SampleDecoder.h"

namespace {

const std::string DataDir = TERVOLIN_TEST_DATA "/../../data";

struct Shape {
    double Peak = 0, Mean = 0, Rms = 0, StartPeak = 0, EndPeak = 0, Seconds = 0;
};

// Measures the left channel of mix frames.
Shape Measure(const std::vector<float>& stereo) {
    Shape shape;
    size_t frames = stereo.size() / 2;
    for (size_t i = 0; i < frames; ++i) {
        double v = stereo[2 * i];
        shape.Peak = std::max(shape.Peak, std::abs(v));
        shape.Mean += v;
        shape.Rms += v * v;
        if (i < 22) shape.StartPeak = std::max(shape.StartPeak, std::abs(v));  // first 0.5 ms
        if (i + 441 >= frames) shape.EndPeak = std::max(shape.EndPeak, std::abs(v));  // last 10 ms
    }
    shape.Mean /= double(frames);
    shape.Rms = std::sqrt(shape.Rms / double(frames));
    shape.Seconds = double(frames) / MixRate;
    return shape;
}

}  // namespace

TEST(SynthTest, ParsesRecipesWithNoteNames) {
    auto recipes = ParseSynthRecipes(
        "# comment\nsound A.ogg\nvoice wave=saw freq=A4 to=D5 decay=0.2  # tail\n"
        "voice wave=noise filter=bandpass cutoff=2000 q=3 vowels=ao\nsound B.ogg\n"
        "voice freq=Bb3 sustain=0.5 length=0.3\n");
    ASSERT_EQ(recipes.size(), 2u);
    EXPECT_EQ(recipes[0].Name, "A.ogg");
    ASSERT_EQ(recipes[0].Voices.size(), 2u);
    EXPECT_EQ(recipes[0].Voices[0].Wave, TSynthWave::Saw);
    EXPECT_NEAR(recipes[0].Voices[0].Freq, 440, 1e-9);
    EXPECT_NEAR(recipes[0].Voices[0].FreqEnd, 587.33, 0.01);
    EXPECT_EQ(recipes[0].Voices[1].Vowels, "ao");
    EXPECT_NEAR(recipes[1].Voices[0].Freq, 233.08, 0.01);
}

TEST(SynthTest, RefusesBadRecipesNamingTheLine) {
    for (const char* text :
         {"voice freq=440\n", "sound A.ogg\nvoice colour=red\n", "sound A.ogg\nvoice freq=H4\n",
          "sound A.ogg\nvoice decay=-1\n", "sound A.ogg\nvoice sustain=0.5\n",
          "sound A.ogg\nvoice vowels=ax\n", "sound A.ogg\nvoice wave=sine freq\n", "sound A.ogg\n",
          "sound A.ogg\nvoice freq=nan\n", "tone A.ogg\n"}) {
        EXPECT_THROW(ParseSynthRecipes(text), std::runtime_error) << text;
    }
    try {
        ParseSynthRecipes("sound A.ogg\n\nvoice gain=1000\n");
        FAIL();
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("line 3"), std::string::npos) << error.what();
    }
}

TEST(SynthTest, RenderingIsDeterministicAndNormalised) {
    auto recipes = ParseSynthRecipes(
        "sound A.ogg\nvoice wave=noise decay=0.1\n"
        "voice wave=square freq=300 decay=0.2 gain=3\n");
    auto first = RenderSynth(recipes[0]);
    EXPECT_EQ(first, RenderSynth(recipes[0]));
    double peak = 0;
    for (float v : first) peak = std::max(peak, double(std::abs(v)));
    EXPECT_NEAR(peak, SynthPeak, 1e-6);
    EXPECT_EQ(first[0], 0.0f);
    EXPECT_GT(first.size(), size_t(0.2 * 70 / 60 * SynthRate));  // the voices die away inside
}

TEST(SynthTest, EveryShippedSoundIsCleanAfterEncoding) {
    auto sounds = SynthesizeSounds(DataDir);
    ASSERT_GE(sounds.size(), 35u);
    for (const auto& [name, bytes] : sounds) {
        auto frames = DecodeSample(bytes.data(), bytes.size());
        ASSERT_TRUE(frames) << name;
        Shape shape = Measure(*frames);
        EXPECT_GT(shape.Rms, 0.01) << name;
        EXPECT_LT(shape.Peak, 0.9) << name;
        EXPECT_LT(std::abs(shape.Mean), 0.005) << name;
        EXPECT_LT(shape.StartPeak, 0.05) << name;
        EXPECT_LT(shape.EndPeak, 0.01) << name;
        EXPECT_LT(shape.Seconds, 6) << name;
    }
}
