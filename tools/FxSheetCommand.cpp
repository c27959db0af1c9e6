// tervolin-tool fx-sheet ARCHIVE EFFECT OUT.png --at T1,T2,... [--tile W,H] [--origin X,Y]
//                                                [--picture NAME]
//                                                [--first-picture NAME --first-frames N]
//                                                [--path SCRIPT] [--step MS]
// Runs an effect of the archive as a screen instance would (created at the origin, by default
// the tile's centre; --picture replaces every system's picture as an instance picture does,
// --first-picture only the first system's, drawn in N frames, as a break shows the cell's piece
// strip or ghost; --path gives its function "FPath" a path script, as the game gives a flight
// its path) and draws it with the game's own effect drawing at each time (milliseconds after its
// start) into one tile (200x200 unless given) of a contact sheet, over a neutral checker. The
// instance is advanced to each time at once, or with --step every MS milliseconds on the way, as
// the game's passes do (systems that keep throwing particles throw once a step). Effect authors
// judge their effects with it. Exit 1 when the archive or the effect cannot be loaded, 2 on bad
// arguments.
#include <cstdio>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "ToolArgs.h"
#include "ToolCommand.h"
#include "app/EffectDrawing.h"
#include "core/MemoryStream.h"
#include "core/Random.h"
#include "platform/HeadlessPlatform.h"
#include "resources/FileFolder.h"
#include "resources/JpegPNG.h"

namespace {

constexpr const char* Usage =
    "fx-sheet ARCHIVE EFFECT OUT.png --at T1,T2,... [--tile W,H] [--origin X,Y] [--picture NAME]"
    " [--first-picture NAME --first-frames N] [--path SCRIPT] [--step MS]";
// The game clock's base: effects start at it.
constexpr uint32_t Start = 10000000;

struct TSheetArgs {
    std::string Archive, Effect, Out, Picture, FirstPicture, Path;
    int FirstFrames = 0;  // 0: not given
    uint32_t Step = 0;    // 0: one advance straight to the tile's time
    std::vector<uint32_t> Times;
    int Width = 200, Height = 200;
    std::optional<TPoint> Origin;
};

bool ParseTimes(const std::string& text, std::vector<uint32_t>& times) {
    std::istringstream items(text);
    for (std::string item; std::getline(items, item, ',');) {
        uint32_t time = 0;
        if (!ParseNumber(item, time)) return false;
        times.push_back(time);
    }
    return !times.empty();
}

bool ParseArgs(const ToolArgs& args, TSheetArgs& out) {
    std::vector<std::string> positional;
    const bool read =
        ReadArgs(args, positional, [&](const std::string& arg, const std::string& value) {
            TPoint origin;
            if (arg == "--at") return ParseTimes(value, out.Times);
            if (arg == "--tile")
                return ParsePair(value, out.Width, out.Height) && out.Width >= 1 &&
                       out.Height >= 1 && out.Width <= 2000 && out.Height <= 2000;
            if (arg == "--origin") {
                if (!ParsePair(value, origin.X, origin.Y)) return false;
                out.Origin = origin;
                return true;
            }
            if (arg == "--picture") {
                out.Picture = value;
                return true;
            }
            if (arg == "--first-picture") {
                out.FirstPicture = value;
                return !value.empty();
            }
            if (arg == "--first-frames")
                return ParseNumber(value, out.FirstFrames) && out.FirstFrames >= 1;
            if (arg == "--path") {
                out.Path = value;
                return !value.empty();
            }
            if (arg == "--step") return ParseNumber(value, out.Step) && out.Step >= 1;
            return false;
        });
    if (!read || out.FirstPicture.empty() != (out.FirstFrames == 0)) return false;
    if (positional.size() != 3 || out.Times.empty() || out.Times.size() > 64) return false;
    out.Archive = positional[0];
    out.Effect = positional[1];
    out.Out = positional[2];
    return true;
}

void FillChecker(TSurface& tile) {
    for (int y = 0; y < tile.Height; ++y) {
        uint8_t* p = tile.Bits + size_t(y) * tile.Pitch;
        for (int x = 0; x < tile.Width; ++x, p += 4) {
            const uint8_t grey = ((x / 16 + y / 16) % 2) ? 0x9A : 0x80;
            p[0] = p[1] = p[2] = grey;
            p[3] = 0;
        }
    }
}

int RunFxSheet(const ToolArgs& args) {
    TSheetArgs options;
    if (!ParseArgs(args, options)) {
        std::fprintf(stderr, "usage: tervolin-tool %s\n", Usage);
        return 2;
    }
    TFileFolder archive = TFileFolder::Open(options.Archive);
    if (!archive.LastError().empty()) throw std::runtime_error(archive.LastError());
    if (!archive.FindFile(options.Effect))
        throw std::runtime_error("the archive has no " + options.Effect);

    HeadlessDisplay display;
    display.Open(false, 32);
    TSurfEngine store;
    store.Create(display, options.Width, options.Height);
    for (const char* name : {"Tile", "MemoryBufferAdd"})
        store.CreateEmptySurface(name, options.Width, options.Height);
    TRedrawGrid grid;
    {
        TKelRandom random(1);
        const std::unique_ptr<TKelParticleEffect> effect =
            LoadEffectEntry(archive, options.Effect, &random);
        std::vector<std::string> pictures = EffectPictures(*effect);
        for (const std::string* name : {&options.Picture, &options.FirstPicture})
            if (!name->empty()) pictures.push_back(*name);
        store.LoadPictureList(archive, pictures);
    }
    const TPoint origin = options.Origin.value_or(TPoint{options.Width / 2, options.Height / 2});
    const TRect bounds{0, 0, options.Width - 1, options.Height - 1};

    TPngPicture sheet;
    sheet.Width = options.Width * int(options.Times.size());
    sheet.Height = options.Height;
    sheet.Color.assign(size_t(sheet.Width) * sheet.Height * 3, 0);
    for (size_t i = 0; i < options.Times.size(); ++i) {
        // Each tile shows its own instance, created at the start and run to its time with the
        // same random draws, so the tiles show one run.
        TKelRandom random(1);
        TScreenEffects list;
        const TEffectSources sources{archive, &store, nullptr, &random, {}};
        CreateKelEffectFromFile(list, sources,
                                {.Name = options.Effect,
                                 .File = options.Effect,
                                 .X = origin.X,
                                 .Y = origin.Y,
                                 .Picture = options.Picture,
                                 .Bounds = bounds},
                                Start);
        if (!list.empty() && list.back().Effect) {
            TKelParticleEffect& effect = *list.back().Effect;
            if (!options.FirstPicture.empty())
                if (TKelParticleSystem* first = effect.GetSystem(0)) {
                    first->Resource = options.FirstPicture;
                    first->FrameCount = options.FirstFrames;
                }
            if (!options.Path.empty()) effect.SetFunctionScript("FPath", options.Path);
        }
        const uint32_t now = Start + options.Times[i];
        if (options.Step > 0)
            for (uint64_t t = options.Step; t < options.Times[i]; t += options.Step)
                TickScreenEffects(list, Start + uint32_t(t));
        TickScreenEffects(list, now);
        TSurface& tile = *store.FindSurface("Tile");
        FillChecker(tile);
        DrawKelScreenEffects({store, nullptr, grid, now}, "Tile", list);
        for (int y = 0; y < tile.Height; ++y) {
            const uint8_t* p = tile.Bits + size_t(y) * tile.Pitch;
            uint8_t* out = sheet.ColorRow(y) + size_t(i) * options.Width * 3;
            for (int x = 0; x < tile.Width; ++x, p += 4, out += 3)
                out[0] = p[0], out[1] = p[1], out[2] = p[2];
        }
    }
    TMemoryStream(sheet.Encode()).SaveToFile(options.Out);
    return 0;
}

}  // namespace

static ToolCommand fxSheetCommand{"fx-sheet", Usage, &RunFxSheet};
