// IAudio on the SDL audio device: the Mixer renders in the device's callback, under the device
// lock that every call also takes. Decoding happens before the lock is taken, so loads never
// hold up the sound. When no device can be opened the game runs silent: Init says so once
// through the log callback and every later call has no effect (loads give handle 0).
#pragma once

#include <SDL.h>

#include <functional>
#include <string>

#include "platform/Mixer.h"
#include "platform/Platform.h"

class SdlAudio : public IAudio {
  public:
    using LogFunction = std::function<void(const std::string&)>;
    explicit SdlAudio(LogFunction log);
    ~SdlAudio() override;

    uint32_t GetVersion() override;
    bool Init(int frequency) override;
    void Free() override;
    void Start() override;
    void Pause() override;
    void Stop() override;
    void SetGlobalVolumes(int music, int sample, int stream) override;
    uint32_t SampleLoad(const uint8_t* data, size_t size, int maxPlaybacks) override;
    void SampleFree(uint32_t sample) override;
    uint32_t SamplePlay(uint32_t sample, int volume) override;
    void SampleStop(uint32_t sample) override;
    uint32_t MusicLoad(const uint8_t* data, size_t size) override;
    void MusicFree(uint32_t music) override;
    bool MusicPlay(uint32_t music, int order) override;
    void ChannelSetVolume(uint32_t channel, int volume) override;
    void ChannelSlideVolume(uint32_t channel, int volume, uint32_t milliseconds) override;
    void ChannelStop(uint32_t channel) override;

  private:
    static void Callback(void* self, Uint8* stream, int length);

    LogFunction Log;
    SDL_AudioDeviceID Device = 0;
    bool SilenceReported = false;
    Mixer Mix;
};
