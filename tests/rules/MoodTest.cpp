#include <gtest/gtest.h>

#include <tuple>

#include "support/PlayRulesFixture.h"

using MoodTest = PlayRulesTest;

TEST_F(MoodTest, TheMoodFallsOnceASecondByTheBarsProgress) {
    play_.Level.DecPerSecond = 30;
    for (const auto& [progress, fall] :
         {std::pair{0.0, 10}, std::pair{1.5, 20}, std::pair{2.0, 30}, std::pair{7.0, 30}}) {
        play_.Level.Progress = progress;
        play_.Game.Mood = 600;
        play_.Game.MoodTickTime = 0;
        rules_.TickPharaohTimer(now_);
        EXPECT_EQ(play_.Game.Mood, 600 - fall) << progress;
        rules_.TickPharaohTimer(now_ + 1000);  // not after the next second yet
        EXPECT_EQ(play_.Game.Mood, 600 - fall) << progress;
    }
    play_.Game.MoodHoldUntil = now_ + 5000;
    rules_.TickPharaohTimer(now_ + 2000);
    EXPECT_EQ(play_.Game.Mood, 570);
}

TEST_F(MoodTest, TheStateIsTheHighestThresholdBelowTheMood) {
    struct Case {
        int Mood, OldState, State;
        const char* Sound;
    };
    const Case cases[] = {
        {148, 1, 0, "ChangePharaohStateToAngry"},  // 148 is not below 148
        {149, 2, 1, "ChangePharaohStateToSad"},
        {149, 0, 1, nullptr},  // rescued from anger: no sad sound
        {717, 4, 5, "ChangePharaohStateToHappy"},
        {859, 5, 6, "ChangePharaohStateToVeryHappy"},
        {600, 5, 4, nullptr},
        {0, 3, 3, nullptr},  // straight to 0: the state stays in that update
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Mood);
        out_.Sounds.clear();
        play_.Game.Mood = c.Mood;
        play_.Game.MoodState = c.OldState;
        play_.Game.MoodTickTime = 0;
        rules_.TickPharaohTimer(now_);
        EXPECT_EQ(play_.Game.MoodState, c.State);
        if (c.Sound)
            EXPECT_TRUE(out_.HasSound(c.Sound, -1));
        else
            EXPECT_TRUE(out_.Sounds.empty());
        EXPECT_EQ(play_.Game.MoodTickTime, int64_t(now_) + 1000);
    }
}

TEST_F(MoodTest, RelaxKeepsThePharaohFromAnger) {
    play_.Game.GameMode = 1;
    play_.Level.DecPerSecond = 300;
    play_.Game.Mood = 200;
    for (int second = 1; second <= 5; ++second) rules_.TickPharaohTimer(now_ + second * 1001);
    EXPECT_EQ(play_.Game.Mood, 149);
    EXPECT_EQ(play_.Game.MoodState, 1);
}

TEST_F(MoodTest, TheAngryPharaohDrainsTheBarUntilTheLevelIsLost) {
    play_.Level.Goal = 20;
    play_.Level.DownScarabPerSecond = 10;
    play_.Level.Progress = 1;
    // 10 of the bar's 299 pixels a second: 20 / 299 of a fishka for each pixel.
    EXPECT_FALSE(rules_.DrainBar(now_, 1000));
    EXPECT_NEAR(play_.Level.Progress, 1 - 10 * 20 / 299.0, 1e-9);
    EXPECT_TRUE(out_.HasSound("Alert", -1));
    EXPECT_EQ(play_.Game.AlertTime, int64_t(now_) + 1000);
    out_.Sounds.clear();
    EXPECT_FALSE(rules_.DrainBar(now_ + 500, 10));
    EXPECT_TRUE(out_.Sounds.empty());  // one alert a second
    EXPECT_TRUE(rules_.DrainBar(now_ + 2000, 1000));

    play_.Level.Goal = 0;  // a level without a goal never drains
    play_.Level.Progress = 0;
    EXPECT_FALSE(rules_.DrainBar(now_ + 3000, 100000));
    EXPECT_EQ(play_.Level.Progress, 0);
}

TEST_F(MoodTest, ACompletionRescuesTheAngryPharaoh) {
    play_.Game.Mood = 100;
    play_.Game.MoodState = 0;
    play_.Level.IncPerFish = 5;
    Put({4, 4}, 0, 0, "1");
    Put({5, 4}, 0, 0, "23");
    ASSERT_TRUE(rules_.PutFishInsideFish({5, 4}, {4, 4}, now_));
    RunUntil(Start + 310);
    EXPECT_EQ(std::tuple(play_.Game.Mood, play_.Game.MoodState, play_.Game.MoodHoldUntil),
              std::tuple(222, 1, int64_t(Start) + 4310));
}
