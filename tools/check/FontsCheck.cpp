// The game's fonts and the characters of the shipped texts.
#include <string>
#include <vector>

#include "check/CheckData.h"
#include "core/KelParserText.h"
#include "core/Utf8.h"
#include "graphics/KelFont.h"
#include "graphics/KelFontEngine.h"
#include "resources/ArchiveXml.h"
#include "resources/JpegPNG.h"

// The texts the player reads: every element text of the interface and language descriptions.
static void CollectTexts(const TKelXMLTag& tag, std::u32string& texts) {
    std::vector<const TKelXMLTag*> pending{&tag};
    while (!pending.empty()) {
        const TKelXMLTag* current = pending.back();
        pending.pop_back();
        texts += Utf8ToWide(current->Text);
        for (const auto& child : current->Tags()) pending.push_back(child.get());
    }
}

// The six fonts load with their glyph pictures, and know every character of the shipped texts.
// Archives without any of them (partial archives of modders and tests) are not game archives.
void CheckFonts(TFileFolder& archive, TProblems& problems) {
    bool anyFont = false;
    for (const char* name : GameFonts)
        anyFont |= archive.IndexOfFile(std::string(name) + ".xml") >= 0;
    if (!anyFont) return;
    std::u32string texts;
    for (int i = 0; i < archive.Count(); ++i) {
        const std::string& name = archive.Entry(i).Name;
        const std::string lower = name.size() >= 4 ? name.substr(name.size() - 4) : "";
        if (lower != ".lng" && (name.size() < 3 || name.substr(name.size() - 3) != ".li")) continue;
        TKelParser document;
        if (LoadXmlEntry(archive, name, document)) CollectTexts(document, texts);
    }
    TKelFontEngine fonts;
    for (const char* name : GameFonts) {
        const std::string entry = std::string(name) + ".xml";
        TMemoryStream* stream = archive.FindFile(entry);
        if (!stream) {
            problems.push_back(entry + ": the font is missing");
            continue;
        }
        try {
            const TKelFont* font = fonts.LoadFontFromStream(*stream);
            TMemoryStream* picture = archive.FindFile(font->Picture);
            if (!picture)
                problems.push_back(entry + ": its picture " + font->Picture + " is missing");
            else
                TPngPicture::Decode(std::span<const uint8_t>(picture->Memory(), picture->Size()));
            std::u32string missing;
            for (char32_t c : texts)
                if (c >= 32 && !font->IsCharKnown(c) && missing.find(c) == std::u32string::npos)
                    missing += c;
            if (!missing.empty())
                problems.push_back(entry + ": no glyphs for \"" + WideToUtf8(missing) + "\"");
        } catch (const std::exception& error) {
            problems.push_back(entry + ": " + error.what());
        }
    }
}
