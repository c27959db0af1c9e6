// The surface store: records, creation, deletion, alpha buffers and loading pictures from PNG and
// JPEG bytes and files.
#include "graphics/SurfEngine.h"

#include <algorithm>

#include "core/KelException.h"
#include "core/TextCase.h"
#include "platform/Paths.h"
#include "resources/JpegPNG.h"

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

void TSurfEngine::Create(IDisplay& display, int width, int height) {
    Display = &display;
    ScreenWidth = width;
    ScreenHeight = height;
    PixelFormat = TPixelLayout::FromFormat(display.PixelFormat());
    ClipList = {WholeScreen()};
}

void TSurfEngine::Destroy() {
    Surfaces.clear();
    Shaders.clear();
    ClipList.clear();
    Display = nullptr;
}

int TSurfEngine::IndexOfSurface(const std::string& name) const {
    for (size_t i = 0; i < Surfaces.size(); ++i) {
        if (Surfaces[i].Name == name) return int(i);
    }
    return -1;
}

TSurface* TSurfEngine::FindSurface(const std::string& name) {
    const int index = IndexOfSurface(name);
    return index < 0 ? nullptr : &Surfaces[size_t(index)];
}

void TSurfEngine::AddSurface(TSurface surface) {
    Surfaces.push_back(std::move(surface));
}

TPoint TSurfEngine::GetSurfaceSize(const std::string& name) const {
    const int index = IndexOfSurface(name);
    if (index < 0) return {0, 0};
    return {Surfaces[size_t(index)].Width, Surfaces[size_t(index)].Height};
}

void TSurfEngine::DeleteSurface(const std::string& name) {
    const int index = IndexOfSurface(name);
    if (index >= 0) Surfaces.erase(Surfaces.begin() + index);
}

bool TSurfEngine::CreateSurface(TSurface& surface, int width, int height) {
    if (width < 1 || height < 1 || width > MaxSurfaceSide || height > MaxSurfaceSide) return false;
    const int pitch = (width * PixelFormat.BytesPerPixel() + 3) & ~3;
    Guarded("Exception Error in TSurfEngine.CreateSurface.",
            [&] { surface.Pixels.assign(size_t(pitch) * height, 0); });
    surface.Bits = surface.Pixels.data();
    surface.Pitch = pitch;
    surface.Width = width;
    surface.Height = height;
    return true;
}

bool TSurfEngine::CreateEmptySurface(const std::string& name, int width, int height) {
    TSurface surface;
    if (!CreateSurface(surface, width, height)) return false;
    surface.Name = name;
    AddSurface(std::move(surface));
    return true;
}

void TSurfEngine::CreateAlphaChannel(const std::string& name, uint8_t value) {
    TSurface* surface = FindSurface(name);
    if (!surface) return;
    surface->Alpha.assign(size_t(surface->Width) * surface->Height, value);
    surface->AlphaPitch = surface->Width;
}

void TSurfEngine::FillAlphaChannel(const std::string& name, uint8_t value) {
    TSurface* surface = FindSurface(name);
    if (surface && surface->HasAlpha())
        std::fill(surface->Alpha.begin(), surface->Alpha.end(), value);
}

void TSurfEngine::ReleaseSurfaces() {
    for (TSurface& surface : Surfaces) {
        surface.Pixels = {};
        surface.Bits = nullptr;
        surface.Pitch = 0;
    }
}

void TSurfEngine::Pack(TSurface& surface, const TPngPicture& picture) const {
    const bool wide = PixelFormat.BitCount != 16;
    for (int y = 0; y < picture.Height; ++y) {
        const uint8_t* bgr = picture.ColorRow(y);
        uint8_t* row = surface.Bits + size_t(y) * surface.Pitch;
        for (int x = 0; x < picture.Width; ++x, bgr += 3) {
            const uint32_t pixel = PixelFormat.Pack(bgr[2], bgr[1], bgr[0]);
            if (wide) {
                StorePixel<uint32_t>(row + 4 * x, pixel);
            } else {
                StorePixel<uint16_t>(row + 2 * x, uint16_t(pixel));
            }
        }
    }
}

void TSurfEngine::AddPngSurface(const std::string& name, const std::string& fileName,
                                std::span<const uint8_t> bytes, bool alwaysAlpha) {
    const TPngPicture picture = TPngPicture::Decode(bytes);
    TSurface surface;
    if (!CreateSurface(surface, picture.Width, picture.Height)) return;
    surface.Name = name;
    surface.FileName = fileName;
    if (picture.HasAlpha()) {
        surface.Alpha = picture.Alpha;
        surface.AlphaPitch = picture.Width;
    } else if (alwaysAlpha) {
        surface.Alpha.assign(size_t(picture.Width) * picture.Height, 255);
        surface.AlphaPitch = picture.Width;
    }
    Pack(surface, picture);
    AddSurface(std::move(surface));
}

void TSurfEngine::AddJpegSurface(const std::string& name, const std::string& fileName,
                                 std::span<const uint8_t> bytes) {
    TPngPicture picture;
    picture.Assign(DecodeJpeg(bytes));
    TSurface surface;
    if (!CreateSurface(surface, picture.Width, picture.Height)) return;
    surface.Name = name;
    surface.FileName = fileName;
    Pack(surface, picture);
    AddSurface(std::move(surface));
}

bool TSurfEngine::LoadDiskPicture(const std::string& name, const std::string& fileName,
                                  const std::string& path, bool png) {
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadPictureFile(path);
    } catch (const TPictureFileMissing&) {
        return false;
    }
    const size_t before = Surfaces.size();
    if (png) {
        AddPngSurface(name, fileName, bytes, false);
    } else {
        AddJpegSurface(name, fileName, bytes);
    }
    return Surfaces.size() > before;
}

bool TSurfEngine::LoadPNGFromFile(const std::string& name, const std::string& path) {
    return LoadDiskPicture(name, path, path, true);
}

bool TSurfEngine::LoadJPGFromFile(const std::string& name, const std::string& path) {
    return LoadDiskPicture(name, path, path, false);
}

int TSurfEngine::LoadLoosePictures(const std::string& folder) {
    int added = 0;
    for (const std::string& fileName : ListFolder(folder)) {
        const std::string lower = LowerCase(fileName);
        const bool png = EndsWith(lower, ".png");
        const bool jpeg = EndsWith(lower, ".jpg") || EndsWith(lower, ".jpeg");
        if (!png && !jpeg) continue;
        const std::string path = JoinPath(folder, fileName);
        try {
            if (png ? LoadPNGFromFile(fileName, path) : LoadJPGFromFile(fileName, path)) ++added;
        } catch (const TPictureError& error) {
            WriteLog("Picture " + fileName + " not loaded: " + error.what());
        }
    }
    return added;
}
