// The picture the game's window shows as its icon, read from the data folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TIconPixels {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Argb;  // row by row, 0xAARRGGBB
};

// The PNG picture at `path` (at most 256 pixels a side); empty when it is missing, unreadable or
// larger.
TIconPixels LoadIconPixels(const std::string& path);
