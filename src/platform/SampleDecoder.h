// Decoding of sample files (WAV and Ogg Vorbis) into the mixer's format: 44.1 kHz stereo, 32-bit
// float frames, interleaved. Relies on SDL2 (WAV loading and format conversion) and
// libvorbisfile. The bytes are read in place and never kept.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

constexpr int MixRate = 44100;
constexpr int MixChannels = 2;
// Longest sample accepted, so that a hostile header cannot make us allocate without bound.
constexpr size_t MaxSampleFrames = size_t(MixRate) * 180;

// The sample's frames (left, right, left, right, ...), or nothing when the bytes are neither a
// WAV nor an Ogg Vorbis file that can be decoded, or when the sound is empty or too long.
std::optional<std::vector<float>> DecodeSample(const uint8_t* data, size_t size);
