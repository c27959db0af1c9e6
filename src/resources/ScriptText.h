// Reading the attributes of job lines and image-script lines. An attribute is written as its name,
// "=" and the value in double quotes; the name is found anywhere in the line as a plain substring
// (so "value" also matches inside "colorvalue"), and its first occurrence counts. Numbers are
// read strictly; a number that cannot be read raises the conversion error.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The text after the first `name="` up to the next double quote (or the end of the line); empty
// when the attribute does not occur.
std::string AttributeValue(const std::string& line, const std::string& name);

// The attribute read as a whole number; `fallback` when it is empty. Throws std::runtime_error
// "'<text>' is not a valid integer value" when it is not a number.
int32_t IntAttribute(const std::string& line, const std::string& name, int32_t fallback);

// The attribute read as a (possibly fractional) number; `fallback` when it is empty.
double FloatAttribute(const std::string& line, const std::string& name, double fallback);

// Exactly `count` whole numbers separated by spaces or TABs; a missing or unreadable number raises
// the conversion error.
std::vector<int32_t> IntList(const std::string& text, size_t count);
