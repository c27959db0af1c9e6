// Metrics parsing, layout and measuring of one bitmap font.
#include "graphics/KelFont.h"

#include <algorithm>
#include <limits>

#include "core/KelException.h"
#include "core/KelParserText.h"
#include "graphics/KelFontEngine.h"

const TKelClass& TKelFont::StaticClass() {
    static const TKelClass info = MakeKelClass<TKelFont>(
        "TKelFont", &TKelObject::StaticClass(),
        {Field("Height", &TKelFont::Height), Field("Picture", &TKelFont::Picture),
         Accessor<TKelFont, std::string>("Metrics", nullptr, &TKelFont::SetMetrics)});
    return info;
}

namespace {

std::vector<std::string> Split(const std::string& text, char delimiter) {
    std::vector<std::string> pieces(1);
    for (char c : text) {
        if (c == delimiter)
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    return pieces;
}

int32_t Saturate(int64_t value) {
    return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

bool IsBlank(char32_t c) {
    return c <= U' ';
}

}  // namespace

void TKelFont::SetMetrics(const std::string& text) {
    std::vector<TCharDesc> descs;
    for (const std::string& piece : Split(text, ',')) {
        const std::vector<std::string> fields = Split(piece, ':');
        int32_t values[6] = {};
        for (size_t i = 0; i < std::min<size_t>(fields.size(), 6); ++i)
            if (!TryStrToInt(fields[i], values[i]))
                throw KelException("[TKelFont.SetMetrics] '" + fields[i] +
                                   "' is not a valid integer value");
        descs.push_back({values[0], values[1], values[2], values[3], values[4], values[5]});
    }
    descs_ = std::move(descs);
    std::fill(charMap_.begin(), charMap_.end(), 0);
    // Codes outside the map, and descriptions beyond what a map entry can index, map nothing.
    const size_t mappable = std::min<size_t>(descs_.size(), 65536);
    for (size_t i = 0; i < mappable; ++i) {
        const int32_t code = descs_[i].Code;
        if (code >= 0 && code <= 0xFFFF) charMap_[size_t(code)] = uint16_t(i);
    }
}

const TCharDesc& TKelFont::DescOf(char32_t c) const {
    return descs_[c <= 0xFFFF ? charMap_[c] : 0];
}

bool TKelFont::IsCharKnown(char32_t c) const {
    return c == U' ' || (c <= 0xFFFF && charMap_[c]);
}

int32_t TKelFont::TextWidth(const std::u32string& text) const {
    if (descs_.empty()) return 0;
    int64_t width = 0;
    for (char32_t c : text) {
        const TCharDesc& d = DescOf(c);
        width += int64_t(d.PreSpace) + d.Width + d.PostSpace;
    }
    return Saturate(width);
}

void TKelFont::DrawString(int32_t x, int32_t y, uint32_t color, uint8_t alpha,
                          const std::u32string& text) {
    auto* engine = dynamic_cast<TKelFontEngine*>(GetEngine());
    if (!engine || descs_.empty()) return;
    const auto first = std::find_if_not(text.begin(), text.end(), IsBlank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), IsBlank).base();
    if (first >= last) return;
    if (last - first == 1 && !IsCharKnown(*first)) return;

    const size_t count = std::min(text.size(), engine->Placements.size());
    int64_t pen = x;
    for (size_t p = 0; p < count; ++p) {
        const TCharDesc& d = DescOf(text[p]);
        pen += d.PreSpace;
        engine->Placements[p] = {d.SrcX,
                                 d.SrcY,
                                 Saturate(int64_t(d.SrcX) + d.Width - 1),
                                 Saturate(int64_t(d.SrcY) + Height - 1),
                                 Saturate(pen),
                                 y,
                                 color,
                                 alpha};
        pen += int64_t(d.Width) + d.PostSpace;
    }
    if (engine->Host) engine->Host->ExtDraw(Picture, int(count));
}
