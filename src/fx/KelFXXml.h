// Small read helpers over the XML document classes for the effect readers: children by index and
// by name, element names and texts, attributes. Relies on core/KelParser.h.
#pragma once

#include <string>

#include "core/KelParser.h"

inline int XmlChildCount(const TKelXMLTag* tag) {
    return tag ? tag->TagCount() : 0;
}
inline const TKelXMLTag* XmlChild(const TKelXMLTag* tag, int index) {
    return tag->GetTag(index);
}
inline const TKelXMLTag* XmlFind(const TKelXMLTag* tag, const std::string& name) {
    return tag ? tag->FindTag(name) : nullptr;
}
inline const std::string& XmlName(const TKelXMLTag* tag) {
    return tag->Name;
}
inline const std::string& XmlText(const TKelXMLTag* tag) {
    return tag->Text;
}
// True and the value when the element has the attribute.
inline bool XmlAttr(const TKelXMLTag* tag, const std::string& name, std::string& value) {
    const TKelParserAttribute* attribute = tag->FindAttribute(name);
    if (!attribute) return false;
    value = attribute->Value;
    return true;
}
