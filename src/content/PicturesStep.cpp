// The pictures step over std::filesystem, the SVG renderer and the PNG and JPEG encoders.
#include "content/PicturesStep.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "content/DataBuilder.h"
#include "content/SvgRenderer.h"

namespace fs = std::filesystem;

namespace {

constexpr int JpegQuality = 90;

std::vector<uint8_t> ReadSource(const fs::path& path) {
    TMemoryStream stream;
    stream.LoadFromFile(path.string());
    return stream.Bytes();
}

void AddEntry(TFileFolder& archive, const std::string& name, std::vector<uint8_t> bytes) {
    if (name.size() > TFileFolder::MaxNameLength)
        throw std::runtime_error("entry name longer than 32 characters: " + name);
    if (archive.IndexOfFile(name) >= 0)
        throw std::runtime_error("entry " + name + " is already in the archive");
    archive.AddFile(name, 1, TMemoryStream(std::move(bytes)));
}

// The colour as it shows over black, for pictures stored without alpha.
TBitmap24 OverBlack(const TPngPicture& picture) {
    TBitmap24 bitmap;
    bitmap.Width = picture.Width;
    bitmap.Height = picture.Height;
    bitmap.Bgr.resize(picture.Color.size());
    for (int y = 0; y < picture.Height; ++y) {
        const uint8_t* colour = picture.ColorRow(y);
        const uint8_t* alpha = picture.AlphaRow(y);
        uint8_t* out = bitmap.Row(y);
        for (int x = 0; x < 3 * picture.Width; ++x)
            out[x] = uint8_t((colour[x] * alpha[x / 3] + 127) / 255);
    }
    return bitmap;
}

TPngPicture RenderWhole(const fs::path& path) {
    const TSvgPicture svg(ReadSource(path));
    TPngPicture picture = BlankPicture(svg.Width(), svg.Height());
    svg.Render(picture, 0, 0, svg.Width(), svg.Height(), {}, {});
    return picture;
}

void AddStrips(const fs::path& recipePath, TFileFolder& archive) {
    const std::vector<uint8_t> text = ReadSource(recipePath);
    const TStripRecipe recipe = ParseStripRecipe(std::string(text.begin(), text.end()));
    const TSvgPicture svg(ReadSource(recipePath.parent_path() / recipe.Source));
    for (const TStripOutput& output : recipe.Outputs)
        AddEntry(archive, output.Entry, RenderStripOutput(svg, recipe, output).Encode());
}

}  // namespace

void AddPictures(const std::string& dataDir, TFileFolder& archive) {
    const fs::path root = fs::path(dataDir) / "pictures";
    if (!fs::is_directory(root)) return;

    const std::vector<fs::path> files = SourceFiles(root);

    for (const fs::path& file : files) {
        const std::string name = file.filename().string();
        const fs::path path = root / file;
        try {
            if (name.ends_with(".png.svg")) {
                AddEntry(archive, name.substr(0, name.size() - 4), RenderWhole(path).Encode());
            } else if (name.ends_with(".jpg.svg")) {
                AddEntry(archive, name.substr(0, name.size() - 4),
                         EncodeJpeg(OverBlack(RenderWhole(path)), JpegQuality));
            } else if (name.ends_with(".strips")) {
                AddStrips(path, archive);
            } else if (!name.ends_with(".svg")) {
                throw std::runtime_error("not a picture source");
            }
        } catch (const std::exception& error) {
            throw std::runtime_error(file.generic_string() + ": " + error.what());
        }
    }
}
