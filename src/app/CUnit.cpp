// Save-file scrambling: keyed 8x8 bit transposition of blocks and the line rotation.
#include "app/CUnit.h"

#include <array>
#include <cstdint>

// Stands in for an empty key text; no caller passes one.
static const std::string EmptyKeyReplacement = "*";

void ScrambleStream(TMemoryStream& source, TMemoryStream& destination, const std::string& key) {
    const std::string& text = key.empty() ? EmptyKeyReplacement : key;
    std::array<uint8_t, 8> k;
    for (size_t i = 0; i < 8; ++i) k[i] = uint8_t(text[i % text.size()]);

    destination.Clear();
    source.SetPosition(0);
    std::array<uint8_t, 8> in, out;
    size_t n;
    do {
        n = source.Read(in.data(), 8);
        for (size_t j = 0; j < 8; ++j) in[j] ^= k[j];
        if (n == 8) {
            for (size_t row = 0; row < 8; ++row) {
                uint8_t byte = 0;
                for (size_t bit = 0; bit < 8; ++bit) byte |= uint8_t(((in[bit] >> row) & 1) << bit);
                out[row] = byte ^ k[row];
            }
            destination.Write(out.data(), 8);
        } else {
            destination.Write(in.data(), n);
        }
    } while (n == 8);
    destination.SetPosition(0);
    source.Clear();
}

bool IsPlainText(const TMemoryStream& stream) {
    const uint8_t* bytes = stream.Memory();
    for (size_t i = 0; i < stream.Size(); ++i) {
        const uint8_t c = bytes[i];
        const bool acceptable =
            c >= 32 || c == 9 || c == 13 || (c == 10 && i > 0 && bytes[i - 1] == 13);
        if (!acceptable) return false;
    }
    return true;
}

std::string ShiftEncode(const std::string& text) {
    std::string result = text;
    for (char& ch : result) {
        const uint8_t c = uint8_t(ch);
        if (c >= 32) ch = char(c <= 204 ? c + 51 : c - 173);
    }
    return result;
}

std::string ShiftDecode(const std::string& text) {
    std::string result = text;
    for (char& ch : result) {
        const uint8_t c = uint8_t(ch);
        if (c >= 32) ch = char(c >= 83 ? c - 51 : c + 173);
    }
    return result;
}
