// The game's command line: help and version alone, the window mode for one run, the scripted
// mode's options in any order, everything else refused.
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
    EXPECT_FALSE(all->FullScreen);
}

TEST(GameCommandLineTest, HelpAndVersionStandAlone) {
    EXPECT_EQ(ParseGameCommandLine({})->Action, TGameCommandLine::Play);
    EXPECT_EQ(ParseGameCommandLine({"--help"})->Action, TGameCommandLine::Help);
    EXPECT_EQ(ParseGameCommandLine({"--version"})->Action, TGameCommandLine::Version);
}

TEST(GameCommandLineTest, WindowModeForOneRun) {
    const struct {
        Args args;
        int fullScreen;
        std::string script;
    } cases[] = {
        {{"--window"}, 0, ""},
        {{"--fullscreen"}, 1, ""},
        {{"--script", "s", "--fullscreen", "--headless"}, 1, "s"},
        {{"--window", "--script", "s"}, 0, "s"},
    };
    for (const auto& c : cases) {
        const auto line = ParseGameCommandLine(c.args);
        ASSERT_TRUE(line) << c.args[0];
        EXPECT_EQ(line->FullScreen, c.fullScreen) << c.args[0];
        EXPECT_EQ(line->Script, c.script) << c.args[0];
    }
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
        {"--help", "--version"},
        {"--version", "--window"},
        {"--script", "a", "--help"},
        {"--window", "--fullscreen"},
        {"--fullscreen", "--fullscreen"},
        {"--window", "--headless"},
        {"--full-screen"},
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
