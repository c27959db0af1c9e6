// Text functions of the XML dialect, also used by other modules for their own small notations
// (effect scripts, rich-label markup, interface property values): searching from a 1-based
// position, taking the text between two delimiters, normalising line breaks and tabs, entity
// decoding and encoding, trimming and locale-independent number reading. All texts are 8-bit byte
// strings; nothing here decodes a character set. Relies on the standard library only.
#pragma once

#include <cstdint>
#include <string>

#include "core/TextCase.h"

// Position (from 1) of the first occurrence of sub in text that begins at or after start; 0 when
// there is none, when either text is empty or when sub does not fit between start and the end.
// A start below 1 counts as 1.
int PosFrom(const std::string& sub, const std::string& text, int start);

// The text between the first `open` found from start (1-based) and the first `close` found from
// one character after the start of that `open`; empty when either is missing.
std::string TextBetween(const std::string& text, const std::string& open, const std::string& close,
                        int start);

// Every CR LF pair replaced by one space, then every TAB by one space.
std::string NormalizeSpaces(const std::string& text);

// Replaces "&lt;", "&gt;", "&amp;", "&apos;" and "&quot;", in this order, each over the whole
// text; numeric references stay as they are.
std::string DecodeEntities(const std::string& text);

// Replaces "&", "<", ">", "'" and the double quote, in this order, by their entities.
std::string EncodeEntities(const std::string& text);

// The text trimmed and read as a decimal number with "." as the decimal point, whatever the
// locale; 0 when it is not such a number as a whole.
double TextToFloat(const std::string& text);

// The text without the bytes 0 to 32 at both ends.
std::string Trim(const std::string& text);

// Every occurrence of from (non-empty) replaced by to, scanning left to right.
std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to);


// Reads a whole number as the platform's standard strict conversion does: optional leading
// blanks, an optional sign, then decimal digits, or hexadecimal digits after "$", "x", "X",
// "0x" or "0X"; nothing may follow. Decimal values must fit 32 bits signed; hexadecimal values
// up to $FFFFFFFF are taken as their 32-bit pattern. False (value untouched) when invalid.
bool TryStrToInt(const std::string& text, int32_t& value);
// Only decimal: an optional sign, then digits, nothing else, fitting 32 bits signed (the files
// the game writes itself). False (value untouched) otherwise.
bool TryDecimalToInt(const std::string& text, int32_t& value);

// The lenient reading of the same notation: the value of a valid number; otherwise the
// magnitude of the digits read before the first wrong character (without the sign); 0 for an
// empty text.
int32_t ValInt(const std::string& text);
