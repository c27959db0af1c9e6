#include "core/MemoryStream.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

TEST(MemoryStreamTest, ReadsAndWritesAtThePosition) {
    TMemoryStream stream(std::string("abcdef"));
    char buffer[8] = {};
    stream.SetPosition(4);
    EXPECT_EQ(stream.Read(buffer, 8), 2u);
    EXPECT_EQ(std::string(buffer, 2), "ef");
    EXPECT_EQ(stream.Position(), 6u);
    EXPECT_EQ(stream.Read(buffer, 8), 0u);

    stream.SetPosition(9);  // past the end: reads give nothing, a write fills the gap with zeros
    EXPECT_EQ(stream.Read(buffer, 1), 0u);
    stream.Write("xy", 2);
    EXPECT_EQ(stream.ToString(), std::string("abcdef\0\0\0xy", 11));
    EXPECT_EQ(stream.Position(), 11u);

    stream.SetPosition(1);
    stream.Write("Z", 1);
    EXPECT_EQ(stream.ToString().substr(0, 3), "aZc");
    stream.SetSize(2);
    EXPECT_EQ(stream.Position(), 2u);
    EXPECT_EQ(stream.ToString(), "aZ");
    stream.Clear();
    EXPECT_EQ(stream.Size(), 0u);
    EXPECT_EQ(stream.Position(), 0u);
}

TEST(MemoryStreamTest, SavesAtomicallyAndLoadsWholeFiles) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("tervolin-memorystream-" +
         std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    TMemoryStream(std::string("old content")).SaveToFile(path.string());
    TMemoryStream(std::string("new\0", 4)).SaveToFile(path.string());
    EXPECT_FALSE(std::filesystem::exists(path.string() + ".part"));
    TMemoryStream loaded(std::string("junk"));
    loaded.SetPosition(3);
    loaded.LoadFromFile(path.string());
    EXPECT_EQ(loaded.ToString(), std::string("new\0", 4));
    EXPECT_EQ(loaded.Position(), 0u);
    std::filesystem::remove(path);
    EXPECT_THROW(loaded.LoadFromFile(path.string()), std::runtime_error);
    EXPECT_EQ(loaded.Size(), 4u);  // a failed load keeps the content
}

TEST(MemoryStreamTest, SavesABareFileNameIntoTheCurrentFolder) {
    // The folder synced after the rename is the current one when the name has no folder part.
    const std::filesystem::path before = std::filesystem::current_path();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("tervolin-memorystream-cwd-" +
         std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directory(folder);
    std::filesystem::current_path(folder);
    EXPECT_NO_THROW(TMemoryStream(std::string("saved")).SaveToFile("bare.dat"));
    std::filesystem::current_path(before);
    TMemoryStream loaded;
    loaded.LoadFromFile((folder / "bare.dat").string());
    EXPECT_EQ(loaded.ToString(), "saved");
    std::filesystem::remove_all(folder);
}
