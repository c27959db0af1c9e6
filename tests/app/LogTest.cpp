#include "app/Log.h"

#include <gtest/gtest.h>

#include "app/ErrorReporter.h"
#include "app/GameEngine.h"
#include "support/TempFolder.h"

TEST(LogTest, LinePrefixCountsMinutesSecondsAndMilliseconds) {
    const struct {
        uint32_t elapsed;
        const char* expected;
    } cases[] = {
        {0, "{0:0:0} Go"},
        {61234, "{1:1:234} Go"},
        {3723004, "{62:3:4} Go"},  // minutes go past 59, no hours
        {59999, "{0:59:999} Go"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatLogLine(c.elapsed, "Go"), c.expected);
}

TEST(LogTest, RunLogStartsAfreshAndOtherLogsAccumulate) {
    TempFolder folder;
    folder.Write("Tervolin.log", "old run\r\n");
    folder.Write("Stat.log", "{0:0:1} earlier\r\n");
    uint32_t now = 10000000;
    TGameLog log(folder.Path().string(), "Tervolin.log", [&] { return now; });
    log.StartRun();
    now += 61234;
    log.WriteLog("Game Started...");
    log.WriteLog("Player Ann lose level 3 in 0 min. 5 sec.", "Stat.log");
    EXPECT_EQ(folder.Read("Tervolin.log"), "{1:1:234} Game Started...\r\n");
    EXPECT_EQ(folder.Read("Stat.log"),
              "{0:0:1} earlier\r\n{1:1:234} Player Ann lose level 3 in 0 min. 5 sec.\r\n");
}

TEST(LogTest, KelExceptionIsLoggedOnCreationAndLoggingNeverThrows) {
    TempFolder folder;
    TGameLog log(folder.Path().string(), "Tervolin.log", [] { return 5u; });
    SetExceptionLogSink([&log](const std::string& text) { log.WriteLog(text); });
    const KelException error("Bass init error.");
    SetExceptionLogSink(nullptr);
    EXPECT_STREQ(error.what(), "Bass init error.");
    EXPECT_EQ(folder.Read("Tervolin.log"), "{0:0:0} Bass init error.\r\n");

    TGameLog unwritable((folder.Path() / "missing" / "deeper").string(), "x.log",
                        [] { return 0u; });
    EXPECT_NO_THROW(unwritable.WriteLog("lost"));
}

TEST(LogTest, AverageIsWrittenWithThreeSignificantDigits) {
    const struct {
        double value;
        const char* expected;
    } cases[] = {{59.94, "59.9"}, {60, "60"}, {7.25, "7.25"}, {0, "0"}, {45, "45"}};
    for (const auto& c : cases) EXPECT_EQ(FormatGeneral3(c.value), c.expected);
}

TEST(ErrorReporterTest, RepeatedMessagesAreCountedNotShown) {
    TErrorReporter reporter(10000);
    int suppressed = -1;
    EXPECT_TRUE(reporter.ShouldShow("A", 1000, suppressed));
    EXPECT_EQ(suppressed, 0);
    EXPECT_FALSE(reporter.ShouldShow("A", 2000, suppressed));
    EXPECT_FALSE(reporter.ShouldShow("A", 10999, suppressed));
    EXPECT_TRUE(reporter.ShouldShow("B", 3000, suppressed));  // another text is shown at once
    EXPECT_TRUE(reporter.ShouldShow("A", 11000, suppressed));
    EXPECT_EQ(suppressed, 2);
}
