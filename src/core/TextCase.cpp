#include "core/TextCase.h"

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

}  // namespace

std::string LowerCase(std::string text) {
    for (char& c : text) c = Lower(c);
    return text;
}

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool StartsWithText(const std::string& text, const std::string& head) {
    return text.size() >= head.size() && SameText(text.substr(0, head.size()), head);
}

bool EndsWithText(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && SameText(text.substr(text.size() - tail.size()), tail);
}
