// Whether captions fit their labels: in English with room for translations, translated as
// they are.
#include <algorithm>
#include <string>
#include <vector>

#include "check/CheckData.h"
#include "core/Utf8.h"
#include "graphics/KelFont.h"
#include "graphics/KelFontEngine.h"
#include "ui/KelInterfaceEngine.h"

// The top-level form an interface object belongs to.
const TKelInterfaceObject* WindowOf(const TKelInterfaceObject& object) {
    const TKelInterfaceObject* window = &object;
    for (int depth = 0; depth < 16; ++depth) {
        const auto* parent = dynamic_cast<const TKelInterfaceObject*>(window->Parent);
        if (!parent) break;
        window = parent;
    }
    return window;
}

bool Inside(const TRect& inner, const TRect& outer) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

// The lines a label holds: the lines' distance gives the line space.
static int64_t LineCapacity(const TKelLabel& label, const TKelFont& font) {
    const std::vector<TKelTextLine>& lines = label.Lines();
    const int64_t step =
        lines.size() > 1 ? std::max<int64_t>(1, lines[1].Y - lines[0].Y) : font.Height;
    return (int64_t{label.Height()} + step - font.Height) / step;
}

// A caption must fit its label in English with room for translations 30 % longer: on a
// one-line label its width, in a taller one the lines its text would wrap to.
void CheckCaptionRoom(const TKelLabel& label, const TKelFontEngine& fonts, TProblems& problems) {
    const std::vector<TKelTextLine>& lines = label.Lines();
    const TKelFont* font = fonts.FindFont(label.FontName());
    if (lines.empty() || !font || font->Height <= 0) return;
    const std::string owner = std::string(InterfaceEntry) + ": " + label.Name();
    const int64_t capacity = LineCapacity(label, *font);
    const int64_t room = label.AvailableWidth();
    if (room <= 0) return;
    if (int64_t(lines.size()) > capacity) {
        problems.push_back(owner + ": its caption needs " + std::to_string(lines.size()) +
                           " lines, the label holds " + std::to_string(capacity));
        return;
    }
    int64_t width = 0;
    for (const TKelTextLine& line : lines) width += line.Width;
    // Wrapped lines fill about 85 % of the width.
    const bool roomy = capacity == 1 ? width * 13 <= room * 10
                                     : (width * 1300 + room * 850 - 1) / (room * 850) <= capacity;
    if (!roomy)
        problems.push_back(owner + ": its caption leaves too little room for longer translations");
}

// The characters of the text that the font has no glyph for, each once.
std::u32string MissingGlyphs(const std::u32string& text, const TKelFont& font) {
    std::u32string missing;
    for (char32_t c : text)
        if (c >= 32 && !font.IsCharKnown(c) && missing.find(c) == std::u32string::npos)
            missing += c;
    return missing;
}

// A translated caption must simply fit: the label's font has all of its characters, no word is
// wider than the label (it would be cut in the middle) and the label holds all of its lines.
void CheckCaptionFits(const std::string& owner, const TKelLabel& label, const TKelFontEngine& fonts,
                      TProblems& problems) {
    const TKelFont* font = fonts.FindFont(label.FontName());
    if (!font || font->Height <= 0) return;
    const std::string who = owner + ": " + label.Name();
    const std::u32string caption = Utf8ToWide(label.Caption());
    const std::u32string missing = MissingGlyphs(caption, *font);
    if (!missing.empty())
        problems.push_back(who + ": the font " + label.FontName() + " has no glyphs for \"" +
                           WideToUtf8(missing) + "\"");
    const int64_t room = label.AvailableWidth();
    if (label.Lines().empty() || room <= 0) return;
    const int64_t capacity = LineCapacity(label, *font);
    if (int64_t(label.Lines().size()) > capacity) {
        problems.push_back(who + ": its caption needs " + std::to_string(label.Lines().size()) +
                           " lines, the label holds " + std::to_string(capacity));
        return;
    }
    std::u32string word;
    for (size_t i = 0; i <= caption.size(); ++i) {
        if (i < caption.size() && caption[i] > 32) {
            word += caption[i];
            continue;
        }
        if (font->TextWidth(word) > room)
            problems.push_back(who + ": \"" + WideToUtf8(word) + "\" is wider than the label");
        word.clear();
    }
}
