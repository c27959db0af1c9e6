// Reading XML descriptions out of the archive.
#pragma once

#include <string>

#include "core/KelParser.h"
#include "resources/FileFolder.h"

// Parses the archive entry `name` into `document`; false when the archive has no such entry.
// Load errors of the entry propagate.
bool LoadXmlEntry(TFileFolder& archive, const std::string& name, TKelParser& document);
