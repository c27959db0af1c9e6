#include "app/InstructionEffects.h"

#include <gtest/gtest.h>

#include "core/Random.h"
#include "resources/FileFolder.h"
#include "support/TestContent.h"

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

constexpr uint32_t T = 10000000;

// The examples on an archive holding a one-second effect of the placeholder picture "1_1" for
// every example but the bouncing gem, a level whose first piece kind is "Sun" in colour 0, and a
// clock.
class InstructionExamplesTest : public ::testing::Test {
  protected:
    InstructionExamplesTest() {
        for (const char* name :
             {"efHelp11.xml", "efHelp12.xml", "efHelp21.xml", "efHelp23.xml", "efHelp31.xml",
              "efHelp32.xml", "efInstructionBlickComplete.xml", "efInstructionBlickComplete3.xml",
              "efInstructionGBC.xml", "efInstructionGBC2.xml", "efPharaohFaces6OnInstr.xml",
              "efPharaohAngryOnInstr.xml", "efBonusGemOnInstr.xml", "efCobraOnInstr.xml",
              "efClickOnCobra3OnInstr.xml", "efScarabOnInstructions.xml"})
            archive.AddFile(name, 1, TMemoryStream(OneParticleEffect("1", "1_1")));
        types[0].Name = "Sun";
        level.LevelFishes = {{0, 0}};
    }
    // Each instance as "<name> +<start - T> -> <end argument> <picture>[ at x,y]".
    std::vector<std::string> Instances() const {
        std::vector<std::string> lines;
        for (const TPartEffect& instance : list) {
            std::string line = instance.Name + " +" +
                               std::to_string(instance.Effect->StartTime - T) + " -> " +
                               instance.CallbackArg + " " + instance.Effect->GetSystem(0)->Resource;
            if (instance.X != 0 || instance.Y != 0)
                line += " at " + std::to_string(instance.X) + "," + std::to_string(instance.Y);
            lines.push_back(line);
        }
        return lines;
    }
    void Tick(uint32_t time) {
        now = time;
        TickScreenEffects(list, now);
    }

    TFileFolder archive = TFileFolder::CreateEmpty("unused.zxc");
    TKelRandom random{1};
    std::vector<std::string> log;
    TScreenEffects list;
    TFishkaTypes types = TFishkaTypes(1);
    TLevel level;
    uint32_t now = T;
    std::optional<bool> firstPageVisible = true;
    TInstructionEffects examples{
        {.List = list,
         .Sources =
             [this] {
                 return TEffectSources{archive, nullptr, nullptr, &random,
                                       [this](const std::string& line) { log.push_back(line); }};
             },
         .Clock = [this] { return now; },
         .Types = types,
         .Level = level,
         .FormVisible =
             [this](const std::string& form) {
                 EXPECT_EQ(form, "WInstructions_TFPage1");
                 return firstPageVisible;
             }}};
};

TEST_F(InstructionExamplesTest, EachPageStartsItsExamples) {
    const std::vector<std::string> first = {
        "efHelp11.xml +0 -> efHelp12.xml Sun1c1anime",
        "efHelp21.xml +0 -> efHelp23.xml Sun1c1anime",
        "efInstructionBlickComplete.xml +7500 ->  Sun1c1anime",
        "efHelp31.xml +0 -> efHelp32.xml Sun1c1anime",
        "efInstructionGBC.xml +7500 ->  Sun1c1anime",
        "efScarabOnInstructions.xml +0 ->  Sun1c1anime at 540,420",
        "efPharaohFaces6OnInstr.xml +0 -> efPharaoh1 1_1"};
    const std::vector<std::string> second = {"efBonusGemOnInstr.xml +0 ->  Sun1c1anime",
                                             "efCobraOnInstr.xml +0 -> efCobra Sun1c1anime",
                                             "efClickOnCobra3OnInstr.xml +1500 ->  Sun1c1anime"};
    const std::string noForm =
        "Can not find tab form WInstructions_TFPage1, the instructions show their second page";
    const std::string noGem = "Can not find file name efBouncingGemOnInstr.xml in GameFolder";
    struct Case {
        std::optional<bool> Visible;
        std::vector<std::string> Instances, Log;
    } cases[] = {
        {true, first, {}},
        {false, second, {noGem}},
        {std::nullopt, second, {noForm, noGem}},
        {std::nullopt, second, {noGem}},  // the missing form is reported once
    };
    for (const Case& c : cases) {
        list.clear();
        log.clear();
        firstPageVisible = c.Visible;
        examples.StartInstructionEffects();
        EXPECT_EQ(Instances(), c.Instances);
        EXPECT_EQ(log, c.Log);
    }
}

TEST_F(InstructionExamplesTest, EndedExamplesCreateTheirSuccessors) {
    // Every example lasts a second: each tick ends those that started a second before.
    examples.StartInstructionEffects();
    Tick(T + 1000);
    EXPECT_EQ(Instances(),
              (std::vector<std::string>{"efInstructionBlickComplete.xml +7500 ->  Sun1c1anime",
                                        "efInstructionGBC.xml +7500 ->  Sun1c1anime",
                                        "efHelp12.xml +1000 -> efHelp11.xml Sun1c1anime",
                                        "efHelp23.xml +1000 -> efHelp21.xml Sun1c1anime",
                                        "efInstructionBlickComplete3.xml +8500 ->  Sun1c1anime",
                                        "efHelp32.xml +1000 -> efHelp31.xml Sun1c1anime",
                                        "efInstructionGBC2.xml +5000 ->  Sun1c1anime",
                                        "efPharaohFaces6OnInstr.xml +1000 -> efPharaoh2 1_1"}));
    list.erase(list.begin(), list.begin() + 2);
    Tick(T + 2000);  // round again
    EXPECT_EQ(Instances(),
              (std::vector<std::string>{"efInstructionBlickComplete3.xml +8500 ->  Sun1c1anime",
                                        "efInstructionGBC2.xml +5000 ->  Sun1c1anime",
                                        "efHelp11.xml +2000 -> efHelp12.xml Sun1c1anime",
                                        "efHelp21.xml +2000 -> efHelp23.xml Sun1c1anime",
                                        "efInstructionBlickComplete.xml +9500 ->  Sun1c1anime",
                                        "efHelp31.xml +2000 -> efHelp32.xml Sun1c1anime",
                                        "efInstructionGBC.xml +9500 ->  Sun1c1anime",
                                        "efPharaohAngryOnInstr.xml +2000 -> efPharaoh1 1_1"}));

    list.clear();
    firstPageVisible = false;
    examples.StartInstructionEffects();
    Tick(T + 3000);  // the cobra starts again with its click; the gems just end
    EXPECT_EQ(Instances(),
              (std::vector<std::string>{"efClickOnCobra3OnInstr.xml +3500 ->  Sun1c1anime",
                                        "efCobraOnInstr.xml +3000 -> efCobra Sun1c1anime",
                                        "efClickOnCobra3OnInstr.xml +4500 ->  Sun1c1anime"}));
}

TEST_F(InstructionExamplesTest, StopRemovesEveryExampleWithoutCallingBack) {
    archive.AddFile("efOther.xml", 1, TMemoryStream(OneParticleEffect("1", "spark.png")));
    CreateKelEffectFromFile(list, {archive, nullptr, nullptr, &random, nullptr},
                            {.Name = "efOther.xml", .File = "efOther.xml"}, T);
    examples.StartInstructionEffects();
    firstPageVisible = false;
    examples.StartInstructionEffects();
    ASSERT_EQ(list.size(), 11u);
    examples.StopInstructionEffects();
    EXPECT_EQ(Instances(), std::vector<std::string>{"efOther.xml +0 ->  spark.png"});
    Tick(T + 20000);
    EXPECT_TRUE(list.empty());
}

}  // namespace
