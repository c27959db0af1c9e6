// tervolin-tool audio: renders a sound of an archive through the game's own mixer into a
// 44.1 kHz stereo 16-bit WAV file, so authors can listen and checks can measure. Entries ending
// in "mo3" are modules (rendered for the given seconds, 30 by default), others samples (rendered
// to their end).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "ToolCommand.h"
#include "platform/Mixer.h"
#include "platform/SampleDecoder.h"
#include "platform/WavFile.h"
#include "resources/FileFolder.h"

namespace {

void WriteWav(const std::string& path, const std::vector<float>& stereo) {
    std::vector<int16_t> values;
    values.reserve(stereo.size());
    for (float value : stereo)
        values.push_back(int16_t(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f)));
    const std::vector<uint8_t> out = EncodeWav(values, MixChannels, MixRate);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
    if (!file) throw std::runtime_error("Cannot write " + path);
}

int RunAudio(const ToolArgs& args) {
    if (args.size() < 3 || args.size() > 4) {
        std::fprintf(stderr, "usage: tervolin-tool audio ARCHIVE NAME OUT.wav [SECONDS]\n");
        return 2;
    }
    double seconds = args.size() == 4 ? std::stod(args[3]) : 30.0;
    if (!(seconds > 0 && seconds <= 3600)) throw std::runtime_error("SECONDS must be 0..3600");
    TFileFolder archive = TFileFolder::Open(args[0]);
    if (!archive.LastError().empty()) throw std::runtime_error(archive.LastError());
    TMemoryStream* entry = archive.FindFile(args[1]);
    if (!entry) throw std::runtime_error("No entry " + args[1]);
    const std::string& name = args[1];
    bool module = name.size() >= 3 && name.compare(name.size() - 3, 3, "mo3") == 0;

    Mixer mixer;
    std::vector<float> out;
    if (module) {
        uint32_t music = mixer.LoadMusic(entry->Memory(), entry->Size());
        if (!music || !mixer.PlayMusic(music, 0))
            throw std::runtime_error(name + " is not a module");
        out.resize(size_t(seconds * MixRate) * MixChannels);
        mixer.Render(out.data(), out.size() / MixChannels);
    } else {
        auto frames = DecodeSample(entry->Memory(), entry->Size());
        if (!frames) throw std::runtime_error(name + " is not a sample");
        uint32_t sample = mixer.AddSample(*frames, 1);
        mixer.PlaySample(sample, 100);
        out.resize(frames->size());
        mixer.Render(out.data(), out.size() / MixChannels);
    }
    WriteWav(args[2], out);
    return 0;
}

ToolCommand audioCommand{"audio", "audio ARCHIVE NAME OUT.wav [SECONDS]", &RunAudio};

}  // namespace
