// Encoding of synthesised sound to Ogg Vorbis. Relies on libvorbisenc, which only the data
// builder links: the game decodes, it never encodes.
#pragma once

#include <cstdint>
#include <vector>

// Encodes interleaved float frames (`channels` 1 or 2, values -1..1) at `rate` Hz with the
// given Vorbis quality (-0.1..1). The stream serial number is fixed, so equal input gives equal
// bytes. Throws std::runtime_error when the encoder refuses the settings.
std::vector<uint8_t> EncodeOggVorbis(const std::vector<float>& frames, int channels, int rate,
                                     float quality = 0.4f);
