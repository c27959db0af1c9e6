// Mirroring, bilinear rotation and scaling, and cropping of script pictures.
#include "resources/PictureOps.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

void CheckSize(int width, int height) {
    if (width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide ||
        int64_t(width) * height > MaxPicturePixels) {
        throw std::runtime_error("'" + std::to_string(width) + " x " + std::to_string(height) +
                                 "' is not a valid picture size");
    }
}

TPngPicture EmptyLike(const TPngPicture& picture, int width, int height) {
    TPngPicture result = BlackPicture(width, height);
    if (picture.HasAlpha()) {
        result.ColorType = pctRgbAlpha;
        result.Alpha.assign(size_t(width) * height, 0);
    }
    return result;
}

// Channel values of a picture at whole positions, with a fixed answer outside it.
struct TSampler {
    const TPngPicture& Picture;
    bool ClampToEdge;

    // Fills the 3 colour channels and the alpha of the pixel (x, y) into out[0..3].
    void Pixel(int x, int y, double* out) const {
        if (ClampToEdge) {
            x = std::clamp(x, 0, Picture.Width - 1);
            y = std::clamp(y, 0, Picture.Height - 1);
        } else if (x < 0 || y < 0 || x >= Picture.Width || y >= Picture.Height) {
            std::fill(out, out + 4, 0.0);
            return;
        }
        const uint8_t* c = Picture.ColorRow(y) + size_t(x) * 3;
        out[0] = c[0];
        out[1] = c[1];
        out[2] = c[2];
        out[3] = Picture.HasAlpha() ? Picture.AlphaRow(y)[x] : 255;
    }

    // The bilinear mix at (x, y) written to the target pixel (tx, ty) of `target`.
    void Sample(double x, double y, TPngPicture& target, int tx, int ty) const {
        // Far outside the picture every neighbour is a border or outside pixel; limiting the
        // position (NaN included, from extreme centres) keeps the whole-number conversion defined.
        x = x >= -2.0 ? std::min(x, Picture.Width + 1.0) : -2.0;
        y = y >= -2.0 ? std::min(y, Picture.Height + 1.0) : -2.0;
        const double fx = std::floor(x), fy = std::floor(y);
        const double wx = x - fx, wy = y - fy;
        const int x0 = int(fx), y0 = int(fy);
        double p00[4], p10[4], p01[4], p11[4];
        Pixel(x0, y0, p00);
        Pixel(x0 + 1, y0, p10);
        Pixel(x0, y0 + 1, p01);
        Pixel(x0 + 1, y0 + 1, p11);
        uint8_t* c = target.ColorRow(ty) + size_t(tx) * 3;
        for (int i = 0; i < 4; ++i) {
            const double top = p00[i] + (p10[i] - p00[i]) * wx;
            const double bottom = p01[i] + (p11[i] - p01[i]) * wx;
            const auto value =
                uint8_t(std::clamp(std::lround(top + (bottom - top) * wy), 0L, 255L));
            if (i < 3)
                c[i] = value;
            else if (target.HasAlpha())
                target.AlphaRow(ty)[tx] = value;
        }
    }
};

}  // namespace

TPngPicture BlackPicture(int width, int height) {
    CheckSize(width, height);
    TPngPicture picture;
    picture.Width = width;
    picture.Height = height;
    picture.ColorType = pctRgb;
    picture.Color.assign(size_t(width) * height * 3, 0);
    return picture;
}

void FlipHorizontal(TPngPicture& picture) {
    for (int y = 0; y < picture.Height; ++y) {
        uint8_t* row = picture.ColorRow(y);
        for (int l = 0, r = picture.Width - 1; l < r; ++l, --r)
            std::swap_ranges(row + size_t(l) * 3, row + size_t(l) * 3 + 3, row + size_t(r) * 3);
        if (picture.HasAlpha())
            std::reverse(picture.AlphaRow(y), picture.AlphaRow(y) + picture.Width);
    }
}

void FlipVertical(TPngPicture& picture) {
    for (int t = 0, b = picture.Height - 1; t < b; ++t, --b) {
        std::swap_ranges(picture.ColorRow(t), picture.ColorRow(t) + size_t(picture.Width) * 3,
                         picture.ColorRow(b));
        if (picture.HasAlpha())
            std::swap_ranges(picture.AlphaRow(t), picture.AlphaRow(t) + picture.Width,
                             picture.AlphaRow(b));
    }
}

void RotatePicture(TPngPicture& picture, double centerX, double centerY, double degrees) {
    const double radians = std::fmod(degrees, 360.0) * std::numbers::pi / 180;
    const double c = std::cos(radians), s = std::sin(radians);
    TPngPicture result = EmptyLike(picture, picture.Width, picture.Height);
    const TSampler sampler{picture, false};
    // Screen y grows downwards, so turning counter-clockwise on the screen maps each target pixel
    // back to its source with the plain rotation matrix of +degrees.
    for (int y = 0; y < picture.Height; ++y) {
        for (int x = 0; x < picture.Width; ++x) {
            const double dx = x - centerX, dy = y - centerY;
            sampler.Sample(centerX + c * dx - s * dy, centerY + s * dx + c * dy, result, x, y);
        }
    }
    picture = std::move(result);
}

void RotateAboutCenter(TPngPicture& picture, double degrees) {
    RotatePicture(picture, (picture.Width - 1) / 2.0, (picture.Height - 1) / 2.0, degrees);
}

void ScalePicture(TPngPicture& picture, int width, int height) {
    TPngPicture result = EmptyLike(picture, width, height);
    const TSampler sampler{picture, true};
    const double sx = double(picture.Width) / width, sy = double(picture.Height) / height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            sampler.Sample((x + 0.5) * sx - 0.5, (y + 0.5) * sy - 0.5, result, x, y);
    picture = std::move(result);
}

void CropPicture(TPngPicture& picture, int left, int top, int width, int height) {
    CheckSize(width, height);
    const int64_t l = std::max<int64_t>(left, 0), t = std::max<int64_t>(top, 0);
    const int64_t r = std::min<int64_t>(int64_t(left) + width, picture.Width);
    const int64_t b = std::min<int64_t>(int64_t(top) + height, picture.Height);
    if (l >= r || t >= b) throw std::runtime_error("The crop rectangle lies outside the picture");
    TPngPicture result = EmptyLike(picture, int(r - l), int(b - t));
    for (int y = 0; y < result.Height; ++y) {
        const uint8_t* from = picture.ColorRow(int(t) + y) + l * 3;
        std::copy(from, from + size_t(result.Width) * 3, result.ColorRow(y));
        if (picture.HasAlpha()) {
            const uint8_t* alpha = picture.AlphaRow(int(t) + y) + l;
            std::copy(alpha, alpha + result.Width, result.AlphaRow(y));
        }
    }
    picture = std::move(result);
}
