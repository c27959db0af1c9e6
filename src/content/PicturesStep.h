// The data builder's step "pictures": renders the picture sources under data/pictures/ into
// archive entries. Relies on the SVG renderer, the picture codecs and TFileFolder.
#pragma once

#include <string>

#include "resources/FileFolder.h"

// Every file under dataDir/pictures/ (sub-folders too, names starting with "." skipped), in the
// byte order of the paths relative to that folder:
//   NAME.png.svg   rendered at its own size to the PNG entry NAME.png (with alpha)
//   NAME.jpg.svg   rendered at its own size over black to the JPEG entry NAME.jpg (quality 90)
//   NAME.strips    a strip recipe (see ParseStripRecipe): one PNG entry per strip or still,
//                  its source SVG named relative to the recipe's folder
//   NAME.svg       a source that recipes use; not an entry by itself
// Anything else, entry names longer than 32 characters and names the archive already holds
// (ignoring case) are errors.
void AddPictures(const std::string& dataDir, TFileFolder& archive);
