// Attribute values of job and script lines.
#include "resources/ScriptText.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "core/KelParserText.h"

namespace {

std::runtime_error NotInteger(const std::string& text) {
    return std::runtime_error("'" + text + "' is not a valid integer value");
}

int32_t ReadInt(const std::string& text) {
    int32_t value = 0;
    if (!TryStrToInt(text, value)) throw NotInteger(text);
    return value;
}

}  // namespace

std::string AttributeValue(const std::string& line, const std::string& name) {
    const std::string key = name + "=\"";
    const size_t start = line.find(key);
    if (start == std::string::npos) return {};
    const size_t from = start + key.size();
    const size_t end = line.find('"', from);
    return line.substr(from, end == std::string::npos ? std::string::npos : end - from);
}

int32_t IntAttribute(const std::string& line, const std::string& name, int32_t fallback) {
    const std::string text = AttributeValue(line, name);
    return text.empty() ? fallback : ReadInt(text);
}

double FloatAttribute(const std::string& line, const std::string& name, double fallback) {
    const std::string text = Trim(AttributeValue(line, name));
    if (text.empty()) return fallback;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value))
        throw std::runtime_error("'" + text + "' is not a valid floating point value");
    return value;
}

std::vector<int32_t> IntList(const std::string& text, size_t count) {
    std::vector<int32_t> numbers;
    size_t pos = 0;
    while (numbers.size() < count) {
        pos = text.find_first_not_of(" \t", pos);
        if (pos == std::string::npos) throw NotInteger(text);
        const size_t end = text.find_first_of(" \t", pos);
        numbers.push_back(ReadInt(text.substr(pos, end - pos)));
        pos = end;
    }
    return numbers;
}
