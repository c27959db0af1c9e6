// Fuzz target for image scripts: the bytes are run as a script over an archive holding a few small
// pictures (colour PNG, PNG with alpha, JPEG). Script errors are expected; crashes, leaks,
// overreads and huge allocations are not.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "resources/FileFolder.h"
#include "resources/ImageScript.h"
#include "resources/JpegPNG.h"

namespace {

TPngPicture Gradient(int width, int height, bool alpha) {
    TPngPicture picture;
    picture.Width = width;
    picture.Height = height;
    picture.ColorType = alpha ? pctRgbAlpha : pctRgb;
    for (int i = 0; i < width * height; ++i) {
        picture.Color.insert(picture.Color.end(), {uint8_t(i * 7), uint8_t(i * 13), uint8_t(i)});
        if (alpha) picture.Alpha.push_back(uint8_t(i * 29));
    }
    return picture;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<uint8_t> rgb = Gradient(5, 3, false).Encode();
    static const std::vector<uint8_t> rgba = Gradient(4, 6, true).Encode();
    static const std::vector<uint8_t> jpeg = EncodeJpeg(Gradient(8, 8, false).ToBitmap(), 80);
    TFileFolder archive = TFileFolder::CreateEmpty("fuzz.zxc");
    archive.AddFile("a.png", 2, TMemoryStream(rgb));
    archive.AddFile("b.PNG", 2, TMemoryStream(rgba));
    archive.AddFile("c.jpg", 2, TMemoryStream(jpeg));
    archive.AddFile("d.png", 2, TMemoryStream(std::vector<uint8_t>{0x89, 'P', 'N', 'G'}));
    try {
        RunImageScript(archive, std::string(reinterpret_cast<const char*>(data), size));
    } catch (const std::exception&) {
    }
    return 0;
}
