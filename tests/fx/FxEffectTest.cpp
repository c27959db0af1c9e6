// Particle systems and effects: throwing, bursts, limits, removal, lifetimes, the file's
// sections, copies, run-time paths and replaying with the same random numbers.
#include "support/FxTestSupport.h"

namespace {

const char* const Dot = R"(<Particle Name="Dot"><Parameter Name="Alpha" Dim="1"/></Particle>)";

struct TRun {
    TKelParticleEffect Effect;
    TSequenceRandom Random{{0.5}};

    explicit TRun(const std::string& text, uint32_t start = 0) {
        Effect.SetRandom(&Random);
        Effect.LoadFromText(text);
        Effect.Start(start);
        Effect.Initialize();
    }
    TKelParticleSystem* System(int index = 0) { return Effect.GetSystem(index); }
    int Count(uint32_t time) {
        Effect.Update(time);
        return System()->ParticleCount();
    }
};

std::string SystemWith(const std::string& children, const std::string& particles = Dot,
                       const std::string& attributes = "") {
    return EffectText(
        "", "", particles,
        "<ParticleSystem Name=\"S\" Template=\"Dot\">" + children + "</ParticleSystem>",
        attributes);
}

TEST(FxEffect, ContinuousThrowing) {
    TRun run(
        SystemWith("<ThrowInterval>0.1</ThrowInterval><ParticlesPerThrow>2</ParticlesPerThrow>"),
        1000);
    EXPECT_EQ(run.Count(1000), 2);  // LastThrow starts at 0
    EXPECT_EQ(run.Count(1099), 2);
    EXPECT_EQ(run.Count(1100), 4);
    EXPECT_EQ(run.Count(1450), 6);  // a late update throws once, it does not catch up
    EXPECT_EQ(run.Count(1549), 6);
    EXPECT_EQ(run.Count(1550), 8);
}

TEST(FxEffect, Bursts) {
    TRun run(
        SystemWith(
            "<EmissionInterval>1</EmissionInterval><ThrowInterval>0.1</ThrowInterval>"
            "<ThrowsPerEmission>3</ThrowsPerEmission><ParticlesPerThrow>1</ParticlesPerThrow>"),
        5000);
    const struct {
        uint32_t Time;
        int Count;
    } steps[] = {{5000, 1}, {5050, 1}, {5100, 2}, {5200, 3}, {5300, 3},
                 {6199, 3}, {6200, 4}, {6300, 5}, {6400, 6}, {6500, 6}};
    for (const auto& step : steps) EXPECT_EQ(run.Count(step.Time), step.Count) << step.Time;

    TRun endless(
        SystemWith("<EmissionInterval>1</EmissionInterval><ThrowInterval>0.1</ThrowInterval>"
                   "<ParticlesPerThrow>1</ParticlesPerThrow>"));
    for (uint32_t t = 0; t <= 2000; t += 100) endless.Count(t);
    // The first burst starts one interval after time 0 and never ends.
    EXPECT_EQ(endless.System()->ParticleCount(), 11);
    EXPECT_EQ(endless.System()->Emitting, 1);
}

TEST(FxEffect, LimitsAndRemoval) {
    TRun full(
        SystemWith("<InitParticles>3</InitParticles><MaxParticles>5</MaxParticles>"
                   "<ThrowInterval>0.1</ThrowInterval><ParticlesPerThrow>3</ParticlesPerThrow>"));
    EXPECT_EQ(full.Count(500), 3);
    full.System()->GetParticle(0)->Dead = 1;
    EXPECT_EQ(full.Count(600), 5);  // the dead one goes, then the throw fits

    TRun frozen(SystemWith("<InitParticles>2</InitParticles><MinParticles>2</MinParticles>"));
    for (int i = 0; i < 2; ++i) frozen.System()->GetParticle(i)->Dead = 1;
    EXPECT_EQ(frozen.Count(100), 2);
    EXPECT_EQ(frozen.System()->GetParticle(0)->Age(), 0u);  // dead ones are not updated

    TRun aging(SystemWith("<InitParticles>1</InitParticles><MaxLifetime>1</MaxLifetime>"));
    EXPECT_EQ(aging.Count(1000), 1);
    EXPECT_EQ(aging.Count(1001), 0);
}

TEST(FxEffect, CountsFromTheFileAreBounded) {
    // A huge throw is limited by MaxParticles, and always by the engine's limit.
    TRun huge(SystemWith(
        "<InitParticles>2147483647</InitParticles><MaxParticles>7</MaxParticles>"
        "<ThrowInterval>0.001</ThrowInterval><ParticlesPerThrow>2147483647</ParticlesPerThrow>"));
    EXPECT_EQ(huge.System()->ParticleCount(), 7);
    EXPECT_EQ(huge.Count(10), 7);
    const int32_t limit = TKelParticleSystem::ParticleLimit;
    TKelParticleSystem::ParticleLimit = 50;
    TRun unbounded(SystemWith("<InitParticles>2147483647</InitParticles>"));
    TKelParticleSystem::ParticleLimit = limit;
    EXPECT_EQ(unbounded.System()->ParticleCount(), 50);
    TRun negative(
        SystemWith("<InitParticles>-5</InitParticles><ThrowInterval>0.1</ThrowInterval>"
                   "<ParticlesPerThrow>-3</ParticlesPerThrow>"));
    EXPECT_EQ(negative.Count(1000), 0);
    // "/0" would divide by zero: the interval stays as it was.
    TRun divided(SystemWith("<InitParticles>2</InitParticles><InitInterval>/0</InitInterval>"));
    EXPECT_EQ(divided.System()->InitInterval, 0);
    EXPECT_EQ(divided.System()->ParticleCount(), 2);
}

TEST(FxEffect, InitialParticlesSpreadAlongThePath) {
    const std::string text = EffectText(
        R"(<Function Name="F" Dim="2" Type="piecewise"><Script>Set Linear; Path (0,0) (100,0) (100,100);</Script></Function>)",
        R"(<Morph Name="M" Dim="2"><Functions><Function Name="F"/></Functions></Morph>)",
        R"(<Particle Name="Dot"><Parameter Name="Position" Dim="2" Morph="M"/></Particle>)",
        R"(<ParticleSystem Name="S" Template="Dot"><InitParticles>4</InitParticles><InitInterval>/4</InitInterval></ParticleSystem>)");
    TRun run(text, 300);
    EXPECT_EQ(run.System()->InitInterval, 500);
    const float xs[] = {0, 50, 100, 100}, ys[] = {0, 0, 0, 50};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(run.System()->GetParticle(i)->TimeShift, uint32_t(500 * i));
        ExpectVector(run.System()->GetParticle(i)->GetPosition(), xs[i], ys[i]);
    }
}

TEST(FxEffect, LifetimeMinParticlesAndUpdatesBeforeTheStart) {
    TRun timed(SystemWith("<InitParticles>1</InitParticles>", Dot, " Lifetime=\"2\""), 1000);
    EXPECT_TRUE(timed.Effect.HasLifetime);
    timed.Effect.Update(2999);
    EXPECT_FALSE(timed.Effect.Finished);
    timed.Effect.Update(3000);
    EXPECT_TRUE(timed.Effect.Finished);
    timed.Effect.Update(500);  // before the start: nothing changes
    EXPECT_EQ(timed.Effect.CurrentTime, 3000u);
    EXPECT_TRUE(timed.Effect.Finished);

    TRun emptied(SystemWith("<InitParticles>1</InitParticles><MaxLifetime>0.5</MaxLifetime>", Dot,
                            " MinParticles=\"0\""));
    emptied.Effect.Update(500);
    EXPECT_FALSE(emptied.Effect.Finished);
    emptied.Effect.Update(501);
    EXPECT_TRUE(emptied.Effect.Finished);
    EXPECT_EQ(emptied.Effect.TotalParticles, 0u);
}

TEST(FxEffect, FileErrors) {
    const struct {
        std::string Text;
        const char* Error;
    } cases[] = {
        {"<Other/>",
         "[TKelParticleEffect.AnalyzeXML]: Effect \"E\" XML description has no <ParticleEffect> "
         "tag"},
        {"<ParticleEffect/>",
         "[TKelParticleEffect.AnalyzeXML]: Tag <ParticleEffect> has no \"Name\" attribute"},
        {"<ParticleEffect Name=\"X\"><Functions/><Morphs/><Particles/></ParticleEffect>",
         "[TKelParticleEffect.AnalyzeXML]: Effect \"X\" XML description has no <ParticleSystems> "
         "tag"},
        {EffectText("<Value/>", "", "", ""), "[AddFuncToLib]: Function reference is invalid"},
        {EffectText("", "<Morf/>", "", ""), "[AddMorphToLib]: Morph reference is invalid"},
        {EffectText("", "", "<Particle/>", ""), "<Particle> tag has no \"Name\" attribute"},
        {EffectText("", "", "", "<ParticleSystem Name=\"S\"/>"),
         "<ParticleSystem> tag has no \"Template\" attribute"},
        {SystemWith("<InitParticles>many</InitParticles>"), "'many' is not a valid integer value"},
        {SystemWith("<ThrowInterval>0,1</ThrowInterval>"),
         "'0,1' is not a valid floating point value"},
        {"", "[TKelParticleEffect.LoadFromStream]: Invalid effect \"E\" XML stream"},
    };
    for (const auto& c : cases) {
        TKelParticleEffect effect;
        effect.SetName("E");
        EXPECT_EQ(ErrorOf([&] { effect.LoadFromText(c.Text); }), c.Error) << c.Text;
    }
}

TEST(FxEffect, SectionsInAnyOrderAndSystemSettings) {
    TRun run(
        R"(<ParticleEffect Name="Named" MinParticles="3"><ParticleSystems>)"
        R"(<ParticleSystem Name="S" Template="Missing"><InitParticles>5</InitParticles>)"
        R"(<Resource>  cursor_line.png  </Resource><FrameCount>45</FrameCount><OutputMode>1</OutputMode></ParticleSystem>)"
        R"(<Skipped/></ParticleSystems><Particles/><Morphs/><Functions/></ParticleEffect>)");
    EXPECT_EQ(run.Effect.Name(), "Named");
    EXPECT_EQ(run.Effect.MinParticles, 3);
    TKelParticleSystem* s = run.System();
    EXPECT_EQ(s->Template, nullptr);  // no such particle: it never throws
    EXPECT_EQ(s->ParticleCount(), 0);
    EXPECT_EQ(s->Resource, "cursor_line.png");
    EXPECT_EQ(s->FrameCount, 45);
    EXPECT_EQ(s->OutputMode, 1);
}

TEST(FxEffect, CopiesReplayTheOriginalAndRunTimePathsAreChecked) {
    const std::string text = ReadTestFile("efSpread.xml");
    ASSERT_FALSE(text.empty());
    TKelParticleEffect loaded;
    loaded.LoadFromText(text);
    TKelParticleEffect copy;
    ASSERT_TRUE(copy.Assign(&loaded));
    TSequenceRandom first({0.1, 0.7, 0.4}), second({0.1, 0.7, 0.4});
    TKelParticleEffect original;
    original.LoadFromText(text);
    original.SetRandom(&first);
    copy.SetRandom(&second);
    for (TKelParticleEffect* effect : {&original, &copy}) {
        ASSERT_TRUE(effect->SetFunctionScript("FPath", "Set Linear; Path (0,0) (10,10);"));
        effect->Start(100);
        effect->Initialize();
    }
    EXPECT_FALSE(copy.SetFunctionScript("Spin", "Path (0,0) (1,1);"));  // not a path
    EXPECT_FALSE(copy.SetFunctionScript("NoSuch", "Path (0,0) (1,1);"));
    for (uint32_t t = 100; t <= 3000; t += 175) {
        original.Update(t);
        copy.Update(t);
        ASSERT_EQ(original.SystemCount(), copy.SystemCount());
        for (int s = 0; s < original.SystemCount(); ++s) {
            ASSERT_EQ(original.GetSystem(s)->ParticleCount(), copy.GetSystem(s)->ParticleCount());
            for (int p = 0; p < original.GetSystem(s)->ParticleCount(); ++p) {
                const TKelParticle* a = original.GetSystem(s)->GetParticle(p);
                const TKelParticle* b = copy.GetSystem(s)->GetParticle(p);
                ASSERT_EQ(a->Params.size(), b->Params.size());
                for (size_t i = 0; i < a->Params.size(); ++i)
                    EXPECT_EQ(a->Params[i].Value, b->Params[i].Value) << t << " " << i;
            }
        }
    }
    EXPECT_GT(original.TotalParticles, 0u);
}

}  // namespace

namespace {

std::string ReadDataEffect(const std::string& name) {
    std::ifstream file(std::string(TERVOLIN_TEST_DATA) + "/../../data/effects/" + name,
                       std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(FxEffect, TheGamesExampleEffectsRun) {
    TRun sparkle(ReadDataEffect("efCursorSparkle.xml"));
    TRun burst(ReadDataEffect("efBurst.xml"));
    for (uint32_t t = 0; t <= 5000; t += 20) {
        sparkle.Effect.Update(t);
        EXPECT_EQ(sparkle.System()->ParticleCount(), 6);
        for (int p = 0; p < 6; ++p) {
            const TKelVector position = sparkle.System()->GetParticle(p)->GetPosition();
            EXPECT_LE(VectLength(position, 2), 14.01f);  // within the breathing ring
            EXPECT_GE(VectLength(position, 2), 9.99f);
        }
        burst.Effect.Update(t);
        EXPECT_EQ(bool(burst.Effect.Finished), t >= 1200) << t;
    }
    EXPECT_FALSE(sparkle.Effect.Finished);
}

}  // namespace
