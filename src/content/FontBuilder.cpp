// Font recipes, their rendering with FreeType into a glyph sheet and metrics, and the data
// builder's step that adds the fonts to the archive.
#include "content/FontBuilder.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "content/OpenTypeKerning.h"
#include "resources/JpegPNG.h"

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------------------
// Recipe text

static std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

static long ParseHex(const std::string& text, long limit) {
    size_t used = 0;
    long value = -1;
    try {
        value = std::stol(text, &used, 16);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size() || value < 0 || value > limit)
        throw std::runtime_error("bad hexadecimal value \"" + text + "\"");
    return value;
}

static double ParseNumber(const std::string& text, double low, double high) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double value = 0;
    char rest = 0;
    if (!(in >> value) || (in >> rest) || !(value >= low && value <= high))
        throw std::runtime_error("bad number \"" + text + "\"");
    return value;
}

static bool ParseYesNo(const std::string& text) {
    if (text == "yes") return true;
    if (text == "no") return false;
    throw std::runtime_error("expected yes or no, not \"" + text + "\"");
}

// "0020-007E 00C0 ..." into ranges.
static std::vector<std::pair<char32_t, char32_t>> ParseRanges(const std::string& text) {
    std::vector<std::pair<char32_t, char32_t>> ranges;
    std::istringstream in(text);
    std::string item;
    while (in >> item) {
        const size_t dash = item.find('-');
        const long first = ParseHex(item.substr(0, dash), 0xFFFF);
        const long last =
            dash == std::string::npos ? first : ParseHex(item.substr(dash + 1), 0xFFFF);
        if (first < 1 || last < first) throw std::runtime_error("bad glyph range \"" + item + "\"");
        ranges.emplace_back(char32_t(first), char32_t(last));
    }
    return ranges;
}

TFontRecipe ParseFontRecipe(const std::string& text) {
    TFontRecipe recipe;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        line = Trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        try {
            const size_t colon = line.find(':');
            if (colon == std::string::npos) throw std::runtime_error("expected \"Key: value\"");
            const std::string key = Trim(line.substr(0, colon));
            const std::string value = Trim(line.substr(colon + 1));
            if (key == "Name") {
                recipe.Name = value;
            } else if (key == "Source") {
                recipe.Source = value;
            } else if (key == "Kerning") {
                recipe.KerningFile = value;
            } else if (key == "Size") {
                recipe.Size = int(ParseNumber(value, 4, 256));
            } else if (key == "Embolden") {
                recipe.Embolden = ParseNumber(value, 0, 8);
            } else if (key == "SmallCaps") {
                recipe.SmallCaps = ParseNumber(value, 0, 1);
            } else if (key == "TabularDigits") {
                recipe.TabularDigits = ParseYesNo(value);
            } else if (key == "Tracking") {
                recipe.Tracking = int(ParseNumber(value, -8, 32));
            } else if (key == "KerningFold") {
                recipe.KerningFold = ParseNumber(value, 0, 1);
            } else if (key == "Gamma") {
                recipe.Gamma = ParseNumber(value, 0.25, 4);
            } else if (key == "Colour") {
                recipe.Colour = uint32_t(ParseHex(value, 0xFFFFFF));
            } else if (key == "SheetWidth") {
                recipe.SheetWidth = int(ParseNumber(value, 64, 4096));
            } else if (key == "Glyphs") {
                const auto ranges = ParseRanges(value);
                recipe.Glyphs.insert(recipe.Glyphs.end(), ranges.begin(), ranges.end());
            } else {
                throw std::runtime_error("unknown key \"" + key + "\"");
            }
        } catch (const std::exception& error) {
            throw std::runtime_error("recipe line " + std::to_string(number) + ": " + error.what());
        }
    }
    if (recipe.Name.empty() || recipe.Source.empty() || recipe.Size == 0 || recipe.Glyphs.empty())
        throw std::runtime_error("recipe needs Name, Source, Size and Glyphs");
    return recipe;
}

// ---------------------------------------------------------------------------------------------
// Rendering

namespace {

struct TFreeTypeLibrary {
    FT_Library Handle = nullptr;
    TFreeTypeLibrary() {
        if (FT_Init_FreeType(&Handle)) throw std::runtime_error("FreeType does not start");
    }
    ~TFreeTypeLibrary() { FT_Done_FreeType(Handle); }
};

struct TFreeTypeFace {
    FT_Face Handle = nullptr;
    TFreeTypeFace(FT_Library library, const std::string& path) {
        if (FT_New_Face(library, path.c_str(), 0, &Handle))
            throw std::runtime_error("cannot open font file " + path);
    }
    ~TFreeTypeFace() { FT_Done_Face(Handle); }
};

// One rendered glyph: its coverage bitmap relative to the pen on the baseline.
struct TGlyph {
    char32_t Code = 0;
    FT_UInt Index = 0;        // glyph of the font file (kerning look-ups); 0 for the placeholder
    int PixelSize = 0;        // size it was rendered at
    int Left = 0, Top = 0;    // bitmap offset from the pen: right, and up from the baseline
    int Width = 0, Rows = 0;  // bitmap size; 0 x 0 for a glyph without ink
    int Advance = 0;          // pen advance in whole pixels
    std::vector<uint8_t> Coverage;
    int PreSpace = 0, PostSpace = 0;  // final side spaces
    int SrcX = 0, SrcY = 0;
};

}  // namespace

// The capital a lower-case letter is drawn with as a small capital; 0 when it has none.
static char32_t CapitalOf(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
    if (c == 0xFF) return 0x178;
    if (c == 0x131) return 'I';
    if (c >= 0x100 && c <= 0x137) return (c & 1) ? c - 1 : 0;
    if (c >= 0x139 && c <= 0x148) return (c & 1) ? 0 : c - 1;
    if (c >= 0x14A && c <= 0x177) return (c & 1) ? c - 1 : 0;
    if (c >= 0x179 && c <= 0x17E) return (c & 1) ? 0 : c - 1;
    // Greek capitals drop the tonos, as in text set in capitals.
    static const std::pair<char32_t, char32_t> greek[] = {
        {0x3C2, 0x3A3}, {0x3AC, 0x391}, {0x3AD, 0x395}, {0x3AE, 0x397}, {0x3AF, 0x399},
        {0x3CC, 0x39F}, {0x3CD, 0x3A5}, {0x3CE, 0x3A9}, {0x390, 0x3AA}, {0x3B0, 0x3AB}};
    for (const auto& [lower, capital] : greek)
        if (c == lower) return capital;
    if (c >= 0x3B1 && c <= 0x3CB) return c - 32;
    if (c >= 0x430 && c <= 0x44F) return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    return 0;
}

static uint8_t Curve(uint8_t coverage, double gamma) {
    if (gamma == 1) return coverage;
    return uint8_t(std::lround(255.0 * std::pow(coverage / 255.0, 1.0 / gamma)));
}

// Renders the glyph index at the pixel size; false when FreeType refuses it.
static bool RenderGlyph(FT_Face face, FT_UInt index, int pixelSize, const TFontRecipe& recipe,
                        TGlyph& glyph) {
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize))) return false;
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP)) return false;
    FT_GlyphSlot slot = face->glyph;
    const FT_Pos strength = FT_Pos(std::lround(recipe.Embolden * 64));
    if (strength > 0 && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_Outline_Embolden(&slot->outline, strength);
        slot->advance.x += strength;
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL)) return false;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.Index = index;
    glyph.PixelSize = pixelSize;
    glyph.Advance = int((slot->advance.x + 32) >> 6);
    glyph.Left = slot->bitmap_left;
    glyph.Top = slot->bitmap_top;
    glyph.Width = int(bitmap.width);
    glyph.Rows = int(bitmap.rows);
    glyph.Coverage.assign(size_t(glyph.Width) * glyph.Rows, 0);
    bool ink = false;
    for (int y = 0; y < glyph.Rows; ++y)
        for (int x = 0; x < glyph.Width; ++x) {
            const uint8_t value = Curve(bitmap.buffer[y * bitmap.pitch + x], recipe.Gamma);
            glyph.Coverage[size_t(y) * glyph.Width + x] = value;
            ink = ink || value != 0;
        }
    if (!ink) glyph.Width = glyph.Rows = glyph.Left = glyph.Top = 0;
    return true;
}

// A hollow box from the baseline to the capital height, drawn for unmapped characters.
static TGlyph Placeholder(FT_Face face, const TFontRecipe& recipe) {
    int capital = recipe.Size * 7 / 10;
    TGlyph h;
    const FT_UInt index = FT_Get_Char_Index(face, 'H');
    if (index && RenderGlyph(face, index, recipe.Size, recipe, h) && h.Top > 0) capital = h.Top;
    const int stroke = std::max(1, int(std::lround(recipe.Size / 16.0 + recipe.Embolden)));
    TGlyph box;
    box.Code = PlaceholderCode;
    box.Width = std::max(3 * stroke, capital * 6 / 10);
    box.Rows = capital;
    box.Top = capital;
    box.Left = std::max(1, recipe.Size / 12);
    box.Advance = box.Width + 2 * box.Left;
    box.Coverage.assign(size_t(box.Width) * box.Rows, 0);
    for (int y = 0; y < box.Rows; ++y)
        for (int x = 0; x < box.Width; ++x)
            if (x < stroke || y < stroke || x >= box.Width - stroke || y >= box.Rows - stroke)
                box.Coverage[size_t(y) * box.Width + x] = 255;
    return box;
}

// Kerning of a pair of glyph indices in font units.
using TPairKerning = std::function<long(FT_UInt left, FT_UInt right)>;

// The face's pair kerning: FreeType's for a 'kern' table or an attached AFM file, else the GPOS
// table's; nothing when the face has neither.
static TPairKerning FaceKerning(FT_Face face) {
    if (FT_HAS_KERNING(face))
        return [face](FT_UInt left, FT_UInt right) {
            FT_Vector kern{};
            return FT_Get_Kerning(face, left, right, FT_KERNING_UNSCALED, &kern) ? 0L
                                                                                 : long(kern.x);
        };
    FT_ULong length = 0;
    std::vector<uint8_t> table;
    if (!FT_Load_Sfnt_Table(face, TTAG_GPOS, 0, nullptr, &length) && length > 0) {
        table.resize(length);
        if (FT_Load_Sfnt_Table(face, TTAG_GPOS, 0, table.data(), &length)) table.clear();
    }
    TGposKerning gpos(std::move(table));
    if (gpos.Empty()) return nullptr;
    return [gpos = std::move(gpos)](FT_UInt left, FT_UInt right) {
        return left > 0xFFFF || right > 0xFFFF
                   ? 0L
                   : long(gpos.Kerning(uint16_t(left), uint16_t(right)));
    };
}

// Mean kerning of the glyph against the lower-case letters a-z (the neighbours of most letters in
// running text), on its left or its right side, in pixels at the glyph's size.
static double MeanKerning(FT_Face face, const TPairKerning& kerning, const TGlyph& glyph,
                          const std::vector<TGlyph>& partners, bool rightSide) {
    double sum = 0;
    int count = 0;
    for (const TGlyph& partner : partners) {
        if (partner.Index == 0) continue;
        const FT_UInt left = rightSide ? glyph.Index : partner.Index;
        const FT_UInt right = rightSide ? partner.Index : glyph.Index;
        sum += double(kerning(left, right)) * glyph.PixelSize / face->units_per_EM;
        ++count;
    }
    return count ? sum / count : 0;
}

static bool IsLowerAscii(char32_t c) {
    return c >= 'a' && c <= 'z';
}

// The sheet as an RGBA PNG of one colour with the coverage as alpha.
static std::vector<uint8_t> EncodeSheet(int width, int height, std::vector<uint8_t> alpha,
                                        uint32_t colour) {
    TPngPicture picture;
    picture.Width = width;
    picture.Height = height;
    picture.ColorType = pctRgbAlpha;
    picture.Color.resize(size_t(width) * height * 3);
    for (size_t i = 0; i < picture.Color.size(); i += 3) {
        picture.Color[i] = uint8_t(colour);
        picture.Color[i + 1] = uint8_t(colour >> 8);
        picture.Color[i + 2] = uint8_t(colour >> 16);
    }
    picture.Alpha = std::move(alpha);
    return picture.Encode();
}

TBuiltFont BuildFont(const TFontRecipe& recipe) {
    TFreeTypeLibrary library;
    TFreeTypeFace face(library.Handle, recipe.Source);
    if (!recipe.KerningFile.empty() && FT_Attach_File(face.Handle, recipe.KerningFile.c_str()))
        throw std::runtime_error("cannot attach kerning file " + recipe.KerningFile);

    // Every requested code once, in code order, after the placeholder.
    std::vector<char32_t> codes;
    for (const auto& [first, last] : recipe.Glyphs)
        for (char32_t c = first; c <= last; ++c)
            if (c != PlaceholderCode) codes.push_back(c);
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());

    std::vector<TGlyph> glyphs{Placeholder(face.Handle, recipe)};
    const int smallSize = std::max(4, int(std::lround(recipe.Size * recipe.SmallCaps)));
    for (char32_t code : codes) {
        char32_t drawn = code;
        int size = recipe.Size;
        const char32_t capital = recipe.SmallCaps > 0 ? CapitalOf(code) : 0;
        if (capital && FT_Get_Char_Index(face.Handle, capital)) {
            drawn = capital;
            size = smallSize;
        }
        const FT_UInt index = FT_Get_Char_Index(face.Handle, drawn);
        TGlyph glyph;
        if (index == 0 || !RenderGlyph(face.Handle, index, size, recipe, glyph)) continue;
        glyph.Code = code;
        glyphs.push_back(std::move(glyph));
    }

    // Side spaces: the ink's bearings, kerning folded in, tracking, tabular digits.
    std::vector<TGlyph> letters;
    for (const TGlyph& glyph : glyphs)
        if (IsLowerAscii(glyph.Code)) letters.push_back(glyph);
    int digitAdvance = 0;
    for (const TGlyph& glyph : glyphs)
        if (glyph.Code >= '0' && glyph.Code <= '9')
            digitAdvance = std::max(digitAdvance, glyph.Advance);
    const TPairKerning kerning = recipe.KerningFold > 0 ? FaceKerning(face.Handle) : nullptr;
    for (TGlyph& glyph : glyphs) {
        const int ink = std::max(glyph.Width, 1);  // an empty glyph still covers one blank column
        glyph.PreSpace = glyph.Left;
        glyph.PostSpace = glyph.Advance - glyph.Left - ink;
        const bool digit = glyph.Code >= '0' && glyph.Code <= '9';
        if (recipe.TabularDigits && digit) {
            const int extra = digitAdvance - glyph.Advance;
            glyph.PreSpace += extra / 2;
            glyph.PostSpace += extra - extra / 2;
        } else if (kerning && glyph.Index != 0) {
            glyph.PreSpace += int(std::lround(
                recipe.KerningFold * MeanKerning(face.Handle, kerning, glyph, letters, false)));
            glyph.PostSpace += int(std::lround(
                recipe.KerningFold * MeanKerning(face.Handle, kerning, glyph, letters, true)));
        }
        glyph.PostSpace += recipe.Tracking;
    }

    // The cell holds the ink of every glyph; its last row stays blank because the text drawing
    // leaves the bottom row of a cell out.
    int ascent = 0, descent = 0;
    for (const TGlyph& glyph : glyphs) {
        ascent = std::max(ascent, glyph.Top);
        descent = std::max(descent, glyph.Rows - glyph.Top);
    }
    const int height = ascent + descent + 1;

    // Shelf packing in code order; column 0 of the first shelf is the blank column that every
    // glyph without ink points at.
    const int sheetWidth = recipe.SheetWidth;
    int x = 1, shelf = 0;
    for (TGlyph& glyph : glyphs) {
        if (glyph.Width == 0) continue;
        if (glyph.Width + 1 > sheetWidth)
            throw std::runtime_error("a glyph is wider than the sheet");
        if (x + glyph.Width > sheetWidth) {
            x = 0;
            ++shelf;
        }
        glyph.SrcX = x;
        glyph.SrcY = shelf * height;
        x += glyph.Width + 1;
    }
    const int sheetHeight = (shelf + 1) * height;
    std::vector<uint8_t> alpha(size_t(sheetWidth) * sheetHeight, 0);
    for (const TGlyph& glyph : glyphs)
        for (int y = 0; y < glyph.Rows; ++y)
            std::copy_n(glyph.Coverage.begin() + ptrdiff_t(y) * glyph.Width, glyph.Width,
                        alpha.begin() +
                            ptrdiff_t(glyph.SrcY + ascent - glyph.Top + y) * sheetWidth +
                            glyph.SrcX);

    std::string metrics;
    for (const TGlyph& glyph : glyphs) {
        if (!metrics.empty()) metrics += ',';
        metrics += std::to_string(uint32_t(glyph.Code)) + ':' + std::to_string(glyph.SrcX) + ':' +
                   std::to_string(glyph.SrcY) + ':' + std::to_string(glyph.PreSpace) + ':' +
                   std::to_string(std::max(glyph.Width, 1)) + ':' + std::to_string(glyph.PostSpace);
    }

    TBuiltFont font;
    font.Height = height;
    font.GlyphCount = int(glyphs.size());
    font.Picture = EncodeSheet(sheetWidth, sheetHeight, std::move(alpha), recipe.Colour);
    font.Description = "<TKelFont Name=\"" + recipe.Name + "\" Height=\"" + std::to_string(height) +
                       "\" Picture=\"" + recipe.Name + ".png\" Metrics=\"" + metrics + "\"/>\r\n";
    return font;
}

// ---------------------------------------------------------------------------------------------
// Data builder step

static std::string ReadTextFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

static void AddBytes(TFileFolder& archive, const std::string& name, const void* bytes,
                     size_t size) {
    if (name.size() > TFileFolder::MaxNameLength)
        throw std::runtime_error("entry name longer than 32 characters: " + name);
    TMemoryStream stream;
    stream.Write(bytes, size);
    archive.AddFile(name, 1, stream);
}

void AddFontsFolder(const std::string& dataDir, TFileFolder& archive) {
    const fs::path folder = fs::path(dataDir) / "fonts";
    if (!fs::is_directory(folder)) return;
    std::vector<fs::path> recipes;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".font")
            recipes.push_back(entry.path());
    std::sort(recipes.begin(), recipes.end());
    for (const fs::path& path : recipes) {
        try {
            const TFontRecipe recipe = ParseFontRecipe(ReadTextFile(path));
            const TBuiltFont font = BuildFont(recipe);
            AddBytes(archive, recipe.Name + ".xml", font.Description.data(),
                     font.Description.size());
            AddBytes(archive, recipe.Name + ".png", font.Picture.data(), font.Picture.size());
        } catch (const std::exception& error) {
            throw std::runtime_error(path.filename().string() + ": " + error.what());
        }
    }
}
