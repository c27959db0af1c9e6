// tervolin-tool fx: the exact output for a hand-written path, and its errors.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>
#include <string>

namespace {

// Runs the tool with the arguments; answers its standard output and sets its exit code.
std::string RunTool(const std::string& arguments, int& code) {
    const std::string command = std::string(TERVOLIN_TOOL) + " fx " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int status = pclose(pipe);
    code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

const std::string Data = std::string(TERVOLIN_TEST_DATA) + "/fx/";

TEST(FxTool, PrintsTheLinearPathAtEachTime) {
    int code = 0;
    const std::string output =
        RunTool(Data + "efLinearPath.xml efLinearPath.xml --at 0,500,1000", code);
    const std::string rest =
        " Alpha=1.000 Color=255.000,255.000,255.000 ColorValue=0.000 Frame=0.000 "
        "Size=1.000,1.000\n";
    EXPECT_EQ(code, 0);
    EXPECT_EQ(output, "t=0 system=Main live=1\n  particle=0 Position=0.000,0.000" + rest +
                          "t=500 system=Main live=1\n  particle=0 Position=50.000,0.000" + rest +
                          "t=1000 system=Main live=1\n  particle=0 Position=100.000,0.000" + rest +
                          "finished=1\n");
}

TEST(FxTool, SameSeedSameOutputAndErrors) {
    int code = 0;
    const std::string args = Data + "efSpread.xml efSpread.xml --at 0,333,1200,2600 --seed ";
    const std::string first = RunTool(args + "42", code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(RunTool(args + "42", code), first);
    EXPECT_NE(RunTool(args + "43", code), first);
    EXPECT_NE(first.find("t=2600 system=Puffs live="), std::string::npos);
    EXPECT_NE(first.find("finished=1\n"), std::string::npos);

    RunTool(Data + "efLinearPath.xml x --at 10,zz", code);
    EXPECT_EQ(code, 1);
    RunTool(Data + "efNoSuchFile.xml x --at 10", code);
    EXPECT_EQ(code, 1);
    RunTool(Data + "efLinearPath.xml x", code);
    EXPECT_EQ(code, 2);
}

}  // namespace
