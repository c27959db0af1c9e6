// Recording audio for tests; the calls behave as on SdlAudio.
#include "platform/HeadlessAudio.h"

HeadlessAudio::HeadlessAudio(bool deviceAvailable) : DeviceAvailable(deviceAvailable) {}

void HeadlessAudio::Record(const std::string& call, std::initializer_list<long long> arguments) {
    std::string line = call;
    for (long long argument : arguments) line += " " + std::to_string(argument);
    CallLog.push_back(line);
}

uint32_t HeadlessAudio::GetVersion() {
    Record("GetVersion", {});
    return 1 + 8 * 65536;
}

bool HeadlessAudio::Init(int frequency) {
    Record("Init", {frequency});
    Active = DeviceAvailable;
    if (Active) Mixing.Start();
    return Active;
}

void HeadlessAudio::Free() {
    Record("Free", {});
    Active = false;
    Mixing = Mixer();
}

void HeadlessAudio::Start() {
    Record("Start", {});
    if (Active) Mixing.Start();
}

void HeadlessAudio::Pause() {
    Record("Pause", {});
    if (Active) Mixing.Pause();
}

void HeadlessAudio::Stop() {
    Record("Stop", {});
    if (Active) Mixing.Stop();
}

void HeadlessAudio::SetGlobalVolumes(int music, int sample, int stream) {
    Record("SetGlobalVolumes", {music, sample, stream});
    if (Active) Mixing.SetGlobalVolumes(music, sample);
}

uint32_t HeadlessAudio::SampleLoad(const uint8_t* data, size_t size, int maxPlaybacks) {
    Record("SampleLoad", {(long long)size, maxPlaybacks});
    return Active ? Mixing.LoadSample(data, size, maxPlaybacks) : 0;
}

void HeadlessAudio::SampleFree(uint32_t sample) {
    Record("SampleFree", {sample});
    if (Active) Mixing.FreeSample(sample);
}

uint32_t HeadlessAudio::SamplePlay(uint32_t sample, int volume) {
    Record("SamplePlay", {sample, volume});
    return Active ? Mixing.PlaySample(sample, volume) : 0;
}

void HeadlessAudio::SampleStop(uint32_t sample) {
    Record("SampleStop", {sample});
    if (Active) Mixing.StopSample(sample);
}

uint32_t HeadlessAudio::MusicLoad(const uint8_t* data, size_t size) {
    Record("MusicLoad", {(long long)size});
    return Active ? Mixing.LoadMusic(data, size) : 0;
}

void HeadlessAudio::MusicFree(uint32_t music) {
    Record("MusicFree", {music});
    if (Active) Mixing.FreeMusic(music);
}

bool HeadlessAudio::MusicPlay(uint32_t music, int order) {
    Record("MusicPlay", {music, order});
    return Active && Mixing.PlayMusic(music, order);
}

void HeadlessAudio::ChannelSetVolume(uint32_t channel, int volume) {
    Record("ChannelSetVolume", {channel, volume});
    if (Active) Mixing.SetVolume(channel, volume);
}

void HeadlessAudio::ChannelSlideVolume(uint32_t channel, int volume, uint32_t milliseconds) {
    Record("ChannelSlideVolume", {channel, volume, milliseconds});
    if (Active) Mixing.SlideVolume(channel, volume, milliseconds);
}

void HeadlessAudio::ChannelStop(uint32_t channel) {
    Record("ChannelStop", {channel});
    if (Active) Mixing.StopChannel(channel);
}
