// The data folder: beside the executable in the build folder, else under the installation's
// prefix.
#include "app/GameFolders.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"

TEST(GameFoldersTest, TheBuildFolderWinsOverTheInstalledData) {
    TempFolder folder;
    const std::string bin = folder.File("bin");
    ASSERT_TRUE(EnsureFolder(bin));
    EXPECT_EQ(FindDataFolder(bin, "../share/tervolin"), folder.File("share/tervolin"));
    TempFolder build;
    build.Write("game.zxc", "archive");
    EXPECT_EQ(FindDataFolder(build.Path().string(), "../share/tervolin"), build.Path().string());
}
