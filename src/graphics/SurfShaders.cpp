// The store's shader filter, antialiased lines and colour shift.
#include <algorithm>
#include <cmath>

#include "core/ColorHLS.h"
#include "graphics/SurfEngine.h"
#include "resources/JpegPNG.h"

void TSurfEngine::AddShader(const std::string& name, const TPngPicture& picture) {
    static const int grid[9][2] = {{0, 0},     {128, 0}, {255, 0},   {0, 128},  {128, 128},
                                   {255, 128}, {0, 255}, {128, 255}, {255, 255}};
    TSurfaceShader shader;
    shader.Name = name;
    shader.Width = picture.Width;
    shader.Height = picture.Height;
    shader.Kernels.resize(size_t(picture.Width) * picture.Height * 9);
    for (int y = 0; y < picture.Height; ++y) {
        const uint8_t* bgr = picture.ColorRow(y);
        for (int x = 0; x < picture.Width; ++x, bgr += 3) {
            const int r = bgr[2], g = bgr[1], b = bgr[0];
            // f(x) = 1 + x / tan(B pi / 512 + pi / 2), cut at 0.
            const double slope = std::tan(b * M_PI / 512 + M_PI / 2);
            double weights[9], total = 0;
            for (int j = 0; j < 9; ++j) {
                const int distance = (std::abs(grid[j][0] - r) + std::abs(grid[j][1] - g)) / 2;
                weights[j] = std::nearbyint(255 * std::max(0.0, 1 + (distance / 128.0) / slope));
                total += weights[j];
            }
            uint8_t* kernel = &shader.Kernels[9 * (size_t(y) * picture.Width + x)];
            for (int j = 0; j < 9; ++j) {
                kernel[j] = total <= 0.1 ? 0 : uint8_t(std::nearbyint(weights[j] * 255 / total));
            }
            if (total <= 0.1) kernel[4] = 255;
        }
    }
    Shaders.push_back(std::move(shader));
}

int TSurfEngine::IndexOfShader(const std::string& name) const {
    for (size_t i = 0; i < Shaders.size(); ++i) {
        if (Shaders[i].Name == name) return int(i);
    }
    return -1;
}

void TSurfEngine::DrawShader(const std::string& dest, const std::string& shader,
                             const std::string& source, int x, int y, const TRect* rect) {
    if (x > ScreenWidth || y > ScreenHeight) return;
    const int index = IndexOfShader(shader);
    TSurface* s = FindSurface(source);
    TSurface* d = FindSurface(dest);
    if (index < 0 || !s || !d || !s->HasSurface() || !d->HasSurface()) return;
    const TSurfaceShader& sh = Shaders[size_t(index)];
    int64_t left = rect ? rect->Left : 0, top = rect ? rect->Top : 0;
    int64_t right = rect ? rect->Right : sh.Width - 1, bottom = rect ? rect->Bottom : sh.Height - 1;
    if (x + (right - left) >= ScreenWidth) right = left + ScreenWidth - x - 1;
    if (y + (bottom - top) >= ScreenHeight) bottom = top + ScreenHeight - y - 1;
    if (x < 0 || y < 0) return;
    // Shader pixels (sx, sy) land at (sx + dx, sy + dy): keep them inside the shader, their
    // destination inside the destination and their 3 x 3 neighbourhood inside the source.
    const int64_t dx = x - left, dy = y - top;
    const int64_t sx0 = std::max({left + 1, int64_t(0), 1 - dx});
    const int64_t sy0 = std::max({top + 1, int64_t(0), 1 - dy});
    const int64_t sx1 = std::min(
        {right - 2, int64_t(sh.Width) - 1, int64_t(s->Width) - 2 - dx, int64_t(d->Width) - 1 - dx});
    const int64_t sy1 = std::min({bottom - 2, int64_t(sh.Height) - 1, int64_t(s->Height) - 2 - dy,
                                  int64_t(d->Height) - 1 - dy});
    if (sx0 > sx1 || sy0 > sy1) return;
    if (PixelFormat.BitCount != 16) {
        ShaderFilter<uint32_t>(d->View(), s->View(), sh.Kernels.data(), sh.Width, int(sx0),
                               int(sy0), int(sx1), int(sy1), int(dx), int(dy), PixelFormat);
    } else {
        ShaderFilter<uint16_t>(d->View(), s->View(), sh.Kernels.data(), sh.Width, int(sx0),
                               int(sy0), int(sx1), int(sy1), int(dx), int(dy), PixelFormat);
    }
}

void TSurfEngine::DrawLine(const std::string& dest, uint32_t color, double x1, double y1, double x2,
                           double y2, uint8_t alpha) {
    TSurface* d = FindSurface(dest);
    if (!d || !d->HasSurface()) return;
    // Coordinates far off the screen (or not numbers) draw nothing.
    for (double v : {x1, y1, x2, y2}) {
        if (!(std::abs(v) <= 1e6)) return;
    }
    if (x2 - x1 == 0 && y2 - y1 == 0) return;
    const bool yMajor = !(std::abs(x2 - x1) > std::abs(y2 - y1));
    if (yMajor) {
        std::swap(x1, y1);
        std::swap(x2, y2);
    }
    if (x2 < x1) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const double gradient = (y2 - y1) / (x2 - x1);
    const int bpp = PixelFormat.BytesPerPixel();
    const int maxX = std::min(ScreenWidth - 1, d->Width - 1);
    const int maxY = std::min(ScreenHeight - 1, d->Height - 1);
    auto plot = [&](int major, int minor, double intensity) {
        const int px = yMajor ? minor : major, py = yMajor ? major : minor;
        if (px < 1 || px > maxX || py < 1 || py > maxY) return;
        const int w = std::clamp(int(std::nearbyint(intensity)), 0, 255);
        uint8_t* pixel = d->Bits + size_t(py) * d->Pitch + size_t(px) * bpp;
        if (bpp == 4) {
            LinePixel<uint32_t>(pixel, w, color, PixelFormat);
        } else {
            LinePixel<uint16_t>(pixel, w, color, PixelFormat);
        }
    };
    auto frac = [](double v) { return v - std::floor(v); };
    const double xe1 = std::floor(x1 + 0.5);
    const double ye1 = y1 + gradient * (xe1 - x1);
    const double gap1 = 1 - frac(x1 + 0.5);
    plot(int(xe1), int(std::floor(ye1)), alpha * (1 - frac(ye1)) * gap1);
    plot(int(xe1), int(std::floor(ye1)) + 1, alpha * frac(ye1) * gap1);
    const double xe2 = std::floor(x2 + 0.5);
    const double ye2 = y2 + gradient * (xe2 - x2);
    const double gap2 = 1 - frac(x2 - 0.5);
    plot(int(xe2), int(std::floor(ye2)), alpha * (1 - frac(ye2)) * gap2);
    plot(int(xe2), int(std::floor(ye2)) + 1, alpha * frac(ye2) * gap2);
    // The span between the ends, walked only across the screen.
    const int last = std::min(int(xe2) - 1, (yMajor ? maxY : maxX) + 1);
    int x = int(xe1) + 1;
    double y = ye1 + gradient;
    if (x < -1) {
        y += gradient * (-1 - x);
        x = -1;
    }
    for (; x <= last; ++x, y += gradient) {
        plot(x, int(std::floor(y)), alpha * (1 - frac(y)));
        plot(x, int(std::floor(y)) + 1, alpha * frac(y));
    }
}

void TSurfEngine::ChangeHLS(const std::string& name, int dH, int dL, int dS) {
    TSurface* surface = FindSurface(name);
    if (!surface || !surface->HasSurface()) return;
    const bool wide = PixelFormat.BitCount != 16;
    const uint32_t masks[3] = {PixelFormat.RMask, PixelFormat.GMask, PixelFormat.BMask};
    const int shifts[3] = {PixelFormat.RShift, PixelFormat.GShift, PixelFormat.BShift};
    const int drop[3] = {8 - std::min<int>(PixelFormat.RBits, 8),
                         8 - std::min<int>(PixelFormat.GBits, 8),
                         8 - std::min<int>(PixelFormat.BBits, 8)};
    for (int y = 0; y < surface->Height; ++y) {
        uint8_t* p = surface->Bits + size_t(y) * surface->Pitch;
        for (int x = 0; x < surface->Width; ++x, p += wide ? 4 : 2) {
            int c[3];
            uint32_t word = 0;
            if (wide) {
                c[0] = p[0], c[1] = p[1], c[2] = p[2];
            } else {
                word = LoadPixel<uint16_t>(p);
                for (int i = 0; i < 3; ++i) {
                    c[i] = int(((word & masks[i]) >> shifts[i]) << drop[i]) + (1 << drop[i]);
                }
            }
            const THLS hls = RGBToHLS(c[0], c[1], c[2]);
            const TRGB rgb = HLSToRGB(hls.H + dH, hls.L + dL, hls.S + dS);
            if (wide) {
                p[0] = uint8_t(rgb.R), p[1] = uint8_t(rgb.G), p[2] = uint8_t(rgb.B);
            } else {
                const int back[3] = {rgb.R, rgb.G, rgb.B};
                uint32_t result = 0;
                for (int i = 0; i < 3; ++i) {
                    result |= (uint32_t(back[i] >> drop[i]) << shifts[i]) & masks[i];
                }
                StorePixel<uint16_t>(p, uint16_t(result));
            }
        }
    }
}
