// Reading the window's icon.
#include "app/WindowIcon.h"

#include "resources/JpegPNG.h"

TIconPixels LoadIconPixels(const std::string& path) {
    constexpr int MaxIconSide = 256;
    TPngPicture picture;
    try {
        picture = TPngPicture::LoadFromFile(path);
    } catch (const TPictureError&) {
        return {};
    }
    if (picture.Width > MaxIconSide || picture.Height > MaxIconSide) return {};
    picture.CreateAlpha();
    TIconPixels icon{picture.Width, picture.Height, {}};
    icon.Argb.reserve(size_t(icon.Width) * icon.Height);
    for (int y = 0; y < icon.Height; ++y) {
        const uint8_t* bgr = picture.ColorRow(y);
        const uint8_t* alpha = picture.AlphaRow(y);
        for (int x = 0; x < icon.Width; ++x, bgr += 3)
            icon.Argb.push_back(uint32_t(alpha[x]) << 24 | uint32_t(bgr[2]) << 16 |
                                uint32_t(bgr[1]) << 8 | bgr[0]);
    }
    return icon;
}
