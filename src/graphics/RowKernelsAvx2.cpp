// AVX2 row kernels: eight pixels (alpha draw) or 64 bytes (add, copy) per step. The functions
// are compiled for AVX2 one by one (target attribute), never the whole program, and are handed
// out only when the processor reports AVX2.
#include <immintrin.h>

#include "graphics/RowKernels.h"

#define TERVOLIN_AVX2 __attribute__((target("avx2")))

namespace {

TERVOLIN_AVX2 void AlphaRowAvx2(uint8_t* dest, const uint8_t* source, const uint8_t* alpha, int n,
                                int opacity) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i c255 = _mm256_set1_epi16(255);
    const __m256i op = _mm256_set1_epi32(opacity);
    const __m256i byte3 = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256i ff = _mm256_set1_epi32(255);
    const bool full = opacity == 255;
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t a8;
        __builtin_memcpy(&a8, alpha + i, 8);
        if (a8 == 0) continue;
        uint8_t* d = dest + 4 * i;
        const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + 4 * i));
        const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d));
        if (full && a8 == ~uint64_t{0}) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), _mm256_blendv_epi8(s, dv, byte3));
            continue;
        }
        const __m256i a32 = _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(static_cast<long long>(a8)));
        const __m256i u32 = _mm256_srli_epi32(_mm256_mullo_epi16(a32, op), 8);
        const __m256i uu = _mm256_or_si256(u32, _mm256_slli_epi32(u32, 16));
        const __m256i uLo = _mm256_unpacklo_epi32(uu, uu);
        const __m256i uHi = _mm256_unpackhi_epi32(uu, uu);
        const __m256i sLo = _mm256_unpacklo_epi8(s, zero), sHi = _mm256_unpackhi_epi8(s, zero);
        const __m256i dLo = _mm256_unpacklo_epi8(dv, zero), dHi = _mm256_unpackhi_epi8(dv, zero);
        const __m256i rLo = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(uLo, sLo),
                             _mm256_mullo_epi16(_mm256_sub_epi16(c255, uLo), dLo)),
            8);
        const __m256i rHi = _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(uHi, sHi),
                             _mm256_mullo_epi16(_mm256_sub_epi16(c255, uHi), dHi)),
            8);
        __m256i r = _mm256_packus_epi16(rLo, rHi);
        if (full) r = _mm256_blendv_epi8(r, s, _mm256_cmpeq_epi32(a32, ff));
        const __m256i keep = _mm256_or_si256(_mm256_cmpeq_epi32(a32, zero), byte3);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), _mm256_blendv_epi8(r, dv, keep));
    }
    for (; i < n; ++i) AlphaPixel32(dest + 4 * i, source + 4 * i, alpha[i], opacity);
}

TERVOLIN_AVX2 void AddRowAvx2(uint8_t* dest, const uint8_t* a, const uint8_t* b, int n) {
    const size_t bytes = static_cast<size_t>(n) * 4;
    size_t i = 0;
    for (; i + 64 <= bytes; i += 64) {
        const __m256i a0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i));
        const __m256i a1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(a + i + 32));
        const __m256i b0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i));
        const __m256i b1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(b + i + 32));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i), _mm256_adds_epu8(a0, b0));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i + 32), _mm256_adds_epu8(a1, b1));
    }
    for (; i + 16 <= bytes; i += 16) {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), _mm_adds_epu8(va, vb));
    }
    AddBytes(dest + i, a + i, b + i, bytes - i);
}

TERVOLIN_AVX2 void CopyRowAvx2(uint8_t* dest, const uint8_t* source, size_t bytes) {
    size_t i = 0;
    for (; i + 64 <= bytes; i += 64) {
        const __m256i v0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
        const __m256i v1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i + 32));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i), v0);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dest + i + 32), v1);
    }
    for (; i + 16 <= bytes; i += 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i)));
    }
    for (; i < bytes; ++i) dest[i] = source[i];
}

}  // namespace

const TRowKernels* TRowKernels::Avx2() {
    static const TRowKernels kernels{AlphaRowAvx2, AddRowAvx2, CopyRowAvx2, "avx2"};
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported ? &kernels : nullptr;
}
