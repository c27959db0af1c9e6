// Small pictures and in-memory archives for the image-script and install tests.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/FileFolder.h"
#include "resources/JpegPNG.h"

struct TRgba {
    int R = 0, G = 0, B = 0, A = 255;
    bool operator==(const TRgba&) const = default;
};

inline TPngPicture FilledPicture(int width, int height, TRgba color, bool alpha = false) {
    TPngPicture picture;
    picture.Width = width;
    picture.Height = height;
    picture.ColorType = alpha ? pctRgbAlpha : pctRgb;
    for (int i = 0; i < width * height; ++i) {
        picture.Color.insert(picture.Color.end(),
                             {uint8_t(color.B), uint8_t(color.G), uint8_t(color.R)});
    }
    if (alpha) picture.Alpha.assign(size_t(width) * height, uint8_t(color.A));
    return picture;
}

inline void SetPixel(TPngPicture& picture, int x, int y, TRgba color) {
    uint8_t* c = picture.ColorRow(y) + x * 3;
    c[0] = uint8_t(color.B);
    c[1] = uint8_t(color.G);
    c[2] = uint8_t(color.R);
    if (picture.HasAlpha()) picture.AlphaRow(y)[x] = uint8_t(color.A);
}

inline TRgba PixelAt(const TPngPicture& picture, int x, int y) {
    const uint8_t* c = picture.ColorRow(y) + x * 3;
    return {c[2], c[1], c[0], picture.HasAlpha() ? picture.AlphaRow(y)[x] : 255};
}

inline void AddEntry(TFileFolder& archive, const std::string& name, const std::string& text,
                     uint16_t kind = 1) {
    archive.AddFile(name, kind, TMemoryStream(text));
}

inline void AddPictureEntry(TFileFolder& archive, const std::string& name,
                            const TPngPicture& picture) {
    archive.AddFile(name, 2, TMemoryStream(picture.Encode()));
}

// The archive's entry decoded; the test fails on a missing entry.
inline TPngPicture EntryPicture(TFileFolder& archive, const std::string& name) {
    const TMemoryStream* stream = archive.FindFile(name);
    if (!stream) throw std::runtime_error("no entry " + name);
    return TPngPicture::Decode({stream->Memory(), stream->Size()});
}
