// Text helpers shared by the effect readers: case folding, short names cut to 32 characters,
// and the dimension attribute (1..3) of functions and particle parameters. Relies on core's text
// functions (Trim, SameText) and on KelFXNumbers for strict integer reading.
#pragma once

#include <cstdint>
#include <string>

#include "core/KelParserText.h"  // Trim, SameText

std::string FxLower(const std::string& text);
inline std::string FxShortName(const std::string& text) {
    return text.substr(0, 32);
}
// A strict integer that must be 1, 2 or 3; anything else raises the conversion error.
uint8_t ReadDim(const std::string& text);
