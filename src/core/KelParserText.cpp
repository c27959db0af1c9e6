// Text functions of the XML dialect. Relies on the standard library only.
#include "core/KelParserText.h"

#include <charconv>

int PosFrom(const std::string& sub, const std::string& text, int start) {
    if (sub.empty() || text.empty()) return 0;
    const size_t from = start < 1 ? 0 : static_cast<size_t>(start) - 1;
    if (from >= text.size() || sub.size() > text.size() - from) return 0;
    const size_t found = text.find(sub, from);
    return found == std::string::npos ? 0 : static_cast<int>(found) + 1;
}

std::string TextBetween(const std::string& text, const std::string& open, const std::string& close,
                        int start) {
    const int openPos = PosFrom(open, text, start);
    if (openPos == 0) return {};
    const int closePos = PosFrom(close, text, openPos + 1);
    if (closePos == 0) return {};
    const int first = openPos + static_cast<int>(open.size());  // 1-based, first byte inside
    if (closePos <= first) return {};
    return text.substr(static_cast<size_t>(first) - 1, static_cast<size_t>(closePos - first));
}

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    std::string result;
    result.reserve(text.size());
    size_t pos = 0;
    while (true) {
        const size_t found = text.find(from, pos);
        if (found == std::string::npos) break;
        result.append(text, pos, found - pos);
        result += to;
        pos = found + from.size();
    }
    result.append(text, pos, std::string::npos);
    return result;
}

std::string NormalizeSpaces(const std::string& text) {
    std::string result = ReplaceAll(text, "\r\n", " ");
    for (char& c : result)
        if (c == '\t') c = ' ';
    return result;
}

std::string DecodeEntities(const std::string& text) {
    std::string result = ReplaceAll(text, "&lt;", "<");
    result = ReplaceAll(result, "&gt;", ">");
    result = ReplaceAll(result, "&amp;", "&");
    result = ReplaceAll(result, "&apos;", "'");
    return ReplaceAll(result, "&quot;", "\"");
}

std::string EncodeEntities(const std::string& text) {
    std::string result = ReplaceAll(text, "&", "&amp;");
    result = ReplaceAll(result, "<", "&lt;");
    result = ReplaceAll(result, ">", "&gt;");
    result = ReplaceAll(result, "'", "&apos;");
    return ReplaceAll(result, "\"", "&quot;");
}

static bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
static bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string Trim(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

double TextToFloat(const std::string& text) {
    std::string number = Trim(text);
    // Only a plain decimal notation counts: [sign] digits [. digits] [e [sign] digits].
    size_t i = 0;
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
    const size_t mantissa = i;
    size_t digits = 0;
    while (i < number.size() && IsDigit(number[i])) ++i, ++digits;
    if (i < number.size() && number[i] == '.') {
        ++i;
        while (i < number.size() && IsDigit(number[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        if (i < number.size() && (number[i] == '+' || number[i] == '-')) ++i;
        size_t exponentDigits = 0;
        while (i < number.size() && IsDigit(number[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return 0;
    }
    if (i != number.size()) return 0;
    double value = 0;
    const char* begin = number.data() + mantissa;
    const auto result = std::from_chars(begin, number.data() + number.size(), value);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size()) return 0;
    return number[0] == '-' ? -value : value;
}

namespace {

// The outcome of scanning a whole number: whether the text was valid as a whole, its value,
// and the magnitude of the digits read before the first wrong character.
struct TIntScan {
    bool Valid = false;
    int32_t Value = 0;
    uint32_t Partial = 0;
};

int HexDigit(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

TIntScan ScanInt(const std::string& text) {
    TIntScan scan;
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    bool hex = false;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t magnitude = 0;
    size_t digits = 0;
    for (; i < text.size(); ++i) {
        const int digit = hex ? HexDigit(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
        if (digit < 0) break;
        const uint64_t next = magnitude * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (next > limit) break;
        magnitude = next;
        ++digits;
    }
    scan.Partial = static_cast<uint32_t>(magnitude);
    if (digits == 0 || i != text.size()) return scan;
    scan.Valid = true;
    const uint32_t bits = static_cast<uint32_t>(magnitude);
    scan.Value = static_cast<int32_t>(negative ? 0u - bits : bits);
    return scan;
}

}  // namespace

bool TryDecimalToInt(const std::string& text, int32_t& value) {
    size_t i = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
    if (i == text.size()) return false;
    int64_t number = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        number = number * 10 + (text[i] - '0');
        if (number > int64_t(INT32_MAX) + 1) return false;
    }
    if (text[0] == '-') number = -number;
    if (number > INT32_MAX) return false;
    value = int32_t(number);
    return true;
}

bool TryStrToInt(const std::string& text, int32_t& value) {
    const TIntScan scan = ScanInt(text);
    if (scan.Valid) value = scan.Value;
    return scan.Valid;
}

int32_t ValInt(const std::string& text) {
    const TIntScan scan = ScanInt(text);
    return scan.Valid ? scan.Value : static_cast<int32_t>(scan.Partial);
}
