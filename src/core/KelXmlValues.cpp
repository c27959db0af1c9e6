// Typed readers of the XML dialect's values. Relies on KelParser and KelParserText.
#include "core/KelXmlValues.h"

#include "core/CoreError.h"

bool StrToBoolDef(const std::string& text, bool def) {
    if (SameText(text, "true")) return true;
    if (SameText(text, "false")) return false;
    int32_t number = 0;
    if (TryStrToInt(text, number)) return number != 0;
    return def;
}

int32_t StrToIntChecked(const std::string& text, const std::string& what) {
    int32_t value = 0;
    if (!TryStrToInt(text, value))
        throw TKelCoreError("\"" + text + "\" is not a valid integer value for " + what);
    return value;
}

const std::string* AttrValue(const TKelXMLTag* tag, const std::string& name) {
    const TKelParserAttribute* attribute = tag ? tag->FindAttribute(name) : nullptr;
    return attribute ? &attribute->Value : nullptr;
}

std::string AttrText(const TKelXMLTag* tag, const std::string& name, const std::string& def) {
    const std::string* value = AttrValue(tag, name);
    return value ? *value : def;
}

int32_t AttrInt(const TKelXMLTag* tag, const std::string& name, int32_t def) {
    const std::string* value = AttrValue(tag, name);
    return value ? StrToIntChecked(*value, "attribute " + name + " of " + tag->Name) : def;
}

int32_t AttrIntDef(const TKelXMLTag* tag, const std::string& name, int32_t def) {
    const std::string* value = AttrValue(tag, name);
    int32_t number = def;
    if (value && !TryStrToInt(*value, number)) return def;
    return number;
}

bool AttrIsTrue(const TKelXMLTag* tag, const std::string& name) {
    const std::string* value = AttrValue(tag, name);
    return value && *value == "true";
}

bool AttrBool(const TKelXMLTag* tag, const std::string& name, bool def) {
    const std::string* value = AttrValue(tag, name);
    return value ? StrToBoolDef(*value, def) : def;
}

double AttrFloat(const TKelXMLTag* tag, const std::string& name, double def) {
    const std::string* value = AttrValue(tag, name);
    return value ? TextToFloat(*value) : def;
}

TPoint AttrPoint(const TKelXMLTag* tag, const std::string& xName, const std::string& yName,
                 TPoint def) {
    return {AttrInt(tag, xName, def.X), AttrInt(tag, yName, def.Y)};
}

static const TKelXMLTag* Child(const TKelXMLTag* tag, const std::string& name) {
    return tag ? tag->FindTag(name) : nullptr;
}

std::string ChildText(const TKelXMLTag* tag, const std::string& name, const std::string& def) {
    const TKelXMLTag* child = Child(tag, name);
    return child ? child->Text : def;
}

int32_t ChildInt(const TKelXMLTag* tag, const std::string& name, int32_t def) {
    const TKelXMLTag* child = Child(tag, name);
    return child ? StrToIntChecked(child->Text, "element " + name + " of " + tag->Name) : def;
}

int32_t ChildIntDef(const TKelXMLTag* tag, const std::string& name, int32_t def) {
    const TKelXMLTag* child = Child(tag, name);
    int32_t number = def;
    if (child && !TryStrToInt(child->Text, number)) return def;
    return number;
}

bool ChildBool(const TKelXMLTag* tag, const std::string& name, bool def) {
    const TKelXMLTag* child = Child(tag, name);
    return child ? StrToBoolDef(child->Text, def) : def;
}

double ChildFloat(const TKelXMLTag* tag, const std::string& name, double def) {
    const TKelXMLTag* child = Child(tag, name);
    return child ? TextToFloat(child->Text) : def;
}
