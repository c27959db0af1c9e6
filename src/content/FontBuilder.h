// The font builder of the data builder: renders a font recipe (a small text file under
// data/fonts/ naming a free font file, a pixel size, a weight, a glyph set and spacing) with
// FreeType into a glyph sheet (white with antialiased alpha, PNG) and the font description the
// font engine loads: one element whose attributes are Name, Height, Picture and Metrics. The same
// recipe and font file always give the same bytes. Relies on FreeType, the GPOS kerning reader,
// the PNG encoder of JpegPNG and TFileFolder.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "resources/FileFolder.h"

struct TFontRecipe {
    std::string Name;            // font name; the entries are Name + ".xml" and Name + ".png"
    std::string Source;          // font file FreeType opens
    std::string KerningFile;     // optional file attached to Source for its kerning pairs (AFM)
    int Size = 0;                // pixel size of the em
    double Embolden = 0;         // extra stroke width in pixels
    double SmallCaps = 0;        // > 0: lower-case letters become capitals scaled by this factor
    bool TabularDigits = false;  // the ten digits share one advance (for counters)
    int Tracking = 0;            // pixels added after every glyph
    double KerningFold = 0;      // share of each glyph's mean kerning folded into its side spaces;
                                 // the pairs come from the AFM file, a 'kern' table or GPOS
    double Gamma = 1;            // coverage curve: alpha = 255 * (coverage / 255) ^ (1 / Gamma)
    uint32_t Colour = 0xFFFFFF;  // colour of the sheet's pixels, $RRGGBB
    int SheetWidth = 512;
    std::vector<std::pair<char32_t, char32_t>> Glyphs;  // inclusive code ranges within 1..FFFF
};

// Reads a recipe: one "Key: value" a line, "#" starts a comment. Throws std::runtime_error naming
// the line for an unknown key, a bad value or a missing Name, Source, Size or Glyphs.
TFontRecipe ParseFontRecipe(const std::string& text);

struct TBuiltFont {
    std::string Description;       // the font description file
    std::vector<uint8_t> Picture;  // the glyph sheet, PNG
    int Height = 0;                // glyph cell height
    int GlyphCount = 0;            // descriptions, the placeholder at index 0 included
};

// The code of the placeholder at description index 0; every unmapped character draws it.
constexpr char32_t PlaceholderCode = 0xFFFD;

// Renders the recipe. Codes the font file has no glyph for are left out (they draw the
// placeholder). Throws std::runtime_error when the font file cannot be used.
TBuiltFont BuildFont(const TFontRecipe& recipe);

// The data builder's step "fonts": every dataDir/fonts/*.font, in name order, adds Name + ".xml"
// and Name + ".png" with tag 1.
void AddFontsFolder(const std::string& dataDir, TFileFolder& archive);
