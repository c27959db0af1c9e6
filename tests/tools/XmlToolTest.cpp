// tervolin-tool xml: the exact bytes the game writes for a description file.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// Runs the tool with the arguments; answers its standard output and sets the exit code.
std::string RunTool(const std::string& arguments, int& exitCode) {
    const std::string command = std::string(TERVOLIN_TOOL) + " xml " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char buffer[65536];
    size_t count;
    while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, count);
    exitCode = WEXITSTATUS(pclose(pipe));
    return output;
}

}  // namespace

TEST(XmlTool, WritesWhatTheGameWrites) {
    const std::string dir = std::string(TERVOLIN_TEST_DATA) + "/core/";
    std::ifstream expected(dir + "dialect.expected", std::ios::binary);
    std::ostringstream bytes;
    bytes << expected.rdbuf();
    int exitCode = -1;
    EXPECT_EQ(RunTool(dir + "dialect.xml", exitCode), bytes.str());
    EXPECT_EQ(exitCode, 0);
}

TEST(XmlTool, SurvivesHostileInput) {
    const std::string path = testing::TempDir() + "xml_tool_deep.xml";
    {
        std::ofstream file(path, std::ios::binary);
        for (int i = 0; i < 100000; ++i) file << "<a>";
        file << "</a></a><?xml?><b/><!-- never closed";
    }
    int exitCode = -1;
    EXPECT_EQ(RunTool(path, exitCode), "<?xml?>\r\n<b />\r\n");
    EXPECT_EQ(exitCode, 0);
    std::remove(path.c_str());
}
