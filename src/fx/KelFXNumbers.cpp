// Strict number reading for effect files; see KelFXNumbers.h.
#include "fx/KelFXNumbers.h"

#include <cctype>
#include <cstdlib>
#include <stdexcept>

#include "core/KelParserText.h"

namespace {

// Optional sign, digits with at most one ".", at least one digit, optional exponent.
bool IsDecimalNumber(const std::string& s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        size_t exponent = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i, ++exponent;
        if (exponent == 0) return false;
    }
    return i == s.size();
}

}  // namespace

double StrToFloatStrict(const std::string& text) {
    const std::string s = Trim(text);
    if (!IsDecimalNumber(s))
        throw std::runtime_error("'" + text + "' is not a valid floating point value");
    return std::strtod(s.c_str(), nullptr);  // "." is the decimal point: the program runs in "C"
}

int32_t StrToIntStrict(const std::string& text) {
    int32_t value = 0;
    if (!TryStrToInt(text, value))
        throw std::runtime_error("'" + text + "' is not a valid integer value");
    return value;
}
