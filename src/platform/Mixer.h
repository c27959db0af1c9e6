// The software mixer behind the audio calls: samples with a limited number of simultaneous
// playbacks, looping tracker modules, channel volumes with linear slides, global music and
// sample levels, and a running/paused/stopped output. It renders 44.1 kHz stereo float frames
// into the caller's buffer; its time advances only with rendered frames, so it is exact and
// deterministic. Not thread-safe: the SDL device locks around every call. Relies on
// SampleDecoder and ModuleSource.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "platform/ModuleSource.h"

// Every level handed to the mixer is clamped to 0..100; -1 where allowed keeps the current one.
int ClampLevel(int level);

class Mixer {
  public:
    // Decoded sounds; made outside the mixer so that a device can decode without holding its lock.
    uint32_t AddSample(std::vector<float> frames, int maxPlaybacks);
    uint32_t AddMusic(std::unique_ptr<ModuleSource> module);

    // Loads from bytes (copied or decoded at once); 0 when they are not a sound.
    uint32_t LoadSample(const uint8_t* data, size_t size, int maxPlaybacks);
    uint32_t LoadMusic(const uint8_t* data, size_t size);
    // Releases the sound; its playbacks stop.
    void FreeSample(uint32_t sample);
    void FreeMusic(uint32_t music);

    // Starts one more playback at `volume` (-1: full) and returns its channel, 0 on failure.
    // When all its playbacks are busy the one that has played longest is taken over.
    uint32_t PlaySample(uint32_t sample, int volume);
    // Stops every playback of the sample.
    void StopSample(uint32_t sample);
    // (Re)starts the module at row 0 of `order`; false for an unknown module or order.
    bool PlayMusic(uint32_t music, int order);

    // Channels are sample playbacks and modules (a module's handle is its channel).
    // Unknown channels are refused with false.
    bool SetVolume(uint32_t channel, int volume);
    bool SlideVolume(uint32_t channel, int volume, uint32_t milliseconds);
    bool StopChannel(uint32_t channel);
    // The channel's current volume 0..100 (fractional during a slide); -1 for no such channel.
    double ChannelVolume(uint32_t channel) const;
    bool IsPlaying(uint32_t channel) const;
    int PlaybackCount(uint32_t sample) const;

    void SetGlobalVolumes(int music, int sample);
    // Output: Start runs or resumes it, Pause holds everything where it is, Stop ends every
    // playback and holds the output until the next Start.
    void Start();
    void Pause();
    void Stop();
    bool IsRunning() const { return Running; }

    // Mixes `frames` stereo frames into `out`; silence without progress unless running.
    void Render(float* out, size_t frames);

  private:
    struct Volume {
        double Level = 1.0;  // 0..1
        double Target = 1.0;
        uint64_t SlideFrames = 0;  // frames left in the slide, 0 when not sliding
        double Next();             // the level for one more frame
    };
    struct Sample {
        std::vector<float> Frames;
        int MaxPlaybacks = 1;
    };
    struct Playback {
        uint32_t Channel = 0;
        uint32_t Sample = 0;
        size_t Position = 0;  // in frames
        Volume Gain;
    };
    struct Music {
        std::unique_ptr<ModuleSource> Module;
        bool Playing = false;
        Volume Gain;
    };

    uint32_t NewHandle();
    Volume* FindVolume(uint32_t channel);
    const Volume* FindVolume(uint32_t channel) const;

    uint32_t LastHandle = 0;
    std::map<uint32_t, Sample> Samples;
    std::vector<Playback> Playbacks;  // in order of starting
    std::map<uint32_t, Music> Musics;
    double MusicLevel = 1.0, SampleLevel = 1.0;
    bool Running = true;
    std::vector<float> Scratch;
};
