// Whole-picture operations of the image scripts on 24-bit pictures with an optional alpha channel
// (TPngPicture of colour type 2 or 6): mirroring, rotation and scaling with bilinear sampling,
// cropping, and the size check every new picture passes.
#pragma once

#include "resources/JpegPNG.h"

// A black picture without alpha. Throws std::runtime_error when a side is below 1 or above
// MaxPictureSide, or the picture has more than MaxPicturePixels pixels.
TPngPicture BlackPicture(int width, int height);

void FlipHorizontal(TPngPicture& picture);
void FlipVertical(TPngPicture& picture);

// Rotates the picture in place, keeping its size, by `degrees` counter-clockwise as seen on the
// screen about the pixel (centerX, centerY). Every target pixel is the bilinear mix of the four
// source pixels around its source position, each channel rounded; positions outside the source
// count as black and, for a picture with alpha, transparent.
void RotatePicture(TPngPicture& picture, double centerX, double centerY, double degrees);
// RotatePicture about the middle of the picture.
void RotateAboutCenter(TPngPicture& picture, double degrees);

// Resizes the picture to width by height (checked as BlackPicture does) with bilinear sampling;
// the source's border pixels are repeated outwards.
void ScalePicture(TPngPicture& picture, int width, int height);

// Keeps the part of the rectangle that lies on the picture. Throws std::runtime_error when the
// width or height is below 1 or above MaxPictureSide, or the rectangle misses the picture.
void CropPicture(TPngPicture& picture, int left, int top, int width, int height);
