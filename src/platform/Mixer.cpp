// Mixing: modules render into a scratch buffer and are added with their per-frame volume; sample
// playbacks are added from their decoded frames. Volumes are linear gains (level / 100); a slide
// moves the level by equal steps per frame and lands exactly on its target.
#include "platform/Mixer.h"

#include <algorithm>

#include "platform/SampleDecoder.h"

int ClampLevel(int level) {
    return std::clamp(level, 0, 100);
}

namespace {
double Gain(int level) {
    return ClampLevel(level) / 100.0;
}
}  // namespace

double Mixer::Volume::Next() {
    if (SlideFrames > 0) {
        Level += (Target - Level) / double(SlideFrames);
        if (--SlideFrames == 0) Level = Target;
    }
    return Level;
}

uint32_t Mixer::NewHandle() {
    do {
        ++LastHandle;
    } while (LastHandle == 0 || Samples.count(LastHandle) || Musics.count(LastHandle) ||
             std::any_of(Playbacks.begin(), Playbacks.end(),
                         [&](const Playback& p) { return p.Channel == LastHandle; }));
    return LastHandle;
}

uint32_t Mixer::AddSample(std::vector<float> frames, int maxPlaybacks) {
    if (frames.size() < MixChannels) return 0;
    uint32_t handle = NewHandle();
    Samples[handle] = Sample{std::move(frames), std::clamp(maxPlaybacks, 1, 65535)};
    return handle;
}

uint32_t Mixer::AddMusic(std::unique_ptr<ModuleSource> module) {
    if (!module) return 0;
    uint32_t handle = NewHandle();
    Musics[handle].Module = std::move(module);
    return handle;
}

uint32_t Mixer::LoadSample(const uint8_t* data, size_t size, int maxPlaybacks) {
    auto frames = DecodeSample(data, size);
    return frames ? AddSample(std::move(*frames), maxPlaybacks) : 0;
}

uint32_t Mixer::LoadMusic(const uint8_t* data, size_t size) {
    return AddMusic(ModuleSource::Load(data, size));
}

void Mixer::FreeSample(uint32_t sample) {
    StopSample(sample);
    Samples.erase(sample);
}

void Mixer::FreeMusic(uint32_t music) {
    Musics.erase(music);
}

uint32_t Mixer::PlaySample(uint32_t sample, int volume) {
    auto found = Samples.find(sample);
    if (found == Samples.end()) return 0;
    Playback playback{NewHandle(), sample, 0, {}};
    playback.Gain.Level = playback.Gain.Target = volume == -1 ? 1.0 : Gain(volume);

    // Playbacks are kept in starting order, so the first one of this sample has played longest.
    if (PlaybackCount(sample) >= found->second.MaxPlaybacks) {
        auto oldest = std::find_if(Playbacks.begin(), Playbacks.end(),
                                   [&](const Playback& p) { return p.Sample == sample; });
        Playbacks.erase(oldest);
    }
    Playbacks.push_back(playback);
    return playback.Channel;
}

void Mixer::StopSample(uint32_t sample) {
    std::erase_if(Playbacks, [&](const Playback& p) { return p.Sample == sample; });
}

bool Mixer::PlayMusic(uint32_t music, int order) {
    auto found = Musics.find(music);
    if (found == Musics.end() || !found->second.Module->Restart(order)) return false;
    found->second.Playing = true;
    return true;
}

Mixer::Volume* Mixer::FindVolume(uint32_t channel) {
    if (auto music = Musics.find(channel); music != Musics.end()) return &music->second.Gain;
    for (Playback& playback : Playbacks)
        if (playback.Channel == channel) return &playback.Gain;
    return nullptr;
}

const Mixer::Volume* Mixer::FindVolume(uint32_t channel) const {
    return const_cast<Mixer*>(this)->FindVolume(channel);
}

bool Mixer::SetVolume(uint32_t channel, int volume) {
    Volume* gain = FindVolume(channel);
    if (!gain) return false;
    if (volume != -1) *gain = Volume{Gain(volume), Gain(volume), 0};
    return true;
}

bool Mixer::SlideVolume(uint32_t channel, int volume, uint32_t milliseconds) {
    Volume* gain = FindVolume(channel);
    if (!gain) return false;
    if (volume == -1) return true;
    gain->Target = Gain(volume);
    gain->SlideFrames = uint64_t(milliseconds) * MixRate / 1000;
    if (gain->SlideFrames == 0) gain->Level = gain->Target;
    return true;
}

bool Mixer::StopChannel(uint32_t channel) {
    if (auto music = Musics.find(channel); music != Musics.end()) {
        music->second.Playing = false;
        return true;
    }
    auto before = Playbacks.size();
    std::erase_if(Playbacks, [&](const Playback& p) { return p.Channel == channel; });
    return Playbacks.size() != before;
}

double Mixer::ChannelVolume(uint32_t channel) const {
    const Volume* gain = FindVolume(channel);
    return gain ? gain->Level * 100 : -1;
}

bool Mixer::IsPlaying(uint32_t channel) const {
    if (auto music = Musics.find(channel); music != Musics.end()) return music->second.Playing;
    return std::any_of(Playbacks.begin(), Playbacks.end(),
                       [&](const Playback& p) { return p.Channel == channel; });
}

int Mixer::PlaybackCount(uint32_t sample) const {
    return int(std::count_if(Playbacks.begin(), Playbacks.end(),
                             [&](const Playback& p) { return p.Sample == sample; }));
}

void Mixer::SetGlobalVolumes(int music, int sample) {
    if (music != -1) MusicLevel = Gain(music);
    if (sample != -1) SampleLevel = Gain(sample);
}

void Mixer::Start() {
    Running = true;
}

void Mixer::Pause() {
    Running = false;
}

void Mixer::Stop() {
    Running = false;
    Playbacks.clear();
    for (auto& [handle, music] : Musics) music.Playing = false;
}

void Mixer::Render(float* out, size_t frames) {
    std::fill(out, out + frames * MixChannels, 0.0f);
    if (!Running) return;

    Scratch.resize(frames * MixChannels);
    for (auto& [handle, music] : Musics) {
        if (!music.Playing) continue;
        music.Module->Render(Scratch.data(), frames);
        for (size_t i = 0; i < frames; ++i) {
            float gain = float(music.Gain.Next() * MusicLevel);
            out[2 * i] += Scratch[2 * i] * gain;
            out[2 * i + 1] += Scratch[2 * i + 1] * gain;
        }
    }

    for (Playback& playback : Playbacks) {
        const std::vector<float>& source = Samples.at(playback.Sample).Frames;
        size_t count = std::min(frames, source.size() / MixChannels - playback.Position);
        const float* from = source.data() + playback.Position * MixChannels;
        for (size_t i = 0; i < count; ++i) {
            float gain = float(playback.Gain.Next() * SampleLevel);
            out[2 * i] += from[2 * i] * gain;
            out[2 * i + 1] += from[2 * i + 1] * gain;
        }
        playback.Position += count;
    }
    std::erase_if(Playbacks, [&](const Playback& p) {
        return p.Position >= Samples.at(p.Sample).Frames.size() / MixChannels;
    });

    for (size_t i = 0; i < frames * MixChannels; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}
