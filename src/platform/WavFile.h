// PCM WAV files in memory: the audio tool's output and the test sounds. Relies on nothing.
#pragma once

#include <cstdint>
#include <vector>

// A RIFF WAVE file of interleaved `values`: 16-bit samples when `bits` is 16, else unsigned
// 8-bit ones (each value's high byte).
std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& values, int channels, int rate,
                               int bits = 16);
