// Drawing one picture onto another, the "<AddImage" step of the image scripts: a rectangle of the
// source, optionally tinted towards a colour, copied (first picture) or blended by its alpha
// and an overall opacity, with the target's alpha channel built up from the sources' alpha.
#pragma once

#include <cstdint>

#include "resources/JpegPNG.h"

struct TAddOptions {
    int Left = 0, Top = 0;  // where the rectangle's top left pixel lands on the target
    // The source rectangle, right and bottom included; it is clipped to the source picture.
    int RectLeft = 0, RectTop = 0, RectRight = -1, RectBottom = -1;
    int ColorValue = 0;  // tint: 0 none, 1 almost the tint colour, 256 the source colour
    int Red = 255, Green = 255, Blue = 255;  // the tint colour
    int Alfa = 255;                          // overall opacity 0..255
    bool First = true;  // the first picture replaces pixels instead of blending
};

// The whole source as the rectangle.
TAddOptions WholePicture(const TPngPicture& source);

// Draws the source's rectangle onto the target (colour type 2 or 6). Source pixels of alpha 0
// and pixels landing outside the target are skipped. With c = ColorValue and k the tint colour's
// channel, a source channel s becomes k + c(s - k)/256 when c is not 0; the first picture then
// replaces the target pixel, a later one blends it with weight g = Alfa * alpha / 256. A source
// with alpha gives the target an alpha channel, fully transparent when the source is the first
// picture and opaque otherwise (earlier pictures were opaque); the alpha of every covered pixel
// becomes 255 - (255 - a)(255 - g)/256, or stays 0 when both are 0.
void AddPicture(TPngPicture& target, const TPngPicture& source, const TAddOptions& options);
