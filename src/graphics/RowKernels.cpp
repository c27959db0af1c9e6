// The scalar reference row kernels and the run-time choice of the fastest set.
#include "graphics/RowKernels.h"

#include <cstring>

namespace {

void AlphaRowRef(uint8_t* dest, const uint8_t* source, const uint8_t* alpha, int n, int opacity) {
    for (int i = 0; i < n; ++i) AlphaPixel32(dest + 4 * i, source + 4 * i, alpha[i], opacity);
}

void AddRowRef(uint8_t* dest, const uint8_t* a, const uint8_t* b, int n) {
    AddBytes(dest, a, b, static_cast<size_t>(n) * 4);
}

void CopyRowRef(uint8_t* dest, const uint8_t* source, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) dest[i] = source[i];
}

}  // namespace

const TRowKernels& TRowKernels::Reference() {
    static const TRowKernels kernels{AlphaRowRef, AddRowRef, CopyRowRef, "reference"};
    return kernels;
}

const TRowKernels& TRowKernels::Active() {
    static const TRowKernels& active = Avx2() ? *Avx2() : Sse2();
    return active;
}
