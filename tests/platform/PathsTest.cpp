#include "platform/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

class PathsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root =
            fs::temp_directory_path() /
            ("tervolin-paths-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "Sounds" / "Music");
        std::ofstream(root / "Sounds" / "Music" / "Theme.XM") << "x";
        std::ofstream(root / "Sounds" / "b.ogg") << "x";
        std::ofstream(root / "Sounds" / "A.ogg") << "x";
    }
    void TearDown() override { fs::remove_all(root); }
    fs::path root;
};

TEST_F(PathsTest, ResolvesEachComponentIgnoringCaseAndBackslashes) {
    const std::string base = root.string();
    struct Case {
        std::string asked, expected;
    } cases[] = {
        {base + "\\sounds\\music\\theme.xm", base + "/Sounds/Music/Theme.XM"},
        {base + "/SOUNDS/a.OGG", base + "/Sounds/A.ogg"},
        {base + "/Sounds/Music/Theme.XM", base + "/Sounds/Music/Theme.XM"},
        {base + "/sounds/missing/Theme.xm", base + "/Sounds/missing/Theme.xm"},
    };
    for (const Case& c : cases) EXPECT_EQ(ResolvePath(c.asked), c.expected) << c.asked;
}

TEST_F(PathsTest, ListsFoldersSortedAndMissingFoldersEmpty) {
    EXPECT_EQ(ListFolder((root / "Sounds").string()),
              (std::vector<std::string>{"A.ogg", "Music", "b.ogg"}));
    EXPECT_TRUE(ListFolder((root / "nothing").string()).empty());
}
