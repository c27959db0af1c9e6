// Number conversions of the effect system: strict reading of numbers from effect files (a
// malformed number raises the conversion error) and saturating float-to-integer conversions.
// Effect data can hold NaN, infinities and values far outside the integer range (huge
// exponents, Bezier overshoot, a projection through the camera), so every Round/Trunc of a float
// goes through SaturateRound/SaturateTrunc: NaN gives 0, out-of-range values the type's limits.
// Relies on core's text functions (Trim, TryStrToInt).
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

// Strict conversions: the whole text (blanks around it allowed) must be a number, else a
// std::runtime_error "'<text>' is not a valid floating point value" (or "integer value").
double StrToFloatStrict(const std::string& text);
int32_t StrToIntStrict(const std::string& text);

// Nearest integer, halves to the even neighbour, saturated to T's range; NaN gives 0.
template <typename T>
T SaturateRound(double value) {
    if (std::isnan(value)) return 0;
    const double low = double(std::numeric_limits<T>::min());
    const double high = double(std::numeric_limits<T>::max());
    if (value <= low) return std::numeric_limits<T>::min();
    if (value >= high) return std::numeric_limits<T>::max();
    const double rounded = std::nearbyint(value);  // default rounding mode: halves to even
    if (rounded <= low) return std::numeric_limits<T>::min();
    if (rounded >= high) return std::numeric_limits<T>::max();
    return T(rounded);
}

// Truncation towards zero, saturated to T's range; NaN gives 0.
template <typename T>
T SaturateTrunc(double value) {
    if (std::isnan(value)) return 0;
    const double low = double(std::numeric_limits<T>::min());
    const double high = double(std::numeric_limits<T>::max());
    if (value <= low) return std::numeric_limits<T>::min();
    if (value >= high) return std::numeric_limits<T>::max();
    return T(std::trunc(value));
}
