// Loading fonts from their description files and the shared glyph placements.
#include "graphics/KelFontEngine.h"

#include "core/KelException.h"
#include "graphics/KelFont.h"

TKelFontEngine::TKelFontEngine() : Placements(MaxPlacements) {}

TKelFont* TKelFontEngine::LoadFontFromStream(const TMemoryStream& stream) {
    TKelParser parser;
    parser.LoadFromString(stream.ToString());
    const TKelXMLTag* tag = parser.GetTag(0);
    if (!tag) throw KelException("[TKelFontEngine.LoadFontFromStream] The stream holds no font");
    return AddFontFromTag(*tag);
}

TKelFont* TKelFontEngine::AddFontFromTag(const TKelXMLTag& tag) {
    const int index = CreateObject("", "", "TKelFont");
    if (index < 0) {
        throw KelException(
            "[TKelFontEngine.AddFontFromTag] TKelFont is not registered (RegisterGraphicsClasses)");
    }
    auto* font = static_cast<TKelFont*>(GetObject(index));
    try {
        for (const auto& attribute : tag.Attributes())
            WriteProperty(*font, attribute->Name, attribute->Value);
    } catch (...) {
        DeleteObject(index);  // no half-made font stays behind
        throw;
    }
    return font;
}

std::string TKelFontEngine::GetPictureList() const {
    std::string list;
    for (const auto& object : Objects()) {
        const auto* font = dynamic_cast<const TKelFont*>(object.get());
        if (!font || font->Picture.empty()) continue;
        if (!list.empty()) list += "\r\n";
        list += font->Picture;
    }
    return list;
}

TKelFont* TKelFontEngine::FindFont(const std::string& name) const {
    return dynamic_cast<TKelFont*>(FindObject(name));
}
