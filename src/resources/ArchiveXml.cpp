// XML entries of the archive.
#include "resources/ArchiveXml.h"

bool LoadXmlEntry(TFileFolder& archive, const std::string& name, TKelParser& document) {
    TMemoryStream* stream = archive.FindFile(name);
    if (!stream) return false;
    document.LoadFromString(stream->ToString());
    return true;
}
