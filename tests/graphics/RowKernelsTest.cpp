// The fast row kernels against the scalar reference, byte for byte.
#include "graphics/RowKernels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

std::vector<const TRowKernels*> FastSets() {
    std::vector<const TRowKernels*> sets = {&TRowKernels::Sse2()};
    if (TRowKernels::Avx2()) sets.push_back(TRowKernels::Avx2());
    return sets;
}

}  // namespace

// Every alpha x opacity x channel value: for each opacity, one row of 65536 pixels walks every
// (alpha, value) pair; byte 0 carries the source value over a varying destination, byte 1 the
// destination value under a varying source, byte 2 both mixed, byte 3 must survive.
TEST(RowKernelsTest, AlphaRowEqualsReferenceForEveryAlphaOpacityAndValue) {
    constexpr int n = 65536;
    std::vector<uint8_t> source(4 * n), alpha(n), base(4 * n), expected, actual;
    for (int i = 0; i < n; ++i) {
        const int a = i >> 8, v = i & 255;
        alpha[i] = static_cast<uint8_t>(a);
        source[4 * i + 0] = static_cast<uint8_t>(v);
        source[4 * i + 1] = static_cast<uint8_t>(v * 37 + a);
        source[4 * i + 2] = static_cast<uint8_t>(v * 11 + 3 * a);
        source[4 * i + 3] = static_cast<uint8_t>(a ^ v);
        base[4 * i + 3] = static_cast<uint8_t>(v * 5);
    }
    for (const TRowKernels* fast : FastSets()) {
        for (int opacity = 0; opacity < 256; ++opacity) {
            for (int i = 0; i < n; ++i) {
                const int a = i >> 8, v = i & 255;
                base[4 * i + 0] = static_cast<uint8_t>(v * 59 + a + opacity);
                base[4 * i + 1] = static_cast<uint8_t>(v);
                base[4 * i + 2] = static_cast<uint8_t>(255 - v + opacity);
            }
            expected = base;
            actual = base;
            TRowKernels::Reference().AlphaRow32(expected.data(), source.data(), alpha.data(), n,
                                                opacity);
            fast->AlphaRow32(actual.data(), source.data(), alpha.data(), n, opacity);
            ASSERT_EQ(0, std::memcmp(expected.data(), actual.data(), expected.size()))
                << fast->Name << " opacity " << opacity;
        }
    }
}

TEST(RowKernelsTest, AddRowEqualsReferenceForEveryPairOfValues) {
    constexpr int n = 65536 / 4;
    std::vector<uint8_t> a(4 * n), b(4 * n), expected(4 * n), actual(4 * n);
    for (int i = 0; i < 65536; ++i) {
        a[i] = static_cast<uint8_t>(i >> 8);
        b[i] = static_cast<uint8_t>(i);
    }
    TRowKernels::Reference().AddRow32(expected.data(), a.data(), b.data(), n);
    EXPECT_EQ(255, expected[0xC890]);  // 200 + 144 saturates
    EXPECT_EQ(200, expected[0x6464]);  // 100 + 100
    for (const TRowKernels* fast : FastSets()) {
        fast->AddRow32(actual.data(), a.data(), b.data(), n);
        EXPECT_EQ(expected, actual) << fast->Name;
        // In place onto b, the way the frame receives the scratch surface.
        std::vector<uint8_t> inPlace = b;
        fast->AddRow32(inPlace.data(), a.data(), inPlace.data(), n);
        EXPECT_EQ(expected, inPlace) << fast->Name;
    }
}

// Odd widths and every misalignment of source, destination and alpha, on random content with
// runs of transparent and opaque alpha so that the skip and copy shortcuts are taken.
TEST(RowKernelsTest, RowsOfOddWidthsAndUnalignedEdgesEqualReference) {
    std::mt19937 random(7);
    constexpr int maxWidth = 70;
    std::vector<uint8_t> source(4 * maxWidth + 64), alpha(maxWidth + 64), dest(4 * maxWidth + 64);
    for (const TRowKernels* fast : FastSets()) {
        for (int width = 0; width <= maxWidth; ++width) {
            for (int shift = 0; shift < 4; ++shift) {
                for (auto& byte : source) byte = static_cast<uint8_t>(random());
                for (auto& byte : dest) byte = static_cast<uint8_t>(random());
                for (size_t i = 0; i < alpha.size(); ++i) {
                    const int kind = (i / 5 + shift + width) % 3;
                    alpha[i] = kind == 0 ? 0 : kind == 1 ? 255 : static_cast<uint8_t>(random());
                }
                for (int opacity : {255, 254, 128, 1}) {
                    std::vector<uint8_t> expected = dest, actual = dest;
                    const uint8_t* s = source.data() + shift * 3 + 1;
                    const uint8_t* a = alpha.data() + shift;
                    TRowKernels::Reference().AlphaRow32(expected.data() + shift, s, a, width,
                                                        opacity);
                    fast->AlphaRow32(actual.data() + shift, s, a, width, opacity);
                    ASSERT_EQ(expected, actual) << fast->Name << " width " << width;
                }
                std::vector<uint8_t> expected = dest, actual = dest;
                TRowKernels::Reference().AddRow32(expected.data() + shift, source.data() + 1,
                                                  dest.data() + 2 * shift, width);
                fast->AddRow32(actual.data() + shift, source.data() + 1, dest.data() + 2 * shift,
                               width);
                ASSERT_EQ(expected, actual) << fast->Name << " add width " << width;
                expected = dest;
                actual = dest;
                TRowKernels::Reference().CopyRow(expected.data() + shift, source.data() + 3,
                                                 4 * width + shift);
                fast->CopyRow(actual.data() + shift, source.data() + 3, 4 * width + shift);
                ASSERT_EQ(expected, actual) << fast->Name << " copy width " << width;
            }
        }
    }
}
