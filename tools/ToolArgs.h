// Reading tool arguments: positional ones and "--name value" options, whole numbers and "A,B"
// pairs, nothing else accepted.
#pragma once

#include <charconv>
#include <functional>
#include <string>
#include <vector>

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

// Splits the arguments into positional ones and "--name value" options, handing each option to
// `option`; false when an option lacks its value or `option` refuses it.
inline bool ReadArgs(const std::vector<std::string>& args, std::vector<std::string>& positional,
                     const std::function<bool(const std::string&, const std::string&)>& option) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) != 0) {
            positional.push_back(args[i]);
            continue;
        }
        if (i + 1 >= args.size() || !option(args[i], args[i + 1])) return false;
        ++i;
    }
    return true;
}
