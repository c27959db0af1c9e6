// Reading the values of tool options: whole numbers and "A,B" pairs, nothing else accepted.
#pragma once

#include <charconv>
#include <string>

// The whole text as one number of that type; false for anything else.
template <class Number>
bool ParseNumber(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    auto [last, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && last == end;
}

// "A,B" as two whole numbers.
inline bool ParsePair(const std::string& text, int& a, int& b) {
    const size_t comma = text.find(',');
    return comma != std::string::npos && ParseNumber(text.substr(0, comma), a) &&
           ParseNumber(text.substr(comma + 1), b);
}
