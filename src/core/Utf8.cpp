// UTF-8 and UTF-32 conversions. Relies on the standard library only.
#include "core/Utf8.h"

std::u32string Utf8ToWide(const std::string& text) {
    std::u32string result;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            result += static_cast<char32_t>(lead);
            ++i;
            continue;
        }
        const size_t extra = lead >= 0xC2 && lead <= 0xDF   ? 1
                             : lead >= 0xE0 && lead <= 0xEF ? 2
                             : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                            : 0;
        char32_t code = lead & (0x3F >> extra);
        bool valid = extra > 0 && i + extra < text.size();
        for (size_t k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) valid = false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values above U+10FFFF are not valid either.
        if (valid && ((extra == 2 && code < 0x800) || (extra == 3 && code < 0x10000) ||
                      (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF))
            valid = false;
        if (!valid) {
            result += static_cast<char32_t>(lead);
            ++i;
            continue;
        }
        result += code;
        i += extra + 1;
    }
    return result;
}

std::string WideToUtf8(const std::u32string& text) {
    std::string result;
    for (char32_t code : text) {
        if (code >= 0xD800 && code <= 0xDFFF) code = 0xFFFD;
        if (code > 0x10FFFF) code = 0xFFFD;
        if (code < 0x80) {
            result += static_cast<char>(code);
        } else if (code < 0x800) {
            result += static_cast<char>(0xC0 | (code >> 6));
            result += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            result += static_cast<char>(0xE0 | (code >> 12));
            result += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            result += static_cast<char>(0xF0 | (code >> 18));
            result += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            result += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return result;
}
