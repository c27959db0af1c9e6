#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/MachineInfo.h"
#include "core/MemoryStream.h"
#include "platform/RegistryFile.h"

namespace fs = std::filesystem;

static std::string ReadAll(const fs::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(RegistryFileTest, ValuesSurviveAReloadAndMissingOnesReadEmpty) {
    const fs::path folder = fs::temp_directory_path() / "tervolin-registry-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string file = (folder / "registry.ini").string();
    {
        TRegistryFile registry(file);
        EXPECT_EQ(registry.Read("Software\\Game", "LangStr"), "");
        EXPECT_TRUE(registry.Write("Software\\Game", "LangStr", "DEU_1"));
        EXPECT_TRUE(registry.Write("Other", "Link", "a=b\nInjected=1"));
    }
    TRegistryFile reloaded(file);
    EXPECT_EQ(reloaded.Read("Software\\Game", "LangStr"), "DEU_1");
    EXPECT_EQ(reloaded.Read("Other", "Link"), "a=bInjected=1");
    EXPECT_EQ(reloaded.Read("Other", "Injected"), "");
    EXPECT_FALSE(fs::exists(file + ".part"));
    fs::remove_all(folder);
}

TEST(RegistryFileTest, AtomicWriteReplacesTheFileOrLeavesItAlone) {
    const fs::path folder = fs::temp_directory_path() / "tervolin-atomic-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path target = folder / "players.dat";
    ASSERT_TRUE(WriteTextFileAtomically(target.string(), "first"));
    ASSERT_TRUE(WriteTextFileAtomically(target.string(), "second"));
    EXPECT_EQ(ReadAll(target), "second");
    EXPECT_FALSE(WriteTextFileAtomically((folder / "missing" / "x.dat").string(), "lost"));
    EXPECT_EQ(ReadAll(target), "second");
    fs::remove_all(folder);
}

TEST(MachineInfoTest, OsReleaseNamePrefersThePrettyName) {
    EXPECT_EQ(OsReleaseName(
                  "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(OsReleaseName("NAME=Arch\r\n"), "Arch");
    EXPECT_EQ(OsReleaseName(""), "");
    EXPECT_NE(GetOSDescription("/nonexistent").find("kernel "), std::string::npos);
}
