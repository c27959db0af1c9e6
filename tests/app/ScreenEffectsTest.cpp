#include "app/ScreenEffects.h"

#include <gtest/gtest.h>

#include "core/KelException.h"
#include "core/Random.h"
#include "graphics/KelFontEngine.h"
#include "graphics/SurfEngine.h"
#include "platform/HeadlessPlatform.h"
#include "resources/FileFolder.h"
#include "support/TestContent.h"

namespace {

constexpr uint32_t T = 10000000;

class ScreenEffectsTest : public ::testing::Test {
  protected:
    ScreenEffectsTest() {
        archive.AddFile("efOne.xml", 1, TMemoryStream(OneParticleEffect("1", "Spark.png")));
        archive.AddFile("efBroken.xml", 1, TMemoryStream(std::string("<ParticleEffect")));
        display.Open(false, 32);
        store.Create(display);
        store.CreateEmptySurface("Spark.png", 4, 4);
    }
    // An instance of efOne.xml that calls back into `ended`.
    void Create(const std::string& name, int32_t repeatDelay = 0, int64_t start = -1) {
        CreateKelEffectFromFile(list, sources,
                                {.Name = name,
                                 .File = "efOne.xml",
                                 .StartTime = start,
                                 .RepeatDelay = repeatDelay,
                                 .CallbackArg = name + " ended",
                                 .OnEnd = [this](const std::string& arg) { ended.push_back(arg); }},
                                T);
    }

    TFileFolder archive = TFileFolder::CreateEmpty("unused.zxc");
    HeadlessDisplay display;
    TSurfEngine store;
    TKelFontEngine fonts;
    TKelRandom random{1};
    std::vector<std::string> log;
    TEffectSources sources{archive, &store, &fonts, &random,
                           [this](const std::string& line) { log.push_back(line); }};
    TScreenEffects list;
    std::vector<std::string> ended;
};

TEST_F(ScreenEffectsTest, CreatesStartedInstancesAndReportsWhatIsMissing) {
    Create("a");
    Create("later", 0, T + 500);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Effect->StartTime, T);
    EXPECT_EQ(list[0].Effect->GetSystem(0)->ParticleCount(), 1);  // started: first particles
    EXPECT_EQ(list[0].Bounds, (TRect{0, 0, 799, 599}));
    EXPECT_EQ(list[1].Effect->StartTime, T + 500);
    EXPECT_EQ(EffectPictures(*list[0].Effect), std::vector<std::string>{"Spark.png"});

    CreateKelEffectFromFile(list, sources, {.Name = "x", .File = "efNone.xml"}, T);
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(log, std::vector<std::string>{"Can not find file name efNone.xml in GameFolder"});

    const struct {
        TEffectRequest Request;
    } broken[] = {
        {{.Name = "text", .File = "efOne.xml", .IsText = true, .FontName = "Nope"}},
        {{.Name = "pic", .File = "efOne.xml", .Picture = "Missing.png"}},
        {{.Name = "bad", .File = "efBroken.xml"}},
    };
    for (const auto& c : broken) {
        try {
            CreateKelEffectFromFile(list, sources, c.Request, T);
            ADD_FAILURE() << c.Request.Name;
        } catch (const KelException& error) {
            EXPECT_EQ(
                std::string(error.what()),
                "Exception error in TKelGameEngine.CreateKelEffectFromFile " + c.Request.Name);
        }
        // The instance stays, without an effect, and is neither advanced nor removed.
        EXPECT_EQ(list.back().Name, c.Request.Name);
        EXPECT_FALSE(list.back().Effect);
    }
    TickScreenEffects(list, T + 5000);
    EXPECT_EQ(list.size(), 3u);
}

TEST_F(ScreenEffectsTest, EndedInstancesLeaveTheListThenCallBack) {
    Create("a");
    Create("b");
    list[1].EndTime = T + 100;
    list[0].OnEnd = [this](const std::string& arg) {
        // The instance has left the list; a new one of the same name may take its place.
        EXPECT_EQ(IndexOfScreenEffect(list, "a"), -1);
        ended.push_back(arg);
        Create("a", 0, T + 1000);
    };
    TickScreenEffects(list, T + 101);  // b's end time has passed
    EXPECT_EQ(ended, std::vector<std::string>{"b ended"});
    TickScreenEffects(list, T + 1000);  // a's lifetime is over
    EXPECT_EQ(ended, (std::vector<std::string>{"b ended", "a ended"}));
    ASSERT_EQ(list.size(), 1u);  // the replacement, advanced in the same pass but just started
    EXPECT_EQ(list[0].Name, "a");
}

TEST_F(ScreenEffectsTest, RepeatingInstancesRestartAfterTheirDelay) {
    Create("r", 3000);
    TickScreenEffects(list, T + 1000);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_FALSE(list[0].Active);
    EXPECT_EQ(list[0].RestartTime, T + 3000);
    TickScreenEffects(list, T + 3000);
    EXPECT_FALSE(list[0].Active);  // only once the time has passed
    TickScreenEffects(list, T + 3001);
    EXPECT_TRUE(list[0].Active);
    EXPECT_EQ(list[0].RestartTime, -1);
    EXPECT_EQ(list[0].Effect->StartTime, T + 3001);
    EXPECT_TRUE(ended.empty());
}

TEST_F(ScreenEffectsTest, DeletingByNameNeverCallsBack) {
    for (const char* name : {"a", "b", "a", "a"}) Create(name);
    DeleteKelScreenEffectByName(list, "a");
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(IndexOfScreenEffect(list, "b"), 0);
    DeleteAllScreenEffectByName(list, "a");
    EXPECT_EQ(list.size(), 1u);
    EXPECT_TRUE(ended.empty());
    DeleteKelScreenEffect(list, 0);
    EXPECT_EQ(ended, std::vector<std::string>{"b ended"});
    EXPECT_TRUE(list.empty());
}

TEST_F(ScreenEffectsTest, InstancesFromATemplateAreCopiesThatFollowTheirPath) {
    // A moving piece: one particle carried along the path written into "FPath".
    TKelParticleEffect move;
    move.SetRandom(&random);
    move.LoadFromText(
        R"(<ParticleEffect Name="Move"><Functions><Function Name="FPath" Dim="2" Type="piecewise"/>)"
        R"(</Functions><Morphs><Morph Name="MPath" Dim="2"><Functions><Function Name="FPath"/>)"
        R"(</Functions></Morph></Morphs><Particles><Particle Name="P"><Parameter Name="Position")"
        R"( Dim="2" Morph="MPath"/></Particle></Particles><ParticleSystems><ParticleSystem)"
        R"( Name="S" Template="P"><InitParticles>1</InitParticles></ParticleSystem>)"
        R"(</ParticleSystems></ParticleEffect>)");
    for (int x : {100, 300}) {
        CreateKelEffectFromTemplate(list, move,
                                    {.Name = "Move" + std::to_string(x),
                                     .Picture = "Spark.png",
                                     .Bounds = TRect{5, 30, 794, 595},
                                     .Path = "Set Linear; Set Timing 0.3; Path (0,0) (" +
                                             std::to_string(x) + ",0); Ending Stop;"},
                                    T);
    }
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Bounds, (TRect{5, 30, 794, 595}));
    EXPECT_EQ(list[0].Picture, "Spark.png");
    TickScreenEffects(list, T + 300);
    for (size_t i = 0; i < 2; ++i) {
        const TKelParticleSystem* system = list[i].Effect->GetSystem(0);
        ASSERT_FALSE(system->Particles.empty());
        EXPECT_NEAR(system->Particles.front()->GetPosition()[0], i == 0 ? 100 : 300, 0.5) << i;
    }
    EXPECT_EQ(move.StartTime, 0u);  // the template itself stays as it was
}

}  // namespace
