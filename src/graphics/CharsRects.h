// One glyph placement of a laid-out text run, as the font engine fills them and the surface
// store's DrawText draws them.
#pragma once

#include <cstdint>

struct TCharsRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;  // glyph in the font picture, inclusive
    int X = 0, Y = 0;                              // destination of the glyph's top-left corner
    uint32_t Color = 0;                            // $00BBGGRR
    uint8_t Alpha = 255;                           // opacity
};
