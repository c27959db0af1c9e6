// The colour shift of the image scripts: hue, lightness and saturation of every pixel moved on the
// 0..240 scale of the HLS colour model (hue 160 and saturation 0 for grey), hue wrapping around.
#pragma once

#include "resources/JpegPNG.h"

// Shifts every pixel of a colour picture (colour type 2 or 6); other pictures are left alone.
void ShiftPictureHue(TPngPicture& picture, int hue, int saturation, int lightness);
