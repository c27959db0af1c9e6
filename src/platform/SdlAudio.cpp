// The SDL audio device: 44.1 kHz stereo float, whatever frequency the caller asks for (the mixer
// has one rate; SDL converts to what the hardware wants).
#include "platform/SdlAudio.h"

#include "platform/SampleDecoder.h"

namespace {
// Holds the device lock, so that the callback never mixes while the mixer changes.
class DeviceLock {
  public:
    explicit DeviceLock(SDL_AudioDeviceID device) : Device(device) { SDL_LockAudioDevice(device); }
    ~DeviceLock() { SDL_UnlockAudioDevice(Device); }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

  private:
    SDL_AudioDeviceID Device;
};
}  // namespace

SdlAudio::SdlAudio(LogFunction log) : Log(std::move(log)) {}

SdlAudio::~SdlAudio() {
    Free();
}

uint32_t SdlAudio::GetVersion() {
    return 1 + 8 * 65536;
}

bool SdlAudio::Init(int) {
    if (Device) return true;
    SDL_AudioSpec wanted{}, obtained{};
    wanted.freq = MixRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = MixChannels;
    wanted.samples = 1024;
    wanted.callback = &SdlAudio::Callback;
    wanted.userdata = this;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        Device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (!Device) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    if (!Device) {
        if (!SilenceReported && Log)
            Log(std::string("No audio device, the game runs silent: ") + SDL_GetError());
        SilenceReported = true;
        return false;
    }
    Mix.Start();
    SDL_PauseAudioDevice(Device, 0);
    return true;
}

void SdlAudio::Free() {
    if (!Device) return;
    SDL_CloseAudioDevice(Device);
    Device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    Mix = Mixer();
}

void SdlAudio::Callback(void* self, Uint8* stream, int length) {
    auto* audio = static_cast<SdlAudio*>(self);
    audio->Mix.Render(reinterpret_cast<float*>(stream),
                      size_t(length) / (sizeof(float) * MixChannels));
}

void SdlAudio::Start() {
    if (!Device) return;
    DeviceLock lock(Device);
    Mix.Start();
}

void SdlAudio::Pause() {
    if (!Device) return;
    DeviceLock lock(Device);
    Mix.Pause();
}

void SdlAudio::Stop() {
    if (!Device) return;
    DeviceLock lock(Device);
    Mix.Stop();
}

void SdlAudio::SetGlobalVolumes(int music, int sample, int) {
    if (!Device) return;
    DeviceLock lock(Device);
    Mix.SetGlobalVolumes(music, sample);
}

uint32_t SdlAudio::SampleLoad(const uint8_t* data, size_t size, int maxPlaybacks) {
    if (!Device) return 0;
    auto frames = DecodeSample(data, size);
    if (!frames) return 0;
    DeviceLock lock(Device);
    return Mix.AddSample(std::move(*frames), maxPlaybacks);
}

void SdlAudio::SampleFree(uint32_t sample) {
    if (!Device) return;
    DeviceLock lock(Device);
    Mix.FreeSample(sample);
}

uint32_t SdlAudio::SamplePlay(uint32_t sample, int volume) {
    if (!Device) return 0;
    DeviceLock lock(Device);
    return Mix.PlaySample(sample, volume);
}

void SdlAudio::SampleStop(uint32_t sample) {
    if (!Device) return;
    DeviceLock lock(Device);
    Mix.StopSample(sample);
}

uint32_t SdlAudio::MusicLoad(const uint8_t* data, size_t size) {
    if (!Device) return 0;
    auto module = ModuleSource::Load(data, size);
    if (!module) return 0;
    DeviceLock lock(Device);
    return Mix.AddMusic(std::move(module));
}

void SdlAudio::MusicFree(uint32_t music) {
    if (!Device) return;
    DeviceLock lock(Device);
    Mix.FreeMusic(music);
}

bool SdlAudio::MusicPlay(uint32_t music, int order) {
    if (!Device) return false;
    DeviceLock lock(Device);
    return Mix.PlayMusic(music, order);
}

void SdlAudio::ChannelSetVolume(uint32_t channel, int volume) {
    if (!Device) return;
    DeviceLock lock(Device);
    Mix.SetVolume(channel, volume);
}

void SdlAudio::ChannelSlideVolume(uint32_t channel, int volume, uint32_t milliseconds) {
    if (!Device) return;
    DeviceLock lock(Device);
    Mix.SlideVolume(channel, volume, milliseconds);
}

void SdlAudio::ChannelStop(uint32_t channel) {
    if (!Device) return;
    DeviceLock lock(Device);
    Mix.StopChannel(channel);
}
