// Pixel-format analysis and colour packing for the surface store.
#include "graphics/PixelLayout.h"

#include <algorithm>
#include <bit>
#include <utility>
#include <vector>

namespace {

int LowestBit(uint32_t mask) {
    return mask == 0 ? 0 : std::countr_zero(mask);
}

}  // namespace

TPixelLayout TPixelLayout::FromFormat(const TPixelFormat& format) {
    TPixelLayout layout;
    layout.BitCount = format.BitCount;
    layout.RMask = format.RMask;
    layout.GMask = format.GMask;
    layout.BMask = format.BMask;
    layout.RShift = LowestBit(format.RMask);
    layout.GShift = LowestBit(format.GMask);
    layout.BShift = LowestBit(format.BMask);
    layout.RBits = static_cast<uint8_t>(std::popcount(format.RMask));
    layout.GBits = static_cast<uint8_t>(std::popcount(format.GMask));
    layout.BBits = static_cast<uint8_t>(std::popcount(format.BMask));
    std::vector<std::pair<int, std::string>> channels = {
        {layout.RShift, "R" + std::to_string(layout.RBits % 10)},
        {layout.GShift, "G" + std::to_string(layout.GBits % 10)},
        {layout.BShift, "B" + std::to_string(layout.BBits % 10)}};
    std::stable_sort(channels.begin(), channels.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    layout.Name.clear();
    for (const auto& channel : channels) layout.Name += channel.second;
    return layout;
}

uint32_t TPixelLayout::Pack(uint8_t r, uint8_t g, uint8_t b) const {
    if (BitCount == 16) {
        return (uint32_t(r >> (8 - std::min<int>(RBits, 8))) << RShift) +
               (uint32_t(g >> (8 - std::min<int>(GBits, 8))) << GShift) +
               (uint32_t(b >> (8 - std::min<int>(BBits, 8))) << BShift);
    }
    return (uint32_t(r) << RShift) + (uint32_t(g) << GShift) + (uint32_t(b) << BShift);
}
