// The innermost row loops of the hot pixel operations in three interchangeable sets: a plain
// scalar reference, SSE2 (always present on x86-64) and AVX2 (used only when the processor
// reports it at run time). Every set computes exactly the same bytes as the reference.
#pragma once

#include <cstddef>
#include <cstdint>

struct TRowKernels {
    // Alpha draw of n 32-bit pixels without tint: alpha 0 keeps the destination, alpha and
    // opacity 255 copy bytes 0-2, otherwise u = (a x opacity) >> 8 and each of bytes 0-2 becomes
    // (u x s + (255 - u) x d) >> 8. Byte 3 of the destination is never changed.
    void (*AlphaRow32)(uint8_t* dest, const uint8_t* source, const uint8_t* alpha, int n,
                       int opacity);
    // dest = a + b per byte, saturating at 255; dest may be a or b.
    void (*AddRow32)(uint8_t* dest, const uint8_t* a, const uint8_t* b, int n);
    // Copies bytes; the ranges do not overlap.
    void (*CopyRow)(uint8_t* dest, const uint8_t* source, size_t bytes);
    const char* Name;

    static const TRowKernels& Reference();
    static const TRowKernels& Sse2();
    // Null when the processor lacks AVX2.
    static const TRowKernels* Avx2();
    // The fastest set the processor runs.
    static const TRowKernels& Active();
};

// One 32-bit pixel of the alpha draw without tint; shared by every set for its row tails.
inline void AlphaPixel32(uint8_t* d, const uint8_t* s, int a, int opacity) {
    if (a == 0) return;
    if (a == 255 && opacity == 255) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
        return;
    }
    const int u = (a * opacity) >> 8;
    for (int i = 0; i < 3; ++i) d[i] = static_cast<uint8_t>((u * s[i] + (255 - u) * d[i]) >> 8);
}

inline void AddBytes(uint8_t* dest, const uint8_t* a, const uint8_t* b, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const int sum = a[i] + b[i];
        dest[i] = static_cast<uint8_t>(sum > 255 ? 255 : sum);
    }
}
