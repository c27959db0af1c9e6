#include "resources/FileFolder.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/ArchiveBytes.h"

namespace fs = std::filesystem;

class FileFolderTest : public ScratchFolderTest {
  protected:
    TFileFolder OpenBytes(const std::vector<uint8_t>& bytes) {
        WriteBytes(folder / "game.zxc", bytes);
        return TFileFolder::Open(PathOf("game.zxc"));
    }
};

static std::string LoadError(TFileFolder& archive, const std::string& name) {
    try {
        archive.LoadFile(name);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

TEST_F(FileFolderTest, ArchivesThatDoNotOpenHaveNoEntriesAndSayWhy) {
    const std::vector<uint8_t> oneEntry = ArchiveBytes().Dir("a", 0, 1).bytes;
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* error;
    } cases[] = {
        {"empty file", {}, "Cannot open FileFolder (wrong file size)"},
        {"7 bytes", {0x39, 0x30, 0, 0, 0, 0, 0xFF}, "Cannot open FileFolder (wrong file size)"},
        {"wrong label", ArchiveBytes().U16(12346).U16(0).U16(0).U16(0xFFFF).bytes,
         "Cannot open FileFolder (broked label)"},
        {"version 1", ArchiveBytes().U16(12345).U16(1).U16(0).U16(0xFFFF).bytes,
         "Cannot open FileFolder (wrong version)"},
        {"count check not the complement",
         ArchiveBytes().U16(12345).U16(0).U16(1).U16(0xFFFF).Dir("a", 0, 1).Text("x").bytes,
         "Cannot open FileFolder (wrong sizing)"},
        {"directory of 2 with 1 entry", ArchiveBytes().Header(2).Dir("a", 0, 1).bytes,
         "Cannot open Dir (wrong size)"},
        {"directory cut inside an entry",
         ArchiveBytes().Header(1).Text(std::string(oneEntry.begin(), oneEntry.end() - 1)).bytes,
         "Cannot open Dir (wrong size)"},
    };
    for (const Case& c : cases) {
        TFileFolder archive = OpenBytes(c.bytes);
        EXPECT_EQ(archive.LastError(), c.error) << c.what;
        EXPECT_EQ(archive.Count(), 0) << c.what;
        EXPECT_EQ(archive.IndexOfFile("a"), -1) << c.what;
        EXPECT_EQ(archive.FindFile("a"), nullptr) << c.what;
        EXPECT_EQ(LoadError(archive, "a"), "Cannot load file (wrong file name)") << c.what;
    }

    TFileFolder missing = TFileFolder::Open(PathOf("missing.zxc"));
    EXPECT_EQ(missing.LastError().rfind("Cannot open FileFolder (", 0), 0u) << missing.LastError();
    EXPECT_EQ(missing.Count(), 0);
}

TEST_F(FileFolderTest, ReadsDirectoryFieldsAndClampsLongNames) {
    const std::string name32 = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    TFileFolder archive = OpenBytes(ArchiveBytes()
                                        .Header(3)
                                        .Dir("Fonts.xml", 0, 3, 2)
                                        .Dir(name32, 3, 2, 0xBEEF, 200)
                                        .Dir("", 5, 0, 1)
                                        .Text("abcde")
                                        .bytes);
    ASSERT_EQ(archive.LastError(), "");
    ASSERT_EQ(archive.Count(), 3);
    EXPECT_EQ(archive.DataStart(), 8 + 3 * 48);
    EXPECT_EQ(archive.Entry(0).Name, "Fonts.xml");
    EXPECT_EQ(archive.Entry(0).EntryTag, 2);
    // A length byte of 200 must not read the padding and the offset as characters.
    EXPECT_EQ(archive.Entry(1).Name, name32);
    EXPECT_EQ(archive.Entry(1).Offset, 3);
    EXPECT_EQ(archive.Entry(1).Size, 2);
    EXPECT_EQ(archive.Entry(1).EntryTag, 0xBEEF);
    EXPECT_EQ(archive.Entry(2).Name, "");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(archive.State(i), TFileFolder::esNotLoaded);
        EXPECT_EQ(archive.Stream(i).Size(), 0u);
    }
    TMemoryStream* stream = archive.FindFile(name32);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->ToString(), "de");
}

TEST_F(FileFolderTest, LoadsEntriesOnlyWhenTheirDataLiesInsideTheFile) {
    // The data area holds 6 bytes.
    const struct Case {
        const char* name;
        int32_t offset, size;
        const char* loaded;  // nullptr: "Cannot load file (wrong file size)"
    } cases[] = {
        {"whole", 0, 6, "abcdef"},
        {"middle", 2, 3, "cde"},
        {"to the end", 4, 2, "ef"},
        {"empty at the end", 6, 0, ""},
        {"one past the end", 4, 3, nullptr},
        {"starts past the end", 7, 0, nullptr},
        {"negative size", 0, -1, nullptr},
        {"negative offset", -8, 4, nullptr},
        {"2 GB", 0, 0x7FFFFFFF, nullptr},
        {"offset and size overflow 32 bits", 0x7FFFFFFF, 0x7FFFFFFF, nullptr},
        {"most negative size", 0, INT32_MIN, nullptr},
    };
    ArchiveBytes bytes;
    bytes.Header(uint16_t(std::size(cases)));
    for (const Case& c : cases) bytes.Dir(c.name, c.offset, c.size);
    TFileFolder archive = OpenBytes(bytes.Text("abcdef").bytes);
    ASSERT_EQ(archive.Count(), int(std::size(cases)));

    for (int i = 0; i < archive.Count(); ++i) {
        const Case& c = cases[i];
        if (c.loaded) {
            EXPECT_EQ(LoadError(archive, c.name), "") << c.name;
            EXPECT_EQ(archive.Stream(i).ToString(), c.loaded) << c.name;
            EXPECT_EQ(archive.Stream(i).Position(), 0u) << c.name;
            EXPECT_EQ(archive.State(i), TFileFolder::esLoaded) << c.name;
        } else {
            EXPECT_EQ(LoadError(archive, c.name), "Cannot load file (wrong file size)") << c.name;
            EXPECT_EQ(archive.Stream(i).Size(), 0u) << c.name;
            EXPECT_EQ(archive.State(i), TFileFolder::esNotLoaded) << c.name;
            EXPECT_THROW(archive.FindFile(c.name), std::runtime_error) << c.name;
        }
    }
    EXPECT_THROW(archive.LoadAll(), std::runtime_error);
}

TEST_F(FileFolderTest, LooksUpNamesIgnoringCaseAndFindsTheFirstOfDuplicates) {
    TFileFolder archive = OpenBytes(ArchiveBytes()
                                        .Header(3)
                                        .Dir("fonts.xml", 0, 1)
                                        .Dir("Twice", 1, 1)
                                        .Dir("TWICE", 2, 1)
                                        .Text("abc")
                                        .bytes);
    EXPECT_EQ(archive.IndexOfFile("FONTS.XML"), 0);
    EXPECT_EQ(archive.IndexOfFile("Fonts.Xml"), 0);
    EXPECT_EQ(archive.IndexOfFile("fonts.xm"), -1);
    EXPECT_EQ(archive.IndexOfFile("fonts.xml "), -1);
    EXPECT_EQ(archive.IndexOfFile("twice"), 1);
    EXPECT_EQ(archive.FindFile("twice")->ToString(), "b");
    EXPECT_EQ(archive.FindFile("nothing"), nullptr);
}

TEST_F(FileFolderTest, FindFileRereadsEntriesFromTheFileButKeepsAddedOnes) {
    TFileFolder archive = OpenBytes(ArchiveBytes().Header(1).Dir("a", 0, 2).Text("xy").bytes);
    TMemoryStream* stream = archive.FindFile("A");
    ASSERT_NE(stream, nullptr);
    stream->SetPosition(2);
    stream->Write("zz", 2);
    EXPECT_EQ(archive.FindFile("a")->ToString(), "xy");
    EXPECT_EQ(archive.FindFile("a")->Position(), 0u);

    archive.AddFile("b", 1, TMemoryStream(std::string("new")));
    TMemoryStream* added = archive.FindFile("B");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->ToString(), "new");
    EXPECT_EQ(archive.State(1), TFileFolder::esAdded);
}

TEST_F(FileFolderTest, AddFileCutsNamesTo32AndRefusesDuplicates) {
    TFileFolder archive = TFileFolder::CreateEmpty(PathOf("new.zxc"));
    const std::string name40 = "0123456789012345678901234567890123456789";
    TMemoryStream source(std::string("hello"));
    source.SetPosition(3);  // the whole stream is copied whatever its position
    archive.AddFile(name40, 2, source);
    EXPECT_EQ(archive.Entry(0).Name, name40.substr(0, 32));
    EXPECT_EQ(archive.Entry(0).Size, 5);
    EXPECT_EQ(archive.Stream(0).ToString(), "hello");
    EXPECT_EQ(archive.IndexOfFile(name40), -1);
    EXPECT_EQ(archive.IndexOfFile(name40.substr(0, 32)), 0);

    archive.AddFile("Pic.png", 1, TMemoryStream());
    const struct {
        std::string name;
    } duplicates[] = {{"pic.PNG"}, {"Pic.png"}, {name40.substr(0, 32) + "other"}};
    for (const auto& d : duplicates) {
        try {
            archive.AddFile(d.name, 1, source);
            ADD_FAILURE() << d.name << " was added";
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "Cannot add file (dublicate)") << d.name;
        }
    }
    EXPECT_EQ(archive.Count(), 2);
}

TEST_F(FileFolderTest, EmptyArchiveIsEightBytes) {
    TFileFolder archive = TFileFolder::CreateEmpty(PathOf("empty.zxc"));
    EXPECT_EQ(archive.DataStart(), 8);
    archive.Save();
    EXPECT_EQ(ReadBytes(folder / "empty.zxc"),
              (std::vector<uint8_t>{0x39, 0x30, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF}));
    TFileFolder reopened = TFileFolder::Open(PathOf("empty.zxc"));
    EXPECT_EQ(reopened.LastError(), "");
    EXPECT_EQ(reopened.Count(), 0);
}

TEST_F(FileFolderTest, SaveWritesTheFormatByteForByte) {
    TFileFolder archive = TFileFolder::CreateEmpty(PathOf("out.zxc"));
    archive.AddFile("Ab", 0x0102, TMemoryStream(std::string("xyz")));
    archive.AddFile("c", 2, TMemoryStream(std::string("!")));
    archive.Save();
    const std::vector<uint8_t> expected =
        ArchiveBytes().Header(2).Dir("Ab", 0, 3, 0x0102).Dir("c", 3, 1, 2).Text("xyz!").bytes;
    EXPECT_EQ(ReadBytes(folder / "out.zxc"), expected);
    EXPECT_FALSE(fs::exists(folder / "out.zxc.part"));
}

TEST_F(FileFolderTest, SavedArchiveReopensWithTheSameEntries) {
    const struct {
        std::string name, data;
        uint16_t tag;
    } entries[] = {{"first.xml", "<a/>", 1}, {"empty", "", 2}, {"Third.png", "\x89PNG\0\1", 7}};
    TFileFolder archive = TFileFolder::CreateEmpty(PathOf("round.zxc"));
    for (const auto& e : entries) archive.AddFile(e.name, e.tag, TMemoryStream(e.data));
    archive.Save();

    TFileFolder reopened = TFileFolder::Open(PathOf("round.zxc"));
    ASSERT_EQ(reopened.Count(), 3);
    int32_t offset = 0;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(reopened.Entry(i).Name, entries[i].name);
        EXPECT_EQ(reopened.Entry(i).Offset, offset);
        EXPECT_EQ(reopened.Entry(i).Size, int32_t(entries[i].data.size()));
        EXPECT_EQ(reopened.Entry(i).EntryTag, entries[i].tag);
        EXPECT_EQ(reopened.FindFile(entries[i].name)->ToString(), entries[i].data);
        offset += int32_t(entries[i].data.size());
    }

    // Saving over its own file loads the entries not yet read before the file is replaced.
    TFileFolder again = TFileFolder::Open(PathOf("round.zxc"));
    again.AddFile("last", 1, TMemoryStream(std::string("z")));
    again.Save();
    TFileFolder grown = TFileFolder::Open(PathOf("round.zxc"));
    ASSERT_EQ(grown.Count(), 4);
    EXPECT_EQ(grown.FindFile("third.PNG")->ToString(), entries[2].data);
    EXPECT_EQ(grown.FindFile("last")->ToString(), "z");
}

TEST_F(FileFolderTest, FailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    // An entry running past the end cannot be loaded, so nothing is written.
    const std::vector<uint8_t> broken = ArchiveBytes().Header(1).Dir("a", 0, 9).Text("ab").bytes;
    TFileFolder archive = OpenBytes(broken);
    EXPECT_THROW(archive.Save(), std::runtime_error);
    EXPECT_EQ(ReadBytes(folder / "game.zxc"), broken);
    EXPECT_FALSE(fs::exists(folder / "game.zxc.part"));

    // The rename over a non-empty folder fails after the temporary file was written.
    fs::create_directories(folder / "taken.zxc" / "inside");
    TFileFolder blocked = TFileFolder::CreateEmpty(PathOf("taken.zxc"));
    blocked.AddFile("a", 1, TMemoryStream(std::string("data")));
    EXPECT_THROW(blocked.Save(), std::runtime_error);
    EXPECT_FALSE(fs::exists(folder / "taken.zxc.part"));
    EXPECT_TRUE(fs::is_directory(folder / "taken.zxc" / "inside"));

    TFileFolder nowhere = TFileFolder::CreateEmpty(PathOf("no/such/folder.zxc"));
    EXPECT_THROW(nowhere.Save(), std::runtime_error);
}
