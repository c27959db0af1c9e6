// The six fonts of the game, loaded from the archive into the font engine at start-up.
// Relies on TFileFolder and TKelFontEngine.
#pragma once

#include "graphics/KelFontEngine.h"
#include "resources/FileFolder.h"

// Loads every game font; a missing entry raises KelException naming it.
void LoadGameFonts(TFileFolder& archive, TKelFontEngine& fonts);
