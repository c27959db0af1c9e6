// Small sounds for the audio tests, made in memory: WAV files of constant or given values and a
// two-order tracker module whose first order sounds a tone for two rows.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/WavFile.h"
#include "content/XmWriter.h"

// A PCM WAV file: 16-bit when `bits` is 16, else unsigned 8-bit; `values` interleaved.
inline std::vector<uint8_t> MakeWav(const std::vector<int16_t>& values, int channels = 1,
                                    int rate = 44100, int bits = 16) {
    return EncodeWav(values, channels, rate, bits);
}

// A mono 44.1 kHz WAV holding `frames` frames of the constant `value`.
inline std::vector<uint8_t> MakeConstantWav(size_t frames, int16_t value = 3277) {
    return MakeWav(std::vector<int16_t>(frames, value));
}

// Tempo 6 at 125 BPM: one row is 120 ms, 5292 frames at 44.1 kHz.
constexpr size_t ModuleRowFrames = 5292;

// Orders 0 and 1, four rows each: order 0 plays a square-wave tone on rows 0 and 1 (key off on
// row 2), order 1 is silent; the song is eight rows long and loops.
inline std::vector<uint8_t> MakeTestModule() {
    XmModule module;
    module.Name = "test";
    module.Channels = 2;
    XmInstrument square;
    square.Name = "square";
    for (int i = 0; i < 64; ++i) square.Pcm.push_back(i < 32 ? 12000 : -12000);
    square.LoopLength = 64;
    module.Instruments.push_back(square);
    XmPattern tone{4, std::vector<XmNote>(8)};
    tone.Cells[0] = XmNote{49, 1};
    tone.Cells[4] = XmNote{XmKeyOff};
    module.Patterns = {tone, XmPattern{4, {}}};
    module.Orders = {0, 1};
    return WriteXm(module);
}

// Root mean square of the left channel over frames [from, to) of interleaved stereo.
inline double Rms(const std::vector<float>& stereo, size_t from, size_t to) {
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += double(stereo[2 * i]) * stereo[2 * i];
    return std::sqrt(sum / double(to - from));
}
