// SSE2 row kernels: four pixels (alpha draw) or sixteen bytes (add, copy) per step, with the
// scalar reference finishing each row's tail.
#include <emmintrin.h>

#include "graphics/RowKernels.h"

namespace {

void AlphaRowSse2(uint8_t* dest, const uint8_t* source, const uint8_t* alpha, int n, int opacity) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i c255 = _mm_set1_epi16(255);
    const __m128i op = _mm_set1_epi32(opacity);
    const __m128i byte3 = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    const __m128i ff = _mm_set1_epi32(255);
    const bool full = opacity == 255;
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        uint32_t a4;
        __builtin_memcpy(&a4, alpha + i, 4);
        if (a4 == 0) continue;
        uint8_t* d = dest + 4 * i;
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 4 * i));
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
        if (full && a4 == 0xFFFFFFFFu) {
            const __m128i r = _mm_or_si128(_mm_andnot_si128(byte3, s), _mm_and_si128(byte3, dv));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d), r);
            continue;
        }
        // One alpha per 32-bit lane, then u = (a x opacity) >> 8 in both halves of the lane.
        const __m128i a32 = _mm_unpacklo_epi16(
            _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(a4)), zero), zero);
        const __m128i u32 = _mm_srli_epi32(_mm_mullo_epi16(a32, op), 8);
        const __m128i uu = _mm_or_si128(u32, _mm_slli_epi32(u32, 16));
        const __m128i uLo = _mm_unpacklo_epi32(uu, uu);
        const __m128i uHi = _mm_unpackhi_epi32(uu, uu);
        const __m128i sLo = _mm_unpacklo_epi8(s, zero), sHi = _mm_unpackhi_epi8(s, zero);
        const __m128i dLo = _mm_unpacklo_epi8(dv, zero), dHi = _mm_unpackhi_epi8(dv, zero);
        const __m128i rLo =
            _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(uLo, sLo),
                                         _mm_mullo_epi16(_mm_sub_epi16(c255, uLo), dLo)),
                           8);
        const __m128i rHi =
            _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(uHi, sHi),
                                         _mm_mullo_epi16(_mm_sub_epi16(c255, uHi), dHi)),
                           8);
        __m128i r = _mm_packus_epi16(rLo, rHi);
        if (full) {
            const __m128i copy = _mm_cmpeq_epi32(a32, ff);
            r = _mm_or_si128(_mm_and_si128(copy, s), _mm_andnot_si128(copy, r));
        }
        const __m128i keep = _mm_or_si128(_mm_cmpeq_epi32(a32, zero), byte3);
        r = _mm_or_si128(_mm_and_si128(keep, dv), _mm_andnot_si128(keep, r));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), r);
    }
    for (; i < n; ++i) AlphaPixel32(dest + 4 * i, source + 4 * i, alpha[i], opacity);
}

void AddRowSse2(uint8_t* dest, const uint8_t* a, const uint8_t* b, int n) {
    const size_t bytes = static_cast<size_t>(n) * 4;
    size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), _mm_adds_epu8(va, vb));
    }
    AddBytes(dest + i, a + i, b + i, bytes - i);
}

void CopyRowSse2(uint8_t* dest, const uint8_t* source, size_t bytes) {
    size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i + 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i), v0);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dest + i + 16), v1);
    }
    for (; i < bytes; ++i) dest[i] = source[i];
}

}  // namespace

const TRowKernels& TRowKernels::Sse2() {
    static const TRowKernels kernels{AlphaRowSse2, AddRowSse2, CopyRowSse2, "sse2"};
    return kernels;
}
