// tervolin-tool pieces ARCHIVE OUT.png: a contact sheet of the piece pictures exactly as the game
// builds them (BuildColorFishPictures for every type and colour, MakeGhostFishes): for each
// type a block of its colours (rows) by its piece combinations (columns, frame 0), the ghosts
// under the blocks, all on a dark and again on a light background. Used to judge the art and to
// tune the colour table through the game's own recolouring.
#include <cstdio>

#include "ToolCommand.h"
#include "app/FishPictures.h"
#include "platform/HeadlessPlatform.h"
#include "resources/JpegPNG.h"

namespace {

constexpr int CellWidth = 70, CellHeight = 78, Margin = 12;
constexpr uint32_t Backgrounds[] = {0x1C1814, 0xE6DAC0};  // 0xRRGGBB: dark earth, light sand

TFishkaTypes LoadTypes(TFileFolder& archive) {
    TMemoryStream* entry = archive.FindFile("FishkaTypes.xml");
    if (!entry) throw std::runtime_error("the archive has no FishkaTypes.xml");
    TKelParser document;
    document.LoadFromString(entry->ToString());
    TFishkaTypes types;
    std::vector<std::string> problems;
    ReadFishkaTypes(document, types, &problems);
    for (const std::string& problem : problems)
        std::fprintf(stderr, "FishkaTypes.xml: %s\n", problem.c_str());
    return types;
}

void Fill(TSurface& sheet, int top, int height, uint32_t rgb) {
    for (int y = top; y < top + height; ++y) {
        uint8_t* p = sheet.Bits + size_t(y) * sheet.Pitch;
        for (int x = 0; x < sheet.Width; ++x, p += 4) {
            p[0] = uint8_t(rgb), p[1] = uint8_t(rgb >> 8), p[2] = uint8_t(rgb >> 16), p[3] = 0;
        }
    }
}

TPngPicture ToPicture(const TSurface& sheet) {
    TPngPicture picture;
    picture.Width = sheet.Width;
    picture.Height = sheet.Height;
    picture.ColorType = pctRgb;
    picture.Color.resize(size_t(sheet.Width) * sheet.Height * 3);
    for (int y = 0; y < sheet.Height; ++y) {
        const uint8_t* p = sheet.Bits + size_t(y) * sheet.Pitch;
        uint8_t* bgr = picture.ColorRow(y);
        for (int x = 0; x < sheet.Width; ++x, p += 4, bgr += 3) {
            bgr[0] = p[0], bgr[1] = p[1], bgr[2] = p[2];
        }
    }
    return picture;
}

// Draws a picture centred in the cell whose top-left corner is (x, y).
void Place(TSurfEngine& store, const std::string& name, int x, int y) {
    const TPoint size = store.GetSurfaceSize(name);
    store.DrawWithAlphaChannel(name, "Sheet", x + (CellWidth - size.X) / 2,
                               y + (CellHeight - size.Y) / 2, 255, nullptr);
}

int RunPieces(const ToolArgs& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tervolin-tool pieces ARCHIVE OUT.png\n");
        return 2;
    }
    TFileFolder archive = TFileFolder::Open(args[0]);
    if (!archive.LastError().empty()) throw std::runtime_error(archive.LastError());
    TFishkaTypes types = LoadTypes(archive);

    std::vector<TFishSpec> every;
    int columns = 0, rows = 1;
    for (size_t t = 0; t < types.size(); ++t) {
        for (int k = 0; k < types[t].ColorCount; ++k) every.push_back({int32_t(t), k});
        columns += (1 << types[t].PieceCount) - 1;
        rows = std::max<int>(rows, types[t].ColorCount + 1);
    }
    const int width = columns * CellWidth + (int(types.size()) + 1) * Margin;
    const int half = rows * CellHeight + 2 * Margin;

    HeadlessDisplay display;
    display.Open(false, 32);
    TSurfEngine store;
    store.Create(display, width, 2 * half);
    BuildColorFishPictures(store, archive, types, every);
    MakeGhostFishes(store, archive, types);

    store.CreateEmptySurface("Sheet", width, 2 * half);
    TSurface& sheet = *store.FindSurface("Sheet");
    for (int b = 0; b < 2; ++b) {
        Fill(sheet, b * half, half, Backgrounds[b]);
        int left = Margin;
        for (size_t t = 0; t < types.size(); ++t) {
            const int masks = (1 << types[t].PieceCount) - 1;
            for (int q = 1; q <= masks; ++q) {
                const int x = left + (q - 1) * CellWidth;
                for (int k = 0; k < types[t].ColorCount; ++k)
                    Place(store, FishPictureName(types[t], q, k), x,
                          b * half + Margin + k * CellHeight);
                if (t == 0) {
                    Place(store, GhostPictureName(types[t], q), x,
                          b * half + Margin + types[t].ColorCount * CellHeight);
                }
            }
            left += masks * CellWidth + Margin;
        }
    }
    const std::vector<uint8_t> png = ToPicture(sheet).Encode();
    TMemoryStream(png).SaveToFile(args[1]);
    return 0;
}

}  // namespace

static ToolCommand piecesCommand{"pieces", "pieces ARCHIVE OUT.png", &RunPieces};
