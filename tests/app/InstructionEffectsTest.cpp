#include "app/InstructionEffects.h"

#include <gtest/gtest.h>

#include "core/Random.h"

namespace {

TEST(InstructionEffectsTest, PlaceholdersBecomeTheLevelsPieceStrips) {
    const std::vector<std::string> resources = {"1_123", "2_1", "1_3", "spark.png", "2_", "3_1"};
    std::string systems;
    for (size_t i = 0; i < resources.size(); ++i)
        systems += R"(<ParticleSystem Name="S)" + std::to_string(i) +
                   R"(" Template="P"><Resource>)" + resources[i] + "</Resource></ParticleSystem>";
    TKelRandom random(1);
    TKelParticleEffect effect;
    effect.SetRandom(&random);
    effect.LoadFromText(R"(<ParticleEffect Name="E"><Functions/><Morphs/><Particles>)"
                        R"(<Particle Name="P"/></Particles><ParticleSystems>)" +
                        systems + "</ParticleSystems></ParticleEffect>");
    TFishkaTypes types(2);
    types[0].Name = "Sun";
    types[1].Name = "Box";
    TLevel level;
    level.LevelFishes = {{1, 2}, {0, 0}};

    ChangeEffectParticlesPictures(effect, types, level);
    std::vector<std::string> names;
    for (int i = 0; i < effect.SystemCount(); ++i) names.push_back(effect.GetSystem(i)->Resource);
    EXPECT_EQ(names, (std::vector<std::string>{"Box7c3anime", "Sun1c1anime", "Box4c3anime",
                                               "spark.png", "Sun0c1anime", "3_1"}));

    // A level with a single piece kind keeps the second kind's placeholders.
    TKelParticleEffect again;
    again.SetRandom(&random);
    again.LoadFromText(R"(<ParticleEffect Name="E"><Functions/><Morphs/><Particles>)"
                       R"(<Particle Name="P"/></Particles><ParticleSystems>)" +
                       systems + "</ParticleSystems></ParticleEffect>");
    level.LevelFishes.resize(1);
    ChangeEffectParticlesPictures(again, types, level);
    EXPECT_EQ(again.GetSystem(1)->Resource, "2_1");
}

}  // namespace
