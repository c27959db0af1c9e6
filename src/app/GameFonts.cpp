// The game's fonts.
#include "app/GameFonts.h"

#include "core/KelException.h"

void LoadGameFonts(TFileFolder& archive, TKelFontEngine& fonts) {
    for (const char* name : {"KelUnicode.xml", "Lithos.xml", "Lithos-Bold.xml", "Lithos-Black.xml",
                             "LithosDigist-Black.xml", "LithosSmall-Bold.xml"}) {
        TMemoryStream* stream = archive.FindFile(name);
        if (!stream) throw KelException(std::string("Can not find ") + name + "in file folder");
        fonts.LoadFontFromStream(*stream);
    }
}
