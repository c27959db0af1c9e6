// Fuzz target of the XML dialect: any bytes are read as a document, queried, copied and written.
// Building the tree a second time and copying the document must both write the same text.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/KelParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    TKelParser doc;
    doc.LoadFromString(bytes);
    const std::string saved = doc.SaveToString();

    TKelParser again;
    again.LoadFromString(bytes);
    again.MakeTree();
    if (again.SaveToString() != saved) std::abort();

    TKelParser copy;
    copy.Assign(doc);
    if (copy.SaveToString() != saved) std::abort();

    // The first bytes double as a query and a name to look up.
    const std::string query = bytes.substr(0, 24);
    doc.QueryTag(query);
    doc.QueryAttribute(query);
    doc.FindTagDeep(query);
    if (TKelXMLTag* first = doc.GetTag(0)) {
        first->QueryTag(query);
        doc.Assign(*first);  // one of the document's own children as the source
        doc.SaveToString();
    }
    return 0;
}
