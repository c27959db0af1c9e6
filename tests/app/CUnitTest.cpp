#include "app/CUnit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "support/ArchiveBytes.h"
#include "support/RunTool.h"

namespace {

// The block transformation written independently: each 8-byte block, XORed with the key block,
// is read as a 64-bit matrix (bit k of byte m at position 8m + k) and transposed as such.
std::vector<uint8_t> ReferenceScramble(const std::vector<uint8_t>& source, const std::string& key) {
    uint8_t k[8];
    for (int i = 0; i < 8; ++i) k[i] = uint8_t(key[size_t(i) % key.size()]);
    std::vector<uint8_t> result;
    size_t at = 0;
    for (; at + 8 <= source.size(); at += 8) {
        uint64_t matrix = 0;
        for (int m = 0; m < 8; ++m) matrix |= uint64_t(source[at + m] ^ k[m]) << (8 * m);
        uint64_t transposed = 0;
        for (int bit = 0; bit < 64; ++bit)
            if (matrix >> bit & 1) transposed |= uint64_t(1) << ((bit % 8) * 8 + bit / 8);
        for (int i = 0; i < 8; ++i) result.push_back(uint8_t(transposed >> (8 * i)) ^ k[i]);
    }
    for (size_t i = 0; at + i < source.size(); ++i) result.push_back(source[at + i] ^ k[i]);
    return result;
}

std::vector<uint8_t> SomeBytes(size_t size, uint32_t seed) {
    std::vector<uint8_t> bytes(size);
    for (uint8_t& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = uint8_t(seed >> 24);
    }
    return bytes;
}

std::vector<uint8_t> Scramble(const std::vector<uint8_t>& bytes, const std::string& key) {
    TMemoryStream source(bytes), destination;
    ScrambleStream(source, destination, key);
    return destination.Bytes();
}

const size_t Sizes[] = {0, 7, 8, 9, 16, 1000};
const char* const Keys[] = {"ab", "kwpqa71%", "a key longer than eight"};

}  // namespace

TEST(CUnitTest, ScrambleMatchesTheBlockTransformationAndUndoesItself) {
    for (size_t size : Sizes) {
        for (const std::string key : Keys) {
            const std::vector<uint8_t> plain = SomeBytes(size, uint32_t(size));
            TMemoryStream source(plain), destination;
            source.SetPosition(size / 2);
            destination.Write("old", 3);
            ScrambleStream(source, destination, key);
            EXPECT_EQ(destination.Bytes(), ReferenceScramble(plain, key)) << size << " " << key;
            EXPECT_EQ(destination.Position(), 0u);
            EXPECT_EQ(source.Size(), 0u);
            EXPECT_EQ(Scramble(destination.Bytes(), key), plain) << size << " " << key;
        }
    }
}

TEST(CUnitTest, ScrambleTransposesBitsAndOnlyXorsTheTail) {
    const std::string key = "kwpqa71%";
    // Block XOR key = {0x02, 0, ...}: bit 1 of byte 0 becomes bit 0 of byte 1.
    std::vector<uint8_t> block(key.begin(), key.end());
    block[0] ^= 0x02;
    std::vector<uint8_t> expected(key.begin(), key.end());
    expected[1] ^= 0x01;
    EXPECT_EQ(Scramble(block, key), expected);

    const std::vector<uint8_t> seven = {0, 1, 2, 3, 4, 5, 0xFF};
    std::vector<uint8_t> xored;
    for (size_t i = 0; i < seven.size(); ++i) xored.push_back(seven[i] ^ uint8_t(key[i]));
    EXPECT_EQ(Scramble(seven, key), xored);
}

TEST(CUnitTest, KeysAreRepeatedOrCutToEightBytes) {
    const std::vector<uint8_t> data = SomeBytes(21, 5);
    EXPECT_EQ(Scramble(data, "ab"), Scramble(data, "abababab"));
    EXPECT_EQ(Scramble(data, "kwpqa71%tail"), Scramble(data, "kwpqa71%"));
    // An empty key is one fixed character repeated: a zero block then shows eight equal bytes.
    const std::vector<uint8_t> zeros = Scramble(std::vector<uint8_t>(7, 0), "");
    EXPECT_EQ(zeros, std::vector<uint8_t>(7, zeros[0]));
    EXPECT_EQ(Scramble(data, ""), Scramble(data, std::string(1, char(zeros[0]))));
}

TEST(CUnitTest, PlainTextAcceptsPrintableTabsAndCrLfOnly) {
    const struct {
        std::string text;
        bool plain;
    } cases[] = {
        {"", true},        {"<Players Count=\"1\"/>", true}, {"a\tb\r\nc", true}, {"a\rb", true},
        {"\r\r\n", true},  {"\x80\xff\xc3\xa9", true},       {"\n", false},       {"a\nb", false},
        {"a\r \n", false}, {std::string("a\0b", 3), false},  {"bell\x07", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsPlainText(TMemoryStream(c.text)), c.plain) << c.text;
}

TEST(CUnitTest, ShiftRotatesPrintableBytesBy51) {
    const struct {
        uint8_t plain, encoded;
    } cases[] = {{0, 0},          {9, 9},     {31, 31},  {32, 83},
                 {'A', 'A' + 51}, {204, 255}, {205, 32}, {255, 82}};
    for (const auto& c : cases) {
        EXPECT_EQ(uint8_t(ShiftEncode(std::string(1, char(c.plain)))[0]), c.encoded)
            << int(c.plain);
        EXPECT_EQ(uint8_t(ShiftDecode(std::string(1, char(c.encoded)))[0]), c.plain)
            << int(c.plain);
    }
    std::string every;
    for (int c = 0; c < 256; ++c) every.push_back(char(c));
    EXPECT_EQ(ShiftDecode(ShiftEncode(every)), every);
    EXPECT_EQ(ShiftEncode(ShiftDecode(every)), every);
    EXPECT_EQ(ShiftEncode(every).size(), 256u);
}

class ScrambleToolTest : public ScratchFolderTest {};

TEST_F(ScrambleToolTest, WritesTheTransformationAndUndoesItWithTheSameKey) {
    for (size_t size : Sizes) {
        for (const std::string key : Keys) {
            const std::vector<uint8_t> plain = SomeBytes(size, uint32_t(size) + 7);
            WriteBytes(folder / "in.dat", plain);
            ToolResult result = RunTool({"scramble", key, PathOf("in.dat"), PathOf("out.dat")});
            ASSERT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(ReadBytes(folder / "out.dat"), ReferenceScramble(plain, key))
                << size << " " << key;
            // In place: the output replaces the input only once it is complete.
            result = RunTool({"scramble", key, PathOf("out.dat"), PathOf("out.dat")});
            ASSERT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(ReadBytes(folder / "out.dat"), plain) << size << " " << key;
        }
    }
    const ToolResult missing = RunTool({"scramble", "k", PathOf("missing.dat"), PathOf("out.dat")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("missing.dat"), std::string::npos);
    EXPECT_EQ(RunTool({"scramble", "k", PathOf("in.dat")}).exitCode, 2);
}
