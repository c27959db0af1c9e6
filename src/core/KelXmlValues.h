// Typed readers of attribute values and child element texts of the XML dialect, so that loaders
// convert values one way everywhere instead of parsing raw strings themselves. A missing element
// or attribute gives the default; the strict readers raise TKelCoreError for a present value
// that is not a valid number. Relies on KelParser and on TPoint of Geometry.
#pragma once

#include <cstdint>
#include <string>

#include "core/KelParser.h"
#include "core/Geometry.h"

// "true" or "false" in any letter case, or a whole number (0 is false); otherwise def.
bool StrToBoolDef(const std::string& text, bool def);
// A strict whole number (TryStrToInt); raises TKelCoreError naming `what` when invalid.
int32_t StrToIntChecked(const std::string& text, const std::string& what);

// The attribute's value, or none when the element or the attribute is missing.
const std::string* AttrValue(const TKelXMLTag* tag, const std::string& name);
std::string AttrText(const TKelXMLTag* tag, const std::string& name, const std::string& def = "");
// Strict whole number: def when absent, an error when present but not a number.
int32_t AttrInt(const TKelXMLTag* tag, const std::string& name, int32_t def = 0);
// Lenient whole number: def when absent or not a number.
int32_t AttrIntDef(const TKelXMLTag* tag, const std::string& name, int32_t def = 0);
// Whether the value is exactly "true".
bool AttrIsTrue(const TKelXMLTag* tag, const std::string& name);
// StrToBoolDef of the value; def when absent.
bool AttrBool(const TKelXMLTag* tag, const std::string& name, bool def);
// TextToFloat of the value; def when absent.
double AttrFloat(const TKelXMLTag* tag, const std::string& name, double def = 0);
// Two strict whole numbers, each def's coordinate when absent.
TPoint AttrPoint(const TKelXMLTag* tag, const std::string& xName = "x",
                 const std::string& yName = "y", TPoint def = {});

// The same over the text of the first child element of that name.
std::string ChildText(const TKelXMLTag* tag, const std::string& name, const std::string& def = "");
int32_t ChildInt(const TKelXMLTag* tag, const std::string& name, int32_t def = 0);
int32_t ChildIntDef(const TKelXMLTag* tag, const std::string& name, int32_t def = 0);
bool ChildBool(const TKelXMLTag* tag, const std::string& name, bool def);
double ChildFloat(const TKelXMLTag* tag, const std::string& name, double def = 0);
