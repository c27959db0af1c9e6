// IAudio for tests of the game: every call is recorded as one text line, its name and its
// arguments in order ("SamplePlay 3 80", "SampleLoad 1200 5"), and is carried out on a real
// Mixer, so handles are those the game would get and the sound can be rendered. Constructed
// without a device, Init fails and every later call has no effect (loads give handle 0), as on
// a machine without sound.
#pragma once

#include <string>
#include <vector>

#include "platform/Mixer.h"
#include "platform/Platform.h"

class HeadlessAudio : public IAudio {
  public:
    explicit HeadlessAudio(bool deviceAvailable = true);

    const std::vector<std::string>& Calls() const { return CallLog; }
    void ClearCalls() { CallLog.clear(); }
    // The mixer behind the calls; Render it to hear what the game played.
    Mixer& Mix() { return Mixing; }

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
    void Record(const std::string& call, std::initializer_list<long long> arguments);

    bool DeviceAvailable;
    bool Active = false;  // Init succeeded and Free was not called since
    std::vector<std::string> CallLog;
    Mixer Mixing;
};
