// tervolin-tool text: draws a text with a font of the archive the way the game draws it (the
// font's layout, the surface store's DrawText) onto a transparent picture just large enough and
// saves it as PNG, so that authors can look at every font.
#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "ToolCommand.h"
#include "core/KelParserText.h"
#include "core/Utf8.h"
#include "graphics/KelFont.h"
#include "graphics/KelFontEngine.h"
#include "graphics/SurfEngine.h"
#include "platform/HeadlessPlatform.h"
#include "resources/FileFolder.h"
#include "resources/JpegPNG.h"

namespace {

// The horizontal extent of the placements of one draw, without drawing them.
struct TMeasuringHost : IKelFontHost {
    const TKelFontEngine* Engine = nullptr;
    int64_t Left = 0, Right = 0;  // right exclusive
    void ExtDraw(const std::string&, int count) override {
        for (int i = 0; i < count; ++i) {
            const TCharsRect& p = Engine->Placements[size_t(i)];
            Left = std::min<int64_t>(Left, p.X);
            Right =
                std::max(Right, int64_t(p.X) + std::max<int64_t>(int64_t(p.Right) - p.Left + 1, 0));
        }
    }
};

// The game's host: the placements go to the surface store's DrawText.
struct TSurfaceHost : IKelFontHost {
    TSurfEngine* Surfaces = nullptr;
    const TKelFontEngine* Engine = nullptr;
    std::string Destination;
    void ExtDraw(const std::string& fontPicture, int count) override {
        Surfaces->DrawText(fontPicture, Destination, count, Engine->Placements.data());
    }
};

TMemoryStream& Entry(TFileFolder& archive, const std::string& name) {
    TMemoryStream* stream = archive.FindFile(name);
    if (!stream) throw std::runtime_error("the archive has no entry " + name);
    return *stream;
}

}  // namespace

static int RunText(const ToolArgs& args) {
    if (args.size() != 4 && args.size() != 5) {
        std::fprintf(stderr, "usage: tervolin-tool text ARCHIVE FONT TEXT OUT.png [COLOUR]\n");
        return 2;
    }
    int32_t colour = 0xFFFFFF;
    if (args.size() == 5 && !TryStrToInt(args[4], colour))
        throw std::runtime_error("COLOUR is not a number: " + args[4]);

    TFileFolder archive = TFileFolder::Open(args[0]);
    if (!archive.LastError().empty()) throw std::runtime_error(archive.LastError());
    TKelFontEngine fonts;
    TKelFont* font = fonts.LoadFontFromStream(Entry(archive, args[1] + ".xml"));
    const std::u32string text = Utf8ToWide(args[2]);

    // Lay the text out once to learn how wide the drawn glyphs reach, then draw it white onto
    // black: every pixel's value is then the opacity the game gives the text at that pixel.
    TMeasuringHost measure;
    measure.Engine = &fonts;
    fonts.Host = &measure;
    font->DrawString(0, 0, 0xFFFFFF, 255, text);
    const int64_t wide =
        std::max<int64_t>({measure.Right, font->TextWidth(text), 1}) - measure.Left;
    const int height = std::max(font->Height - 1, 1);  // the bottom row of a cell is not drawn
    if (wide > TSurfEngine::MaxSurfaceSide || height > TSurfEngine::MaxSurfaceSide)
        throw std::runtime_error("the text is too large for a picture");
    const int width = int(wide);

    HeadlessDisplay display;
    display.Open(false, 32);
    TSurfEngine surfaces;
    surfaces.Create(display, width, height);
    TMemoryStream& picture = Entry(archive, font->Picture);
    surfaces.AddPngSurface(font->Picture, font->Picture, picture.Bytes(), true);
    if (!surfaces.CreateEmptySurface("Text", width, height))
        throw std::runtime_error("no picture of " + std::to_string(width) + " x " +
                                 std::to_string(height) + " pixels");
    TSurfaceHost host;
    host.Surfaces = &surfaces;
    host.Engine = &fonts;
    host.Destination = "Text";
    fonts.Host = &host;
    font->DrawString(int32_t(-measure.Left), 0, 0xFFFFFF, 255, text);

    const TSurface& drawn = *surfaces.FindSurface("Text");
    TPngPicture out;
    out.Width = width;
    out.Height = height;
    out.ColorType = pctRgbAlpha;
    out.Color.resize(size_t(width) * height * 3);
    out.Alpha.resize(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t i = size_t(y) * width + x;
            out.Color[i * 3] = uint8_t(colour >> 16);     // blue
            out.Color[i * 3 + 1] = uint8_t(colour >> 8);  // green
            out.Color[i * 3 + 2] = uint8_t(colour);       // red
            out.Alpha[i] = drawn.Bits[size_t(y) * drawn.Pitch + size_t(x) * 4 + 1];
        }
    const std::vector<uint8_t> png = out.Encode();
    TMemoryStream(png).SaveToFile(args[3]);
    return 0;
}

static ToolCommand textCommand{"text", "text ARCHIVE FONT TEXT OUT.png [COLOUR]", &RunText};
