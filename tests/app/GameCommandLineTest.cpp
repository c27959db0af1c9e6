// The game's command line: the scripted mode's options in any order, everything else refused.
#include "app/GameCommandLine.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

TEST(GameCommandLineTest, TakesNothingOrAScriptWithItsOptions) {
    const auto plain = ParseGameCommandLine({});
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain->Script.empty());

    const auto defaults = ParseGameCommandLine({"--script", "a.txt"});
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->Script, "a.txt");
    EXPECT_FALSE(defaults->Headless);
    EXPECT_TRUE(defaults->Frames.empty());
    EXPECT_EQ(defaults->Seed, 1u);

    const auto all = ParseGameCommandLine(
        {"--seed", "18446744073709551615", "--frames", "out", "--headless", "--script", "s"});
    ASSERT_TRUE(all);
    EXPECT_EQ(all->Script, "s");
    EXPECT_TRUE(all->Headless);
    EXPECT_EQ(all->Frames, "out");
    EXPECT_EQ(all->Seed, 18446744073709551615u);
}

TEST(GameCommandLineTest, RefusesWhatItDoesNotTake) {
    const Args cases[] = {
        {"--headless"},
        {"--seed", "3"},
        {"--frames", "out"},
        {"--script"},
        {"--script", ""},
        {"--script", "a", "--script", "b"},
        {"--script", "a", "--headless", "--headless"},
        {"--script", "a", "--seed", "-1"},
        {"--script", "a", "--seed", "x"},
        {"--script", "a", "--seed", "18446744073709551616"},
        {"--script", "a", "--frames"},
        {"--script", "a", "extra"},
        {"--help"},
        {"a.txt"},
    };
    for (const Args& args : cases) {
        std::string line;
        for (const std::string& arg : args) line += arg + " ";
        SCOPED_TRACE(line);
        EXPECT_FALSE(ParseGameCommandLine(args));
    }
}

}  // namespace
