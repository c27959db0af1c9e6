// TKelFont: one bitmap font, a named object of the font engine. Its glyphs lie in one picture of
// the surface store; the metrics text says where each character's glyph is and how far the pen
// moves around it. The font lays text out into the engine's glyph placements and has the
// engine's host draw them; it also measures text. Relies on the object framework
// (KelBaseClasses), KelException and the font engine (KelFontEngine).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/KelBaseClasses.h"

// One glyph description of the metrics text.
struct TCharDesc {
    int32_t Code = 0;
    int32_t SrcX = 0, SrcY = 0;  // top-left of the glyph in the picture
    int32_t PreSpace = 0;        // pen movement before the glyph
    int32_t Width = 0;           // glyph width
    int32_t PostSpace = 0;       // pen movement after the glyph
};

class TKelFont : public TKelObject {
    KEL_CLASS(TKelFont)

  public:
    int32_t Height = 0;   // published: glyph cell height in pixels
    std::string Picture;  // published: surface name of the glyph picture

    // Published write-only as Metrics: "Code:SrcX:SrcY:PreSpace:Width:PostSpace" descriptions
    // separated by ",". Rebuilds the descriptions and the character map; a code outside 0..65535
    // is kept in the list but maps no character. A field that is not an integer raises
    // KelException and leaves the font as it was.
    void SetMetrics(const std::string& text);

    // Lays the text out at (x, y) into the engine's placements (at most the engine's capacity;
    // the rest is dropped) and has the engine's host draw them. Nothing happens for a text of
    // blanks, a single character without a glyph, or a font without descriptions.
    void DrawString(int32_t x, int32_t y, uint32_t color, uint8_t alpha,
                    const std::u32string& text);
    // The pen advance of the whole text: PreSpace + Width + PostSpace over its characters.
    int32_t TextWidth(const std::u32string& text) const;
    // A space, or a character with a description of its own (not the placeholder at index 0).
    bool IsCharKnown(char32_t c) const;

    const std::vector<TCharDesc>& Descs() const { return descs_; }

  private:
    // The description drawn for the character; the one at index 0 for an unmapped character.
    // Only valid while there are descriptions.
    const TCharDesc& DescOf(char32_t c) const;

    std::vector<TCharDesc> descs_;
    std::vector<uint16_t> charMap_ = std::vector<uint16_t>(65536, 0);
};
