// Music sources: the XM writer and the text format (with its errors), and the modules the game
// ships, rendered through the mixer: non-silent, not clipping, enough orders for the map's
// random start, and looping on without a gap.
#include "content/XmText.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/AudioTestData.h"
#include "platform/Mixer.h"
#include "platform/SampleDecoder.h"

namespace {

const std::string DataDir = TERVOLIN_TEST_DATA "/../../data";

const char* Instruments =
    "instrument beep wave=square freq=C4 decay=0.2 volume=50\n"
    "instrument hum loop wave=saw freq=A3 env=0:0,4:64 sustain-point=1 fadeout=2000\n";

std::vector<float> RenderModule(const std::vector<uint8_t>& bytes, int order, size_t frames) {
    Mixer mixer;
    uint32_t music = mixer.LoadMusic(bytes.data(), bytes.size());
    EXPECT_TRUE(mixer.PlayMusic(music, order));
    std::vector<float> out(frames * 2);
    mixer.Render(out.data(), frames);
    return out;
}

}  // namespace

TEST(XmTextTest, ReadsAModuleWithItsPatternsAndOrders) {
    auto instruments = ParseXmInstruments(Instruments);
    ASSERT_EQ(instruments.size(), 2u);
    EXPECT_EQ(instruments.at("hum").Instrument.LoopLength,
              instruments.at("hum").Instrument.Pcm.size());
    auto [name, module] = ParseXmModule(
        "module Test.mo3\ntempo 5\nbpm 120\nchannels 2\n"
        "pattern a 4\n1 beep: C4 . x@32 ^\n2 hum: | A3 . | . . |\n"
        "pattern b 2\n2 beep: . D#5\norder a b a\n",
        instruments);
    EXPECT_EQ(name, "Test.mo3");
    EXPECT_EQ(module.Tempo, 5);
    EXPECT_EQ(module.Orders, (std::vector<uint8_t>{0, 1, 0}));
    ASSERT_EQ(module.Patterns.size(), 2u);
    const auto& cells = module.Patterns[0].Cells;
    EXPECT_EQ(cells[0].Note, 49);  // C4
    EXPECT_EQ(cells[0].Instrument, 1);
    EXPECT_EQ(cells[1].Note, 46);  // A3 on channel 2
    EXPECT_EQ(cells[1].Instrument, 2);
    EXPECT_EQ(cells[4].Note, 49);  // "x": the instrument's own pitch
    EXPECT_EQ(cells[4].Volume, 0x10 + 32);
    EXPECT_EQ(cells[6].Note, XmKeyOff);
    EXPECT_EQ(module.Patterns[1].Cells[3].Note, 64);  // D#5
    EXPECT_EQ(module.Instruments.size(), 2u);

    auto bytes = WriteXm(module);
    auto out = RenderModule(bytes, 0, MixRate);
    EXPECT_GT(Rms(out, 0, 4000), 0.01);
}

TEST(XmTextTest, RefusesBadSourcesNamingTheLine) {
    auto instruments = ParseXmInstruments(Instruments);
    const char* head = "module T.mo3\nchannels 2\npattern a 4\n";
    for (std::string body : {"1 beep: C4 . . . .\n", "3 beep: C4\n", "1 drum: C4\n",
                             "1 beep: H4\n", "1 beep: C9\n", "1 beep: C4@65\n", "1 beep C4\n",
                             "order a b\n", "pattern a 4\n", "tempo 40\n"}) {
        EXPECT_THROW(ParseXmModule(head + body, instruments), std::runtime_error) << body;
    }
    EXPECT_THROW(ParseXmModule("channels 2\n", instruments), std::runtime_error);
    for (const char* text : {"instrument x loop wave=noise\n", "instrument x env=5:10,3:20\n",
                             "instrument x volume=70\n", "instrument x freq=C4 freq=zz\n",
                             "instrument x\ninstrument x\n", "sound x\n"}) {
        EXPECT_THROW(ParseXmInstruments(text), std::runtime_error) << text;
    }
    XmModule empty;
    EXPECT_THROW(WriteXm(empty), std::invalid_argument);  // no orders
}

TEST(XmTextTest, TheGamesModulesPlayAndLoop) {
    auto modules = ComposeMusic(DataDir);
    ASSERT_GE(modules.size(), 4u);
    bool foundTitle = false;
    for (const auto& [name, bytes] : modules) {
        auto source = ModuleSource::Load(bytes.data(), bytes.size());
        ASSERT_TRUE(source) << name;
        int orders = source->OrderCount();
        if (name == "vibe-eg6.mo3") {
            foundTitle = true;
            EXPECT_GE(orders, 10);
            // The map starts it at a random order 0..9: each must sound at once.
            for (int order = 0; order < 10; ++order)
                EXPECT_GT(Rms(RenderModule(bytes, order, MixRate), 0, MixRate), 0.02)
                    << name << " order " << order;
        }
        // Long enough to pass the loop point of every module: sound throughout, no clipping.
        const size_t seconds = 100;
        auto out = RenderModule(bytes, 0, seconds * MixRate);
        float peak = 0;
        for (float v : out) peak = std::max(peak, std::abs(v));
        EXPECT_LT(peak, 0.99f) << name;
        for (size_t s = 0; s < seconds; ++s)
            EXPECT_GT(Rms(out, s * MixRate, (s + 1) * MixRate), 0.01) << name << " second " << s;
    }
    EXPECT_TRUE(foundTitle);
}
