// The layout of the store's pixels: the display's bit count and colour masks, the shift and bit
// width of each channel derived from them, the layout's name ("B8G8R8", "B5G6R5", ...) and the
// packing of decoded 8-bit colours into a pixel. Relies only on the platform's TPixelFormat.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

struct TPixelLayout {
    int BitCount = 32;
    uint32_t RMask = 0x00FF0000, GMask = 0x0000FF00, BMask = 0x000000FF;
    int RShift = 16, GShift = 8, BShift = 0;
    uint8_t RBits = 8, GBits = 8, BBits = 8;
    std::string Name = "B8G8R8";

    // Analyses a display format: shifts are the lowest set bit of each mask, widths the number
    // of set bits; the name lists the channels by increasing shift, each as its letter and width.
    static TPixelLayout FromFormat(const TPixelFormat& format);

    int BytesPerPixel() const { return BitCount == 16 ? 2 : 4; }

    // A colour of 8-bit channels as a pixel of this layout: 16-bit channels drop their low bits.
    uint32_t Pack(uint8_t r, uint8_t g, uint8_t b) const;
};
