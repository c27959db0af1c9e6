// Rich labels: the markup reader that lays the caption out into blocks, line and cell alignment,
// drawing with the vertical shift, and the link labels with their mouse handling.
#include "ui/KelRichLabel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/KelParserText.h"
#include "graphics/KelFont.h"
#include "graphics/KelFontEngine.h"
#include "ui/KelInterfaceEngine.h"

namespace {

// A link found by the layout: its first block, script, caption and font.
struct TLinkLayout {
    size_t Block = 0;
    std::string Script;
    std::u32string Caption;
    std::string FontName;
};

// A tag of the caption and the position right after its closing brace.
struct TTag {
    std::string Text;
    size_t End = 0;
};

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool IsLinkStart(const std::string& tag) {
    return tag.find("Link Action") != std::string::npos;
}

// The number n of a tag "<prefix>n/"; false when the tag is not of that form.
bool TagNumber(const std::string& tag, const std::string& prefix, int32_t& number) {
    if (!StartsWith(tag, prefix) || tag.size() < prefix.size() + 1 || tag.back() != '/')
        return false;
    return TryStrToInt(tag.substr(prefix.size(), tag.size() - prefix.size() - 1), number);
}

// Reads the caption's markup and places its words line by line within the room.
class TRichLayout {
  public:
    TRichLayout(const TKelFontEngine* fonts, TKelFont& labelFont, int room, uint32_t color,
                TTextAlignment alignment)
        : fonts_(fonts),
          labelFont_(labelFont),
          room_(room),
          colors_{color},
          fontNames_{labelFont.Name()},
          alignments_{alignment} {}

    std::vector<TKelRichBlock> Blocks;
    std::vector<TLinkLayout> Links;
    int TextWidth = 0;
    bool Wrapped = false;

    void Run(const std::u32string& text) {
        text_ = &text;
        const size_t n = text.size();
        size_t i = 0;
        std::u32string word;
        int64_t wordWidth = 0;
        size_t wordStart = 0;
        while (true) {
            // Tags and spaces up to the next word; spaces inside a link belong to its words.
            std::vector<TTag> tags;
            int spaces = 0;
            bool linking = inLink_;
            while (i < n) {
                if (text[i] == U'{' && !(i + 1 < n && text[i + 1] == U'{')) {
                    const size_t close = text.find(U'}', i + 1);
                    if (close == std::u32string::npos) {
                        i = n;  // a tag without its closing brace ends the markup
                        break;
                    }
                    TTag tag{WideToUtf8(text.substr(i + 1, close - i - 1)), close + 1};
                    if (IsLinkStart(tag.Text)) linking = true;
                    if (tag.Text == "/Link") linking = false;
                    tags.push_back(std::move(tag));
                    i = close + 1;
                } else if (text[i] == U' ' && !linking) {
                    ++spaces;
                    ++i;
                } else {
                    break;
                }
            }
            if (!word.empty()) PlaceWord(word, wordWidth, wordStart, spaces);
            word.clear();
            wordWidth = 0;
            for (const TTag& tag : tags) Apply(tag);
            if (i >= n) break;

            // The word: characters up to the next tag or space. A character that would take the
            // word beyond the room closes it first, unless it is the word's only character: every
            // word consumes at least one character, however narrow the room.
            wordStart = i;
            while (i < n) {
                const char32_t c = text[i];
                size_t length = 1;
                if (c == U'{' || c == U'}') {
                    if (i + 1 < n && text[i + 1] == c)
                        length = 2;  // a doubled brace stands for itself
                    else if (c == U'{')
                        break;
                } else if (c == U' ' && !inLink_) {
                    break;
                }
                const int charWidth = Font().TextWidth(std::u32string(1, c));
                if (!word.empty() && wordWidth + charWidth > room_) {
                    Wrapped = true;
                    PlaceWord(word, wordWidth, wordStart, 0);
                    word.clear();
                    wordWidth = 0;
                    wordStart = i;
                    continue;
                }
                word += c;
                wordWidth += charWidth;
                i += length;
            }
        }
        EndRow(false);
    }

  private:
    TKelFont& Font() const {
        TKelFont* font = fonts_ ? fonts_->FindFont(fontNames_.back()) : nullptr;
        return font ? *font : labelFont_;
    }
    int LineHeight() const { return labelFont_.Height; }

    void PlaceWord(const std::u32string& word, int64_t width, size_t start, int spaces) {
        if (x_ > 0 && x_ + width > room_) {
            Wrapped = true;
            EndRow(true);
            NewLine(LineHeight());
        }
        TKelFont& font = Font();
        TKelRichBlock block;
        if (!inLink_) block.Text = word;
        block.X = ClampCoordinate(x_);
        block.Y = ClampCoordinate(y_);
        block.Color = colors_.back();
        block.FontName = font.Name();
        block.Width = ClampCoordinate(width);
        block.Spaces = spaces;
        block.Space = ClampCoordinate(int64_t{spaces} * font.TextWidth(U" "));
        x_ = ClampCoordinate(x_ + block.Width + block.Space);
        if (linkPending_) {
            const size_t end = text_->find(U'{', start);
            Links.push_back({Blocks.size(), linkScript_,
                             text_->substr(start, end == std::u32string::npos ? end : end - start),
                             font.Name()});
            linkPending_ = false;
        }
        Blocks.push_back(std::move(block));
    }

    // Pops while more than the initial value is left.
    template <class T>
    static void Pop(std::vector<T>& stack) {
        if (stack.size() > 1) stack.pop_back();
    }

    void Apply(const TTag& tag) {
        const std::string& t = tag.Text;
        int32_t number = 0;
        static const std::vector<std::pair<std::string, TTextAlignment>> alignmentTags = {
            {"Left", taLeft}, {"Center", taCenter}, {"Right", taRight}, {"Justify", taJustify}};
        static const std::vector<std::pair<std::string, TTextAlignment>> cellTags = {
            {"TLeft ", taLeft}, {"TCenter ", taCenter}, {"TRight ", taRight}};
        if (StartsWith(t, "/$")) {
            Pop(colors_);
        } else if (StartsWith(t, "$")) {
            if (TryStrToInt(t, number)) colors_.push_back(static_cast<uint32_t>(number));
        } else if (StartsWith(t, "/F")) {
            Pop(fontNames_);
        } else if (StartsWith(t, "F")) {
            const std::string name = t.size() > 5 ? t.substr(5, t.find(' ', 5) - 5) : "";
            fontNames_.push_back(name);
        } else if (t == "Table") {
            EndRow(false);
            if (!LineEmpty()) NewLine(LineHeight());
            ++tableDepth_;
            StartCell(0, taLeft);
        } else if (t == "/Table") {
            if (tableDepth_ == 0) return;
            EndRow(false);
            NewLine(LineHeight());
            --tableDepth_;
        } else if (t == "BR/") {
            EndRow(false);
            NewLine(LineHeight());
        } else if (TagNumber(t, "BR ", number)) {
            EndRow(false);
            NewLine(number);
        } else if (TagNumber(t, "HR ", number)) {
            if (!LineEmpty())
                Blocks.back().Space = ClampCoordinate(int64_t{Blocks.back().Space} + number);
            x_ = ClampCoordinate(x_ + number);
        } else if (IsLinkStart(t)) {
            inLink_ = linkPending_ = true;
            linkScript_ = t.size() > 12 ? t.substr(12) : "";
        } else if (t == "/Link") {
            inLink_ = linkPending_ = false;
        } else {
            for (const auto& [name, alignment] : alignmentTags) {
                if (t == name) alignments_.push_back(alignment);
                if (t == "/" + name) {
                    EndRow(false);
                    Pop(alignments_);
                    NewLine(LineHeight());
                }
            }
            for (const auto& [name, alignment] : cellTags) {
                if (tableDepth_ > 0 && TagNumber(t, name, number)) {
                    AlignCell();
                    StartCell(number, alignment);
                }
            }
        }
    }

    bool LineEmpty() const { return lineStart_ >= Blocks.size(); }

    // Ends the current row: in a table its cell is aligned, else the line. A line ended by the
    // room is justified; one ended by markup or the text's end is not (a paragraph's last line).
    void EndRow(bool wrapped) {
        if (tableDepth_ > 0) {
            AlignCell();
            return;
        }
        const TTextAlignment alignment = alignments_.back();
        AlignLine(alignment == taJustify && !wrapped ? taLeft : alignment);
    }

    void NewLine(int64_t step) {
        y_ = ClampCoordinate(y_ + step);
        x_ = 0;
        lineStart_ = cellStart_ = Blocks.size();
    }

    void StartCell(int tab, TTextAlignment alignment) {
        cellStart_ = Blocks.size();
        cellTab_ = tab;
        cellAlignment_ = alignment;
        x_ = 0;
    }

    // The widths and trailing spaces of the blocks from `first` on, without the last one's space.
    int64_t Sum(size_t first) const {
        int64_t sum = 0;
        for (size_t b = first; b < Blocks.size(); ++b)
            sum += Blocks[b].Width + (b + 1 < Blocks.size() ? Blocks[b].Space : 0);
        return sum;
    }

    // Every block from `first` on starts where the previous one and its trailing space end.
    void Chain(size_t first) {
        for (size_t b = first + 1; b < Blocks.size(); ++b)
            Blocks[b].X = ClampCoordinate(int64_t{Blocks[b - 1].X} + Blocks[b - 1].Width +
                                          Blocks[b - 1].Space);
    }

    void AlignLine(TTextAlignment alignment) {
        if (LineEmpty()) return;
        const int64_t sum = Sum(lineStart_);
        TextWidth = ClampCoordinate(std::max<int64_t>(TextWidth, sum));
        TKelRichBlock& first = Blocks[lineStart_];
        switch (alignment) {
            case taLeft:
                return;
            case taCenter:
                first.X = ClampCoordinate((room_ - sum) / 2);
                break;
            case taRight:
                first.X = ClampCoordinate(room_ - sum);
                break;
            case taJustify:
                Justify(room_ - sum);
                break;
        }
        Chain(lineStart_);
    }

    // Widens the line's spaces by the free pixels as a justified label does: each space by
    // free div spaces, and one more pixel for the spaces numbered round(k * spaces / remainder).
    void Justify(int64_t free) {
        int64_t spaces = 0;
        for (size_t b = lineStart_; b + 1 < Blocks.size(); ++b) spaces += Blocks[b].Spaces;
        if (spaces == 0 || free <= 0) return;
        const int64_t each = free / spaces;
        const int64_t remainder = free % spaces;
        std::vector<bool> onePixelMore(static_cast<size_t>(spaces) + 1, false);
        if (remainder > 0) {
            const double step = static_cast<double>(spaces) / static_cast<double>(remainder);
            for (int64_t k = 1; k <= remainder; ++k) {
                const int64_t index = std::llround(static_cast<double>(k) * step);
                if (index >= 1 && index <= spaces) onePixelMore[static_cast<size_t>(index)] = true;
            }
        }
        size_t number = 0;
        for (size_t b = lineStart_; b + 1 < Blocks.size(); ++b) {
            int64_t widening = 0;
            for (int s = 0; s < Blocks[b].Spaces; ++s)
                widening += each + (onePixelMore[++number] ? 1 : 0);
            Blocks[b].Space = ClampCoordinate(Blocks[b].Space + widening);
        }
    }

    void AlignCell() {
        if (cellStart_ >= Blocks.size()) return;
        const int64_t sum = Sum(cellStart_);
        TKelRichBlock& first = Blocks[cellStart_];
        switch (cellAlignment_) {
            case taCenter:
                first.X = ClampCoordinate(cellTab_ - sum / 2);
                break;
            case taRight:
                first.X = ClampCoordinate(cellTab_ - sum);
                break;
            default:
                first.X = ClampCoordinate(int64_t{first.X} + cellTab_);
                break;
        }
        Chain(cellStart_);
        TextWidth =
            std::max(TextWidth, ClampCoordinate(int64_t{Blocks.back().X} + Blocks.back().Width));
        cellStart_ = Blocks.size();
    }

    const TKelFontEngine* fonts_;
    TKelFont& labelFont_;
    const std::u32string* text_ = nullptr;
    const int room_;
    std::vector<uint32_t> colors_;
    std::vector<std::string> fontNames_;
    std::vector<TTextAlignment> alignments_;
    int64_t x_ = 0, y_ = 0;
    size_t lineStart_ = 0;
    int tableDepth_ = 0;
    size_t cellStart_ = 0;
    int cellTab_ = 0;
    TTextAlignment cellAlignment_ = taLeft;
    bool inLink_ = false, linkPending_ = false;
    std::string linkScript_;
};

}  // namespace

using R = TKelRichLabel;

const TKelClass& TKelRichLabel::StaticClass() {
    static const TKelClass info =
        MakeKelClass<R>("TKelRichLabel", &TKelLabel::StaticClass(),
                        {Accessor<R, int32_t>("LinkColor", &R::linkColor_, &R::SetLinkColor),
                         Accessor<R, int32_t>("LinkMouseOverColor", &R::linkMouseOverColor_,
                                              &R::SetLinkMouseOverColor)});
    return info;
}

void TKelRichLabel::SetLinkColor(int32_t color) {
    linkColor_ = color;
    WrapText();
    RecordOldRect();
}

void TKelRichLabel::SetLinkMouseOverColor(int32_t color) {
    linkMouseOverColor_ = color;
    WrapText();
    RecordOldRect();
}

void TKelRichLabel::SetWidth(int width) {
    TKelInterfaceObject::SetWidth(width);
    WrapText();
}

void TKelRichLabel::SetAlpha(uint8_t alpha) {
    TKelLabel::SetAlpha(alpha);
    WrapText();
}

void TKelRichLabel::SetCaption(const std::string& caption) {
    StoreCaption(NormalizeSpaces(caption));
    WrapText();
    RecordOldRect();
}

void TKelRichLabel::Assign(const TKelObject& source) {
    if (const auto* from = dynamic_cast<const TKelRichLabel*>(&source)) {
        linkColor_ = from->linkColor_;
        linkMouseOverColor_ = from->linkMouseOverColor_;
    }
    TKelLabel::Assign(source);  // sets the caption last, which lays it out
}

void TKelRichLabel::WrapText() {
    blocks_.clear();
    links_.clear();
    textWidth_ = 0;
    wrapped_ = false;
    TKelFont* font = Font();
    const TKelInterfaceEngine* engine = UiEngine();
    if (!font || !engine) return;
    TRichLayout layout(engine->FontEngine, *font, Width() - TextShiftLeft(),
                       static_cast<uint32_t>(Color), Alignment());
    layout.Run(WideCaption());
    blocks_ = std::move(layout.Blocks);
    textWidth_ = layout.TextWidth;
    wrapped_ = layout.Wrapped;
    for (const TLinkLayout& link : layout.Links) {
        auto label = std::make_unique<TKelLabel>();
        // Named before it joins the engine, so that its script runs as the rich label's.
        label->SetName(Name());
        label->SetEngine(GetEngine());
        label->SetFontName(link.FontName);
        label->Color = linkColor_;
        label->MouseOverColor = linkMouseOverColor_;
        label->OnMouseDown = link.Script;
        label->SetAlpha(Alpha());
        label->SetHeight(font->Height);
        label->SetWidth(blocks_[link.Block].Width);
        label->SetCaption(WideToUtf8(link.Caption));
        links_.push_back({link.Block, std::move(label)});
    }
    PlaceLinks();
}

int TKelRichLabel::VerticalShift() {
    const TKelFont* font = Font();
    if (blocks_.empty() || !font) return 0;
    const int64_t bottom = int64_t{blocks_.back().Y} + font->Height;
    switch (Layout()) {
        case tlBottom:
            return ClampCoordinate(std::llabs(Height() - bottom));
        case tlCenter:
            return ClampCoordinate(std::llabs(Height() / 2 - bottom / 2));
        case tlTop:
            break;
    }
    return 0;
}

void TKelRichLabel::PlaceLinks() {
    const int shift = VerticalShift();
    for (const TKelRichLink& link : links_) {
        const TKelRichBlock& block = blocks_[link.Block];
        link.Label->SetLeft(ClampCoordinate(int64_t{AbsLeft()} + TextShiftLeft() + block.X));
        link.Label->SetTop(ClampCoordinate(int64_t{AbsTop()} + TextShiftTop() + block.Y + shift));
    }
}

void TKelRichLabel::MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x,
                              int y) {
    TKelLabel::MouseDown(sender, button, shift, x, y);
    PlaceLinks();
    for (const TKelRichLink& link : links_) link.Label->MouseDown(sender, button, shift, x, y);
    RecordOldRect();
}

void TKelRichLabel::MouseMove(TKelObject* sender, TShiftState shift, int x, int y) {
    TKelLabel::MouseMove(sender, shift, x, y);
    PlaceLinks();
    for (const TKelRichLink& link : links_) link.Label->MouseMove(sender, shift, x, y);
    RecordOldRect();
}

void TKelRichLabel::MouseUp(TKelObject* sender, TMouseButton button, TShiftState shift, int x,
                            int y) {
    TKelLabel::MouseUp(sender, button, shift, x, y);
    for (const TKelRichLink& link : links_) link.Label->MouseUp(sender, button, shift, x, y);
}

void TKelRichLabel::Draw() {
    TKelInterfaceObject::Draw();
    const TKelInterfaceEngine* engine = UiEngine();
    if (!engine || !engine->FontEngine) return;
    const int shift = VerticalShift();
    for (const TKelRichBlock& block : blocks_) {
        if (block.Text.empty()) continue;
        if (TKelFont* font = engine->FontEngine->FindFont(block.FontName))
            font->DrawString(ClampCoordinate(int64_t{AbsLeft()} + TextShiftLeft() + block.X),
                             ClampCoordinate(int64_t{AbsTop()} + TextShiftTop() + block.Y + shift),
                             block.Color, Alpha(), block.Text);
    }
    PlaceLinks();
    for (const TKelRichLink& link : links_) link.Label->Draw();
}
