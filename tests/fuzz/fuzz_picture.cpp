// Fuzz target for picture decoding: the bytes are decoded as a PNG and as a JPEG, loaded into the
// surface store both ways, re-encoded when they decode, and used as picture and mask of the
// conversions. Decoding errors are expected; crashes, leaks and overreads are not.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "graphics/SurfEngine.h"
#include "resources/JpegPNG.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    try {
        const TPngPicture picture = TPngPicture::Decode(bytes);
        TPngPicture::Decode(picture.Encode());
    } catch (const TPictureError&) {
    }
    try {
        DecodeJpeg(bytes);
    } catch (const TPictureError&) {
    }
    TSurfEngine engine;
    try {
        engine.AddPngSurface("png", "png", bytes, true);
    } catch (const TPictureError&) {
    }
    try {
        engine.AddJpegSurface("jpeg", "jpeg", bytes);
    } catch (const TPictureError&) {
    }
    std::vector<uint8_t> result;
    PngWithMask(bytes, bytes, result);
    JpegWithMaskToPng(bytes, bytes, result);
    std::optional<std::vector<uint8_t>> mask;
    SplitPng(bytes, 50, result, mask);
    return 0;
}
