#include "core/KelException.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CoreError.h"

namespace {

class GuardedTest : public ::testing::Test {
  protected:
    GuardedTest() {
        SetExceptionLogSink([this](const std::string& line) { log.push_back(line); });
    }
    ~GuardedTest() override { SetExceptionLogSink(nullptr); }

    // Runs a failing step and answers the text of the error that came out.
    template <class Error>
    std::string Fail(const Error& inner) {
        try {
            Guarded("Exception error in TKelGameEngine.Step!", [&]() -> int { throw inner; });
        } catch (const KelException& error) {
            return error.what();
        }
        return "no error";
    }

    std::vector<std::string> log;
};

TEST_F(GuardedTest, AnswersWhatTheStepAnswersAndLogsNothing) {
    EXPECT_EQ(Guarded("never", [] { return 42; }), 42);
    EXPECT_TRUE(log.empty());
}

TEST_F(GuardedTest, ReplacesAnErrorByTheFixedTextAndLogsTheCauseFirst) {
    EXPECT_EQ(Fail(TKelCoreError("[TKelParser.LoadFromString] bad tag")),
              "Exception error in TKelGameEngine.Step!");
    EXPECT_EQ(log, (std::vector<std::string>{"[TKelParser.LoadFromString] bad tag",
                                             "Exception error in TKelGameEngine.Step!"}));
}

TEST_F(GuardedTest, AGameErrorIsLoggedOnceWhenItIsCreated) {
    log.clear();
    EXPECT_EQ(Fail(KelException("Can not find Lithos.xml")),
              "Exception error in TKelGameEngine.Step!");
    EXPECT_EQ(log, (std::vector<std::string>{"Can not find Lithos.xml",
                                             "Exception error in TKelGameEngine.Step!"}));
}

}  // namespace
