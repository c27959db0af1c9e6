// The contract of "tervolin-tool archive", run end to end on the built tool.
#include <gtest/gtest.h>

#include "support/ArchiveBytes.h"
#include "resources/FileFolder.h"
#include "support/RunTool.h"

namespace fs = std::filesystem;

class ArchiveToolTest : public ScratchFolderTest {};

TEST_F(ArchiveToolTest, ListPrintsNameSizeAndTagInDirectoryOrder) {
    WriteBytes(folder / "game.zxc", ArchiveBytes()
                                        .Header(3)
                                        .Dir("Fonts.xml", 0, 3, 1)
                                        .Dir("b.png", 3, 0, 2)
                                        .Dir("ABCDEFGHIJKLMNOPQRSTUVWXYZ012345678", 3, 2, 65535, 36)
                                        .Text("abcde")
                                        .bytes);
    const ToolResult result = RunTool({"archive", "list", PathOf("game.zxc")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out,
              "Fonts.xml\t3\t1\nb.png\t0\t2\nABCDEFGHIJKLMNOPQRSTUVWXYZ012345\t2\t65535\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(ArchiveToolTest, ArchivesThatDoNotOpenAreRefusedWithTheirReason) {
    const struct {
        std::vector<uint8_t> bytes;
        std::string error;
    } cases[] = {
        {{0x39, 0x30, 0}, "Cannot open FileFolder (wrong file size)"},
        {ArchiveBytes().U16(1).U16(0).U16(0).U16(0xFFFF).bytes,
         "Cannot open FileFolder (broked label)"},
        {ArchiveBytes().U16(12345).U16(2).U16(0).U16(0xFFFF).bytes,
         "Cannot open FileFolder (wrong version)"},
        {ArchiveBytes().U16(12345).U16(0).U16(3).U16(3).bytes,
         "Cannot open FileFolder (wrong sizing)"},
        {ArchiveBytes().Header(1).Zeros(47).bytes, "Cannot open Dir (wrong size)"},
    };
    for (const auto& c : cases) {
        WriteBytes(folder / "bad.zxc", c.bytes);
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"archive", "list", PathOf("bad.zxc")},
              {"archive", "extract", PathOf("bad.zxc"), "a"}}) {
            const ToolResult result = RunTool(args);
            EXPECT_EQ(result.exitCode, 1) << c.error;
            EXPECT_EQ(result.err, c.error + "\n");
            EXPECT_EQ(result.out, "");
        }
    }
    const ToolResult missing = RunTool({"archive", "list", PathOf("missing.zxc")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err.rfind("Cannot open FileFolder (", 0), 0u) << missing.err;
}

TEST_F(ArchiveToolTest, ExtractWritesTheEntryMatchedIgnoringCase) {
    const std::string data("bin\0\xff\r\n", 7);
    WriteBytes(folder / "game.zxc", ArchiveBytes()
                                        .Header(3)
                                        .Dir("Sounds.xml", 0, 7)
                                        .Dir("cut.png", 7, 5)
                                        .Dir("neg.png", 0, -3)
                                        .Text(data)
                                        .Text("ab")
                                        .bytes);
    ToolResult toStdout = RunTool({"archive", "extract", PathOf("game.zxc"), "SOUNDS.XML"});
    EXPECT_EQ(toStdout.exitCode, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, data);

    ToolResult toFile =
        RunTool({"archive", "extract", PathOf("game.zxc"), "sounds.xml", PathOf("out.bin")});
    EXPECT_EQ(toFile.exitCode, 0) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(ReadText(folder / "out.bin"), data);

    const struct {
        const char* name;
        const char* error;
    } failures[] = {
        {"missing.xml", "Cannot load file (wrong file name)\n"},
        {"cut.png", "Cannot load file (wrong file size)\n"},
        {"neg.png", "Cannot load file (wrong file size)\n"},
    };
    for (const auto& f : failures) {
        const ToolResult result =
            RunTool({"archive", "extract", PathOf("game.zxc"), f.name, PathOf("failed.bin")});
        EXPECT_EQ(result.exitCode, 1) << f.name;
        EXPECT_EQ(result.err, f.error) << f.name;
        EXPECT_FALSE(fs::exists(folder / "failed.bin")) << f.name;
    }
}

TEST_F(ArchiveToolTest, PackStoresFilesInTheOrderGivenUnderTheirBaseNames) {
    fs::create_directories(folder / "in" / "sub");
    WriteBytes(folder / "in" / "z.xml", {'<', 'z', '/', '>'});
    WriteBytes(folder / "in" / "sub" / "A.png", {0x89, 0, 1});
    WriteBytes(folder / "in" / "empty", {});
    const ToolResult result = RunTool({"archive", "pack", PathOf("new.zxc"), PathOf("in/z.xml"),
                                       PathOf("in/sub/A.png"), PathOf("in/empty")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(folder / "new.zxc"), ArchiveBytes()
                                                 .Header(3)
                                                 .Dir("z.xml", 0, 4, 1)
                                                 .Dir("A.png", 4, 3, 1)
                                                 .Dir("empty", 7, 0, 1)
                                                 .Text("<z/>")
                                                 .Text(std::string("\x89\0\1", 3))
                                                 .bytes);

    const ToolResult list = RunTool({"archive", "list", PathOf("new.zxc")});
    EXPECT_EQ(list.out, "z.xml\t4\t1\nA.png\t3\t1\nempty\t0\t1\n");
    const ToolResult extracted = RunTool({"archive", "extract", PathOf("new.zxc"), "a.PNG"});
    EXPECT_EQ(extracted.out, std::string("\x89\0\1", 3));
}

TEST_F(ArchiveToolTest, EmptyPackIsTheEightByteArchive) {
    const ToolResult result = RunTool({"archive", "pack", PathOf("empty.zxc")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(folder / "empty.zxc"),
              (std::vector<uint8_t>{0x39, 0x30, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF}));
}

TEST_F(ArchiveToolTest, PackRefusesDuplicatesAndUnreadableFilesWithoutWriting) {
    fs::create_directories(folder / "one");
    fs::create_directories(folder / "two");
    WriteBytes(folder / "one" / "pic.png", {1});
    WriteBytes(folder / "two" / "PIC.PNG", {2});
    const ToolResult duplicate = RunTool(
        {"archive", "pack", PathOf("out.zxc"), PathOf("one/pic.png"), PathOf("two/PIC.PNG")});
    EXPECT_EQ(duplicate.exitCode, 1);
    EXPECT_EQ(duplicate.err, "Cannot add file (dublicate)\n");
    EXPECT_FALSE(fs::exists(folder / "out.zxc"));

    const ToolResult unreadable =
        RunTool({"archive", "pack", PathOf("out.zxc"), PathOf("one/missing.png")});
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_NE(unreadable.err.find("missing.png"), std::string::npos) << unreadable.err;
    EXPECT_FALSE(fs::exists(folder / "out.zxc"));
}

TEST_F(ArchiveToolTest, WrongArgumentsPrintUsage) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"archive"},
                                                 {"archive", "list"},
                                                 {"archive", "unpack", "x"},
                                                 {"archive", "extract", "a.zxc"}}) {
        const ToolResult result = RunTool(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.err.find("usage"), std::string::npos);
    }
}
