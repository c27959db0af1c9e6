// Sample decoding: the format is told by the first bytes ("RIFF" for WAV, "OggS" for Ogg). WAV goes
// through SDL_LoadWAV_RW, Ogg Vorbis through libvorbisfile reading from memory; both end in
// SDL_AudioCVT to reach 44.1 kHz stereo float.
#include "platform/SampleDecoder.h"

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

bool StartsWith(const uint8_t* data, size_t size, const char* magic) {
    size_t length = std::strlen(magic);
    return size >= length && std::memcmp(data, magic, length) == 0;
}

// Converts `bytes` of audio in the given layout to mix frames with SDL_AudioCVT.
std::optional<std::vector<float>> ConvertToMix(SDL_AudioFormat format, int channels, int rate,
                                               const uint8_t* bytes, size_t length) {
    if (channels < 1 || rate < 1 || length == 0 || length > size_t(INT_MAX)) return std::nullopt;
    size_t frameBytes = size_t(SDL_AUDIO_BITSIZE(format) / 8) * size_t(channels);
    if (frameBytes == 0) return std::nullopt;
    // Frames after resampling, checked before anything is allocated.
    double outFrames = double(length / frameBytes) * MixRate / rate;
    if (outFrames < 1 || outFrames > double(MaxSampleFrames)) return std::nullopt;

    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, format, Uint8(channels), rate, AUDIO_F32SYS, MixChannels, MixRate) <
        0)
        return std::nullopt;
    length -= length % frameBytes;
    size_t capacity = length * size_t(cvt.len_mult);
    if (capacity > size_t(INT_MAX)) return std::nullopt;
    std::vector<uint8_t> buffer(capacity);
    std::memcpy(buffer.data(), bytes, length);
    cvt.buf = buffer.data();
    cvt.len = int(length);
    if (cvt.needed && SDL_ConvertAudio(&cvt) < 0) return std::nullopt;
    size_t converted = cvt.needed ? size_t(cvt.len_cvt) : length;
    size_t frames = converted / (sizeof(float) * MixChannels);
    if (frames == 0) return std::nullopt;
    std::vector<float> result(frames * MixChannels);
    std::memcpy(result.data(), buffer.data(), result.size() * sizeof(float));
    // A damaged stream may decode to values out of range or not numbers at all.
    for (float& value : result) value = std::isfinite(value) ? std::clamp(value, -1.0f, 1.0f) : 0;
    return result;
}

uint32_t ReadU32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

void WriteU32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = uint8_t(value >> (8 * i));
}

// A copy of a RIFF WAV whose chunk lengths all lie within the bytes, so that the loader never
// allocates for data that is not there: the "data" chunk (and the RIFF length) are cut to what
// is present, any other chunk running past the end refuses the file.
std::optional<std::vector<uint8_t>> BoundedWav(const uint8_t* data, size_t size) {
    if (size < 12 || size > size_t(INT_MAX) || std::memcmp(data + 8, "WAVE", 4) != 0)
        return std::nullopt;
    std::vector<uint8_t> copy(data, data + size);
    WriteU32(copy.data() + 4, std::min(ReadU32(copy.data() + 4), uint32_t(size - 8)));
    size_t at = 12;
    while (at + 8 <= size) {
        size_t left = size - at - 8;
        uint32_t length = ReadU32(copy.data() + at + 4);
        if (length > left) {
            if (std::memcmp(copy.data() + at, "data", 4) != 0) return std::nullopt;
            WriteU32(copy.data() + at + 4, uint32_t(left));
            break;
        }
        at += 8 + size_t(length) + (length & 1);
    }
    return copy;
}

std::optional<std::vector<float>> DecodeWav(const uint8_t* data, size_t size) {
    auto bounded = BoundedWav(data, size);
    if (!bounded) return std::nullopt;
    SDL_RWops* stream = SDL_RWFromConstMem(bounded->data(), int(bounded->size()));
    if (!stream) return std::nullopt;
    SDL_AudioSpec wavFormat;
    Uint8* pcm = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(stream, 1, &wavFormat, &pcm, &length)) return std::nullopt;
    auto result = ConvertToMix(wavFormat.format, wavFormat.channels, wavFormat.freq, pcm, length);
    SDL_FreeWAV(pcm);
    return result;
}

// A read cursor over the bytes, for libvorbisfile's callbacks.
struct MemoryReader {
    const uint8_t* Data;
    size_t Size;
    size_t Position = 0;
};

size_t ReadMemory(void* out, size_t itemSize, size_t count, void* source) {
    auto* reader = static_cast<MemoryReader*>(source);
    if (itemSize == 0) return 0;
    size_t items = std::min(count, (reader->Size - reader->Position) / itemSize);
    std::memcpy(out, reader->Data + reader->Position, items * itemSize);
    reader->Position += items * itemSize;
    return items;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
    auto* reader = static_cast<MemoryReader*>(source);
    ogg_int64_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? ogg_int64_t(reader->Position)
                                            : ogg_int64_t(reader->Size);
    if (offset < -base || offset > ogg_int64_t(reader->Size) - base) return -1;
    reader->Position = size_t(base + offset);
    return 0;
}

long TellMemory(void* source) {
    return long(static_cast<MemoryReader*>(source)->Position);
}

std::optional<std::vector<float>> DecodeOgg(const uint8_t* data, size_t size) {
    MemoryReader reader{data, size};
    OggVorbis_File file;
    ov_callbacks callbacks{ReadMemory, SeekMemory, nullptr, TellMemory};
    if (ov_open_callbacks(&reader, &file, nullptr, 0, callbacks) != 0) return std::nullopt;
    std::unique_ptr<OggVorbis_File, int (*)(OggVorbis_File*)> closer(&file, ov_clear);

    vorbis_info* info = ov_info(&file, -1);
    if (!info || info->channels < 1 || info->channels > 8 || info->rate < 1 || info->rate > 1000000)
        return std::nullopt;
    int channels = info->channels;
    long rate = info->rate;
    size_t maxFrames = size_t(double(MaxSampleFrames) * rate / MixRate) + 1;
    std::vector<float> pcm;
    for (;;) {
        float** planes = nullptr;
        int section = 0;
        long frames = ov_read_float(&file, &planes, 4096, &section);
        if (frames == OV_HOLE) continue;
        if (frames < 0) return std::nullopt;
        if (frames == 0) break;
        // Chained streams may change their layout; we accept only one.
        vorbis_info* current = ov_info(&file, -1);
        if (!current || current->channels != channels || current->rate != rate) return std::nullopt;
        if (pcm.size() / size_t(channels) + size_t(frames) > maxFrames) return std::nullopt;
        for (long i = 0; i < frames; ++i)
            for (int c = 0; c < channels; ++c) pcm.push_back(planes[c][i]);
    }
    return ConvertToMix(AUDIO_F32SYS, channels, int(rate),
                        reinterpret_cast<const uint8_t*>(pcm.data()), pcm.size() * sizeof(float));
}

}  // namespace

std::optional<std::vector<float>> DecodeSample(const uint8_t* data, size_t size) {
    if (!data) return std::nullopt;
    if (StartsWith(data, size, "OggS")) return DecodeOgg(data, size);
    if (StartsWith(data, size, "RIFF")) return DecodeWav(data, size);
    return std::nullopt;
}
