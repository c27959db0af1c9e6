// Builds archive files byte by byte for the archive's tests, independently of TFileFolder's writer,
// and gives each test its own scratch folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

struct ArchiveBytes {
    std::vector<uint8_t> bytes;

    ArchiveBytes& U16(uint16_t v) {
        bytes.push_back(uint8_t(v));
        bytes.push_back(uint8_t(v >> 8));
        return *this;
    }
    ArchiveBytes& I32(int32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(uint32_t(v) >> (8 * i)));
        return *this;
    }
    ArchiveBytes& Text(const std::string& text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    ArchiveBytes& Zeros(size_t n) {
        bytes.insert(bytes.end(), n, 0);
        return *this;
    }
    // label 12345, version 0, count and its complement
    ArchiveBytes& Header(uint16_t count) {
        return U16(12345).U16(0).U16(count).U16(uint16_t(~count));
    }
    // One 48-byte directory entry; lengthByte defaults to the name's length. Names of 33 to 35
    // characters run into the padding.
    ArchiveBytes& Dir(const std::string& name, int32_t offset, int32_t size, uint16_t tag = 1,
                      int lengthByte = -1) {
        EXPECT_LE(name.size(), 35u);
        bytes.push_back(uint8_t(lengthByte < 0 ? name.size() : size_t(lengthByte)));
        Text(name).Zeros(35 - name.size());
        return I32(offset).I32(size).U16(tag).Zeros(2);
    }
};

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// A fresh folder per test, removed afterwards.
class ScratchFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() /
                 ("tervolin-" + std::string(info->test_suite_name()) + "-" + info->name() + "-" +
                  std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string PathOf(const std::string& name) const { return (folder / name).string(); }
    std::filesystem::path folder;
};
