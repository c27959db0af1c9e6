// Conversions between UTF-8 byte strings and wide (UTF-32) strings. Bytes that are not valid
// UTF-8 are taken as the code points of the same value, so no input is lost or rejected.
// Relies on the standard library only.
#pragma once

#include <string>

std::u32string Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::u32string& text);
