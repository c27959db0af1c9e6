// Picture codecs: PNG (libpng) and JPEG (libjpeg) decoded to rows of blue, green, red byte
// triplets plus, for PNG pictures with an alpha channel, rows of alpha bytes; encoding back; and
// the six conversions between PNG, JPEG and separate grey alpha masks that the install step
// uses. Every picture is untrusted input: headers asking for more than MaxPictureSide pixels in
// either direction or MaxPicturePixels in all are refused, and the libraries' error jumps never
// cross a C++ object with a destructor.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

constexpr int MaxPictureSide = 16384;
constexpr int64_t MaxPicturePixels = int64_t(1) << 24;

// A picture that does not decode or encode; the text says why.
class TPictureError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The picture file to load does not exist.
class TPictureFileMissing : public TPictureError {
  public:
    using TPictureError::TPictureError;
};

// Width, height and rows of blue, green, red triplets: the intermediate between the codecs.
struct TBitmap24 {
    int Width = 0, Height = 0;
    std::vector<uint8_t> Bgr;
    uint8_t* Row(int y) { return Bgr.data() + size_t(y) * Width * 3; }
    const uint8_t* Row(int y) const { return Bgr.data() + size_t(y) * Width * 3; }
};

// PNG colour types of the header.
enum : int { pctGrey = 0, pctRgb = 2, pctPalette = 3, pctGreyAlpha = 4, pctRgbAlpha = 6 };

struct TPngPicture {
    int Width = 0, Height = 0;
    int ColorType = pctRgb;
    std::vector<uint8_t> Color;  // 3 x Width bytes per row: blue, green, red
    std::vector<uint8_t> Alpha;  // Width bytes per row; empty unless colour type 4 or 6

    bool HasAlpha() const { return ColorType == pctGreyAlpha || ColorType == pctRgbAlpha; }
    uint8_t* ColorRow(int y) { return Color.data() + size_t(y) * Width * 3; }
    const uint8_t* ColorRow(int y) const { return Color.data() + size_t(y) * Width * 3; }
    uint8_t* AlphaRow(int y) { return Alpha.data() + size_t(y) * Width; }
    const uint8_t* AlphaRow(int y) const { return Alpha.data() + size_t(y) * Width; }

    // Gives a picture without alpha an alpha channel of 255 (RGB becomes RGB with alpha, grey
    // becomes grey with alpha); a picture with one keeps it.
    void CreateAlpha();
    // The bitmap's pixels as an RGB picture without alpha.
    void Assign(const TBitmap24& bitmap);
    TBitmap24 ToBitmap() const;

    // Throws TPictureError for anything that is not a whole, supported, small enough PNG.
    static TPngPicture Decode(std::span<const uint8_t> bytes);
    // Throws TPictureFileMissing when the file does not exist.
    static TPngPicture LoadFromFile(const std::string& path);
    // Grey pictures store the blue byte of each colour triplet.
    std::vector<uint8_t> Encode() const;
};

TBitmap24 DecodeJpeg(std::span<const uint8_t> bytes);
TBitmap24 LoadJpegFile(const std::string& path);
// quality 1..100 (values outside are limited to that range).
std::vector<uint8_t> EncodeJpeg(const TBitmap24& bitmap, int quality);

// Reads a whole picture file, refusing files above 256 MB. Throws TPictureFileMissing when it
// does not exist and TPictureError when it cannot be read.
std::vector<uint8_t> ReadPictureFile(const std::string& path);

// The conversions. Each clears its result first and answers false, never throwing, when any step
// fails; the result then holds whatever was written before the failure (usually nothing).
// Quality 255 means 90.
bool PngToJpeg(std::span<const uint8_t> png, uint8_t quality, std::vector<uint8_t>& result);
bool JpegToPng(std::span<const uint8_t> jpeg, std::vector<uint8_t>& result);
// A grey picture whose values are the PNG's alpha; 255 everywhere for a PNG without alpha.
bool PngAlphaToMask(std::span<const uint8_t> png, std::vector<uint8_t>& result);
// The PNG with its alpha taken from the mask's grey values; false when the mask is smaller.
bool PngWithMask(std::span<const uint8_t> png, std::span<const uint8_t> mask,
                 std::vector<uint8_t>& result);
// The JPEG of PngToJpeg and the mask of PngAlphaToMask; when the JPEG fails no mask is made.
bool SplitPng(std::span<const uint8_t> png, uint8_t quality, std::vector<uint8_t>& jpeg,
              std::optional<std::vector<uint8_t>>& mask);
bool JpegWithMaskToPng(std::span<const uint8_t> jpeg, std::span<const uint8_t> mask,
                       std::vector<uint8_t>& result);
