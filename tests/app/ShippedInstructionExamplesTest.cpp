// The shipped examples of the instructions window, run by the game's cycles on level 1's pieces
// for a minute of game time: every piece placeholder becomes one of the level's piece strips, the
// examples of each well follow each other without a gap, and a timed companion has always ended
// before its example starts it again.
#include <gtest/gtest.h>

#include <map>

#include "app/InstructionEffects.h"
#include "core/Random.h"
#include "resources/ArchiveXml.h"
#include "resources/FileFolder.h"

namespace {

#ifdef TERVOLIN_GAME_FOLDER
class ShippedInstructionExamplesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(archive.LastError(), "");
        TKelParser document;
        ASSERT_TRUE(LoadXmlEntry(archive, "FishkaTypes.xml", document));
        ReadFishkaTypes(document, types);
        ASSERT_GE(types.size(), 1u);
        level.LevelFishes = {{0, 1}, {0, 2}};  // level 1's kinds
    }
    // Runs the page shown for a minute in passes of 20 ms; `check` sees the list after each.
    void RunFor(bool firstPage, const std::function<void()>& check) {
        firstPageVisible = firstPage;
        examples.StartInstructionEffects();
        for (; now < T + 60000; now += 20) {
            TickScreenEffects(list, now);
            check();
        }
    }
    int Count(const std::string& name) const {
        int n = 0;
        for (const TPartEffect& instance : list) n += instance.Name == name;
        return n;
    }

    static constexpr uint32_t T = 10000000;
    TFileFolder archive = TFileFolder::Open(std::string(TERVOLIN_GAME_FOLDER) + "/game.zxc");
    TKelRandom random{1};
    TScreenEffects list;
    TFishkaTypes types;
    TLevel level;
    uint32_t now = T;
    bool firstPageVisible = true;
    TInstructionEffects examples{
        {.List = list,
         .Sources =
             [this] {
                 return TEffectSources{archive, nullptr, nullptr, &random,
                                       [](const std::string& line) { ADD_FAILURE() << line; }};
             },
         .Clock = [this] { return now; },
         .Types = types,
         .Level = level,
         .FormVisible = [this](const std::string&) { return std::optional(firstPageVisible); }}};
};

TEST_F(ShippedInstructionExamplesTest, TheFirstPageCyclesWithTheLevelsPieces) {
    const std::string& first = types[0].Name;
    std::map<std::string, int> seen;
    RunFor(true, [&] {
        for (const TPartEffect& instance : list) {
            ++seen[instance.Name];
            ASSERT_TRUE(instance.Effect) << instance.Name;
            for (int s = 0; s < instance.Effect->SystemCount(); ++s) {
                const std::string& picture = instance.Effect->GetSystem(s)->Resource;
                EXPECT_NE(picture[0], '1') << instance.Name;
                EXPECT_NE(picture[0], '2') << instance.Name;
                if (picture.rfind(first, 0) == 0) {
                    EXPECT_EQ(instance.Effect->GetSystem(s)->FrameCount, types[0].FrameCount);
                }
            }
        }
        // Each well shows one example at a time, and never none.
        EXPECT_EQ(Count("efHelp11.xml") + Count("efHelp12.xml"), 1);
        EXPECT_EQ(Count("efHelp21.xml") + Count("efHelp23.xml"), 1);
        EXPECT_EQ(Count("efHelp31.xml") + Count("efHelp32.xml"), 1);
        EXPECT_EQ(Count("efPharaohFaces6OnInstr.xml") + Count("efPharaohAngryOnInstr.xml"), 1);
        EXPECT_EQ(Count("efScarabOnInstructions.xml"), 1);
        // A companion has ended when its example starts it again.
        for (const char* companion :
             {"efInstructionBlickComplete.xml", "efInstructionBlickComplete3.xml",
              "efInstructionGBC.xml", "efInstructionGBC2.xml"})
            EXPECT_LE(Count(companion), 1) << companion;
    });
    // Within the minute every example of the page has had its turn.
    for (const char* name :
         {"efHelp11.xml", "efHelp12.xml", "efHelp21.xml", "efHelp23.xml", "efHelp31.xml",
          "efHelp32.xml", "efInstructionBlickComplete.xml", "efInstructionBlickComplete3.xml",
          "efInstructionGBC.xml", "efInstructionGBC2.xml", "efPharaohFaces6OnInstr.xml",
          "efPharaohAngryOnInstr.xml"})
        EXPECT_GT(seen[name], 0) << name;
}

TEST_F(ShippedInstructionExamplesTest, TheSecondPageRunsOnWithTheCobrasStrike) {
    bool struck = false;
    RunFor(false, [&] {
        EXPECT_EQ(Count("efBonusGemOnInstr.xml"), 1);
        EXPECT_EQ(Count("efBouncingGemOnInstr.xml"), 1);
        EXPECT_EQ(Count("efCobraOnInstr.xml"), 1);
        EXPECT_LE(Count("efClickOnCobra3OnInstr.xml"), 1);
        struck = struck || Count("efClickOnCobra3OnInstr.xml") == 1;
    });
    EXPECT_TRUE(struck);
}
#endif

}  // namespace
