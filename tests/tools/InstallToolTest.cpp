// tervolin-tool install and pack: progress lines, the error text and exit code, the skipped
// destination, and a pack followed by an install giving the pictures back.
#include <gtest/gtest.h>

#include "support/ArchiveBytes.h"
#include "support/PictureFixtures.h"
#include "support/RunTool.h"

namespace {

class InstallToolTest : public ScratchFolderTest {};

TEST_F(InstallToolTest, PackThenInstallGivesThePicturesBack) {
    {
        TFileFolder archive = TFileFolder::CreateEmpty(PathOf("game.zxc"));
        AddPictureEntry(archive, "a.PNG", FilledPicture(4, 4, {40, 80, 120, 200}, true));
        AddEntry(archive, "s.aim",
                 "<AutoImage name=\"b\" autosize=\"true\">\n<AddImage name=\"a.PNG\"/>");
        archive.Save();
    }
    const ToolResult pack = RunTool({"pack", PathOf("game.zxc"), PathOf("packed.zxc")});
    ASSERT_EQ(pack.exitCode, 0) << pack.err;
    EXPECT_EQ(pack.out, "Done: 0% ( a.PNG)\nDone: 100% ( s.aim)\n");

    const ToolResult install = RunTool({"install", PathOf("packed.zxc"), PathOf("temp/game.zxc")});
    ASSERT_EQ(install.exitCode, 0) << install.err;
    EXPECT_EQ(
        install.out,
        "Done: 0% ( a._JPG)\nDone: 50% ( a._PNG)\nDone: 100% ( s._aim)\nDone: 100% ( s.aim)\n");
    TFileFolder working = TFileFolder::Open(PathOf("temp/game.zxc"));
    ASSERT_EQ(working.Count(), 3);
    const TRgba pixel = PixelAt(EntryPicture(working, "b.pNg"), 3, 3);
    EXPECT_EQ(pixel.A, 200);
    EXPECT_NEAR(pixel.G, 80, 3);

    const ToolResult again = RunTool({"install", PathOf("game.zxc"), PathOf("temp/game.zxc")});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, PathOf("temp/game.zxc") + " exists; nothing to do\n");
}

TEST_F(InstallToolTest, FailuresExitWithTheErrorText) {
    const ToolResult missing = RunTool({"install", PathOf("none.zxc"), PathOf("out.zxc")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Can not find file " + PathOf("none.zxc") + "!\n");
    {
        TFileFolder archive = TFileFolder::CreateEmpty(PathOf("game.zxc"));
        AddEntry(archive, "a._PNG", "mask");
        archive.Save();
    }
    const ToolResult companion = RunTool({"install", PathOf("game.zxc"), PathOf("out.zxc")});
    EXPECT_EQ(companion.exitCode, 1);
    EXPECT_EQ(companion.err, "File a._JPG does not exist!\n");
    EXPECT_EQ(RunTool({"pack", PathOf("game.zxc")}).exitCode, 2);
}

}  // namespace
