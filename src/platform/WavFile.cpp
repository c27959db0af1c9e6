#include "platform/WavFile.h"

#include <cstddef>

std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& values, int channels, int rate,
                               int bits) {
    std::vector<uint8_t> out;
    auto u16 = [&](unsigned v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    auto text = [&](const char* s) {
        for (int i = 0; i < 4; ++i) out.push_back(uint8_t(s[i]));
    };
    const int bytes = bits == 16 ? 2 : 1;
    const uint32_t dataBytes = uint32_t(values.size() * size_t(bytes));
    text("RIFF");
    u32(36 + dataBytes);
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1);
    u16(unsigned(channels));
    u32(uint32_t(rate));
    u32(uint32_t(rate * channels * bytes));
    u16(unsigned(channels * bytes));
    u16(unsigned(bytes * 8));
    text("data");
    u32(dataBytes);
    for (int16_t v : values) {
        if (bytes == 2)
            u16(uint16_t(v));
        else
            out.push_back(uint8_t((v >> 8) + 128));
    }
    return out;
}
