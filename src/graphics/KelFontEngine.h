// TKelFontEngine: the owner of the bitmap fonts (TKelFont), loaded from font description files,
// and of the glyph placements every text draw lays out and its host draws. Relies on the object
// framework (KelBaseClasses), the XML parser (KelParser), the glyph placement (CharsRects) and
// KelException.
#pragma once

#include <string>
#include <vector>

#include "core/KelBaseClasses.h"
#include "core/KelParser.h"
#include "core/MemoryStream.h"
#include "graphics/CharsRects.h"

class TKelFont;

// What a font needs from its drawing host: draw the first count placements of the font engine
// with the glyphs of the font picture. The game's host passes them to the surface store's
// DrawText.
class IKelFontHost {
  public:
    virtual ~IKelFontHost() = default;
    virtual void ExtDraw(const std::string& fontPicture, int count) = 0;
};

class TKelFontEngine : public TKelEngine {
  public:
    // The most glyphs one draw lays out.
    static constexpr int MaxPlacements = 3000;

    // Allocates the placements. Fonts can be added once RegisterGraphicsClasses has run.
    TKelFontEngine();

    // The drawing host; not owned, none until the game sets it.
    IKelFontHost* Host = nullptr;
    // Exactly MaxPlacements entries, overwritten by every DrawString.
    std::vector<TCharsRect> Placements;

    // Parses a font description file and adds the font its first element describes. Parser,
    // property and metrics errors propagate; a file without an element raises KelException.
    TKelFont* LoadFontFromStream(const TMemoryStream& stream);
    // Creates a font, adds it and sets each attribute as the published property of that name;
    // when one fails the font is removed again and the error propagates. Raises KelException
    // when the font class is not registered.
    TKelFont* AddFontFromTag(const TKelXMLTag& tag);
    // The Picture of every font that has one, in font order, joined with CR LF.
    std::string GetPictureList() const;
    // The font of that name, or none.
    TKelFont* FindFont(const std::string& name) const;
};
