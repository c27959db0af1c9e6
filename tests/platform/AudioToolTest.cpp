// tervolin-tool audio: a sample or a module of an archive rendered into a 44.1 kHz stereo WAV.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/AudioTestData.h"
#include "resources/FileFolder.h"

namespace fs = std::filesystem;

namespace {

uint32_t U32(const std::vector<uint8_t>& bytes, size_t at) {
    return uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
           uint32_t(bytes[at + 3]) << 24;
}

}  // namespace

TEST(AudioToolTest, RendersSamplesAndModulesToWav) {
    fs::path folder =
        fs::temp_directory_path() / ("tervolin-audio-tool-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::string archive = (folder / "game.zxc").string();
    TFileFolder writer = TFileFolder::CreateEmpty(archive);
    writer.AddFile("Beep.wav", 1, TMemoryStream(MakeConstantWav(22050)));
    writer.AddFile("Song.mo3", 1, TMemoryStream(MakeTestModule()));
    writer.AddFile("Text.ogg", 1, TMemoryStream(std::string("not a sound")));
    writer.Save();

    auto run = [&](const std::string& args) {
        std::string command = std::string(TERVOLIN_TOOL) + " audio " + args + " 2>/dev/null";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    auto read = [&](const char* name) {
        std::ifstream in(folder / name, std::ios::binary);
        return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
    };
    std::string out = (folder / "out.wav").string();

    ASSERT_EQ(run(archive + " beep.WAV " + out), 0);  // entry names ignore case
    auto wav = read("out.wav");
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(U32(wav, 24), 44100u);
    EXPECT_EQ(wav[22], 2);
    EXPECT_EQ(U32(wav, 40), 22050u * 4);
    EXPECT_NE(wav[44 + 1000], 0);

    ASSERT_EQ(run(archive + " Song.mo3 " + out + " 2"), 0);
    EXPECT_EQ(U32(read("out.wav"), 40), 2u * 44100 * 4);

    EXPECT_EQ(run(archive + " Missing.ogg " + out), 1);
    EXPECT_EQ(run(archive + " Text.ogg " + out), 1);
    EXPECT_EQ(run(archive + " Song.mo3 " + out + " -3"), 1);
    EXPECT_EQ(run(archive + " Song.mo3"), 2);
    fs::remove_all(folder);
}
