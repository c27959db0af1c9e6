// Labels: wrapping, line placement, drawing in the mouse states (plain, justified, slanted) and
// the scripts of mouse events.
#include "ui/KelLabel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "graphics/KelFont.h"
#include "graphics/KelFontEngine.h"
#include "ui/KelInterfaceEngine.h"

using L = TKelLabel;

const TKelClass& TKelLabel::StaticClass() {
    static const TKelClass info = MakeKelClass<L>(
        "TKelLabel", &TKelInterfaceObject::StaticClass(),
        {Field("MouseOverPicture", &L::MouseOverPicture),
         Field("MouseDownPicture", &L::MouseDownPicture),
         Field("MouseDownBumpMapPicture", &L::MouseDownBumpMapPicture),
         Accessor<L, std::string>("FontName", &L::fontName_, &L::SetFontName),
         Accessor<L, std::string>("Caption", &L::Caption, &L::SetCaption,
                                  TKelPropertyType::Utf8String),
         Accessor<L, uint8_t>("Alpha", &L::alpha_, &L::SetAlpha), Field("Color", &L::Color),
         Field("MouseOverColor", &L::MouseOverColor),
         Accessor<L, TTextAlignment>("Alignment", &L::alignment_, &L::SetAlignment),
         Accessor<L, TTextLayout>("Layout", &L::layout_, &L::SetLayout),
         Accessor<L, int32_t>("TextShiftLeft", &L::textShiftLeft_, &L::SetTextShiftLeft),
         Accessor<L, int32_t>("TextShiftTop", &L::textShiftTop_, &L::SetTextShiftTop),
         Accessor<L, int32_t>("LineSpace", &L::lineSpace_, &L::SetLineSpace),
         Field("TextDownShiftLeft", &L::TextDownShiftLeft),
         Field("TextDownShiftTop", &L::TextDownShiftTop),
         Accessor<L, bool>("Floating", &L::floating_, &L::SetFloating),
         Accessor<L, int32_t>("CharShiftAngle", &L::charShiftAngle_, &L::SetCharShiftAngle)});
    return info;
}

std::string TKelLabel::Caption() const {
    return WideToUtf8(caption_);
}

void TKelLabel::Rewrap() {
    if (Width() <= 0 || Height() <= 0) return;
    WrapText();
    PositionLines();
    RecordOldRect();
}

void TKelLabel::SetCaption(const std::string& caption) {
    caption_ = Utf8ToWide(caption);
    Rewrap();
}

void TKelLabel::SetWidth(int width) {
    TKelInterfaceObject::SetWidth(width);
    Rewrap();
}

void TKelLabel::SetPicture(const std::string& picture) {
    TKelInterfaceObject::SetPicture(picture);
    Rewrap();
}

void TKelLabel::UpdateLayout() {
    TKelInterfaceObject::UpdateLayout();
    WrapText();
    PositionLines();
}

void TKelLabel::SetFontName(const std::string& name) {
    fontName_ = name;
    LookUpFont();
    if (Width() > 0 && Height() > 0) {
        WrapText();
        PositionLines();
    }
}

void TKelLabel::SetAlignment(TTextAlignment alignment) {
    alignment_ = alignment;
    PositionLines();
    RecordOldRect();
}

void TKelLabel::SetLayout(TTextLayout layout) {
    layout_ = layout;
    PositionLines();
    RecordOldRect();
}

void TKelLabel::SetLineSpace(int space) {
    lineSpace_ = ClampCoordinate(space);
    PositionLines();
    RecordOldRect();
}

void TKelLabel::SetTextShiftLeft(int shift) {
    textShiftLeft_ = ClampCoordinate(shift);
    PositionLines();
    RecordOldRect();
}

void TKelLabel::SetTextShiftTop(int shift) {
    textShiftTop_ = ClampCoordinate(shift);
    PositionLines();
    RecordOldRect();
}

void TKelLabel::SetAlpha(uint8_t alpha) {
    RecordOldRect();
    alpha_ = alpha;
}

void TKelLabel::SetCharShiftAngle(int angle) {
    RecordOldRect();
    charShiftAngle_ = angle;
}

void TKelLabel::SetFloating(bool floating) {
    floating_ = floating;
    UpdateLayout();
}

int TKelLabel::CharWidth(char32_t c) const {
    return font_ ? font_->TextWidth(std::u32string(1, c)) : 0;
}

void TKelLabel::LookUpFont() {
    const TKelInterfaceEngine* engine = UiEngine();
    font_ = engine && engine->FontEngine ? engine->FontEngine->FindFont(fontName_) : nullptr;
}

TKelFont* TKelLabel::Font() {
    if (!font_) LookUpFont();
    return font_;
}

void TKelLabel::WrapText() {
    // A font the font engine did not know is looked up again at every wrap.
    if (!font_) LookUpFont();
    if (!font_) return;
    lines_.clear();
    if (caption_.empty() || fontName_.empty() || Width() == 0 || Height() == 0) return;

    // Trailing blanks and controls go; line breaks (CR LF or a lone CR or LF) and TABs become
    // single spaces.
    std::u32string text;
    size_t end = caption_.size();
    while (end > 0 && caption_[end - 1] <= 32) --end;
    for (size_t i = 0; i < end; ++i) {
        const char32_t c = caption_[i];
        if (c == U'\r' && i + 1 < end && caption_[i + 1] == U'\n') continue;
        text += c == U'\r' || c == U'\n' || c == U'\t' ? U' ' : c;
    }

    const int fh = font_->Height;
    const int ph = Picture().empty() ? 0 : PictureHeight();
    const auto closeLine = [&](size_t from, size_t to, int indent) {
        TKelTextLine line;
        line.Text = text.substr(from, to - from);
        line.Width = font_->TextWidth(line.Text);
        for (size_t i = 0; i < line.Text.size(); ++i)
            if (line.Text[i] == U' ' && i + 1 < line.Text.size()) ++line.Spaces;
        line.BesidePicture = indent != 0;
        lines_.push_back(std::move(line));
    };
    const auto indentNow = [&]() {
        if (!floating_) return 0;
        // k: the index of the last closed line, 0 before the first.
        const int64_t k = int64_t{fh} * std::max<int64_t>(0, std::ssize(lines_) - 1);
        const int top = PictureTop();
        return top - 2 * fh <= k && k < top + ph - fh ? PictureWidth() : 0;
    };

    size_t start = 0;
    size_t lastSpace = std::u32string::npos;
    int64_t width = 0;
    int indent = indentNow();
    for (size_t i = 0; i < text.size(); ++i) {
        const int charWidth = CharWidth(text[i]);
        // A line always keeps its first character, so every line consumes at least one.
        if (i > start && width + charWidth > AvailableWidth() - indent) {
            const int lineIndent = indent;
            if (lastSpace == std::u32string::npos) {
                closeLine(start, i, lineIndent);
                start = i;
            } else {
                closeLine(start, lastSpace, lineIndent);
                start = lastSpace;
                while (start < text.size() && text[start] == U' ') ++start;
                i = start;
            }
            lastSpace = std::u32string::npos;
            width = 0;
            indent = indentNow();
            if (start >= text.size()) break;
        }
        width += CharWidth(text[i]);
        if (text[i] == U' ' && i > start) lastSpace = i;
        indent = indentNow();
    }
    if (start < text.size()) closeLine(start, text.size(), indent);
    ApplyStyleToLines();
}

void TKelLabel::ApplyStyleToLines() {
    for (TKelTextLine& line : lines_) {
        line.Color = static_cast<uint32_t>(Color);
        line.HoverColor = static_cast<uint32_t>(MouseOverColor);
        line.Alpha = alpha_;
        line.FontName = fontName_;
    }
}

void TKelLabel::PositionLines() {
    const int64_t fh = font_ ? font_->Height : 0;
    const int64_t n = static_cast<int64_t>(lines_.size());
    const int64_t total = fh * n + (n - 1) * lineSpace_;
    for (int64_t i = 0; i < n; ++i) {
        TKelTextLine& line = lines_[static_cast<size_t>(i)];
        switch (alignment_) {
            case taCenter:
                line.X = (AvailableWidth() - line.Width) / 2 + textShiftLeft_;
                break;
            case taRight:
                line.X = AvailableWidth() + textShiftLeft_ - line.Width;
                break;
            case taLeft:
            case taJustify:
                line.X = textShiftLeft_;
                if (floating_ && PictureHAlign() == phaLeft && line.BesidePicture)
                    line.X += PictureWidth();
                break;
        }
        const int step = i * (fh + lineSpace_) + textShiftTop_;
        switch (layout_) {
            case tlTop:
                line.Y = step;
                break;
            case tlCenter:
                line.Y = (Height() - total) / 2 + step;
                break;
            case tlBottom:
                line.Y = Height() + step - total;
                break;
        }
    }
}

std::string TKelLabel::GetPictures() const {
    std::string names;
    for (const std::string* name : {&Picture(), &MouseOverPicture, &MouseDownPicture})
        if (!name->empty()) names += (names.empty() ? "" : "\r\n") + *name;
    return names;
}

void TKelLabel::Assign(const TKelObject& source) {
    TKelInterfaceObject::Assign(source);
    const auto* from = dynamic_cast<const TKelLabel*>(&source);
    if (!from) return;
    pressed_ = from->pressed_;
    hovered_ = from->hovered_;
    MouseOverPicture = from->MouseOverPicture;
    MouseDownPicture = from->MouseDownPicture;
    fontName_ = from->fontName_;
    font_ = from->font_;
    alpha_ = from->alpha_;
    Color = from->Color;
    MouseOverColor = from->MouseOverColor;
    alignment_ = from->alignment_;
    layout_ = from->layout_;
    textShiftLeft_ = from->textShiftLeft_;
    textShiftTop_ = from->textShiftTop_;
    TextDownShiftLeft = from->TextDownShiftLeft;
    TextDownShiftTop = from->TextDownShiftTop;
    lineSpace_ = from->lineSpace_;
    SetCaption(from->Caption());
}

void TKelLabel::Fire(const std::string& script, const std::string& sound) {
    TKelInterfaceEngine* engine = UiEngine();
    if (!engine) return;
    engine->QueueScript(Name(),
                        (sound.empty() ? "" : "PlaySound Sound=\"" + sound + "\";") + script);
}

void TKelLabel::MouseDown(TKelObject*, TMouseButton button, TShiftState, int x, int y) {
    if (button != TMouseButton::mbLeft || !PointInside(x, y)) return;
    Fire(OnMouseDown, SoundMouseDown);
    pressed_ = true;
    RecordOldRect();
    SetCurrentBumpMap(MouseDownBumpMapPicture);
    if (TKelInterfaceEngine* engine = UiEngine()) engine->RequestBumpPass();
}

void TKelLabel::MouseMove(TKelObject*, TShiftState, int x, int y) {
    if (hovered_) {
        hovered_ = false;
        RecordOldRect();
    }
    SetMouseOver(PointInside(x, y));
    if (!MouseOver()) return;
    Fire(OnMouseMove, SoundMouseMove);
    hovered_ = true;
    RecordOldRect();
}

void TKelLabel::MouseUp(TKelObject*, TMouseButton button, TShiftState, int x, int y) {
    if (button != TMouseButton::mbLeft || !pressed_) return;
    pressed_ = false;
    if (!PointInside(x, y)) return;
    Fire(OnMouseUp, SoundMouseUp);
    RecordOldRect();
    SetCurrentBumpMap(BumpMapPicture());
    if (TKelInterfaceEngine* engine = UiEngine()) engine->RequestBumpPass();
}

void TKelLabel::KeyDown(TKelObject*, int& key, TShiftState) {
    if (key != vk::Return && key != vk::Space) return;
    Press();
    key = 0;
}

void TKelLabel::Press() {
    Fire(OnMouseDown, SoundMouseDown);
    Fire(OnMouseUp, SoundMouseUp);
}

void TKelLabel::Draw() {
    const std::string* picture = &Picture();
    uint32_t color = static_cast<uint32_t>(Color);
    int dx = 0, dy = 0;
    if (hovered_ && pressed_) {
        picture = &MouseDownPicture;
        color = static_cast<uint32_t>(MouseOverColor);
        dx = TextDownShiftLeft;
        dy = TextDownShiftTop;
    } else if (Highlighted()) {
        picture = &MouseOverPicture;
        color = static_cast<uint32_t>(MouseOverColor);
    }
    if (IKelGraphic* host = Host(); host && !picture->empty())
        host->Draw(*picture, CurrentBumpMap(), BlendingMode, AbsLeft() + PictureLeft(),
                   AbsTop() + PictureTop(), PictureAlpha(), std::nullopt);
    for (size_t i = 0; i < lines_.size(); ++i) {
        const TKelTextLine& line = lines_[i];
        const bool justify = alignment_ == taJustify && i + 1 < lines_.size();
        const int room = AvailableWidth() - (line.BesidePicture ? PictureWidth() : 0);
        DrawLine(line, ClampCoordinate(int64_t{AbsLeft()} + dx + line.X),
                 ClampCoordinate(int64_t{AbsTop()} + dy + line.Y), color, justify, room);
    }
}

void TKelLabel::DrawLine(const TKelTextLine& line, int x, int y, uint32_t color, bool justify,
                         int room) const {
    if (!font_) return;
    if (justify)
        DrawJustified(line, x, y, color, room);
    else if (charShiftAngle_ != 0)
        DrawSlanted(line, x, y, color);
    else
        font_->DrawString(x, y, color, alpha_, line.Text);
}

void TKelLabel::DrawJustified(const TKelTextLine& line, int x, int y, uint32_t color,
                              int room) const {
    const int extra = room - line.Width;
    const int spaces = line.Spaces;
    if (spaces == 0 || extra <= 0) {
        font_->DrawString(x, y, color, alpha_, line.Text);
        return;
    }
    const int each = extra / spaces;
    const int remainder = extra % spaces;
    // The spaces (numbered from 1) that take one of the remaining pixels.
    std::vector<bool> onePixelMore(static_cast<size_t>(spaces) + 1, false);
    if (remainder > 0) {
        const double step = static_cast<double>(spaces) / remainder;
        for (int m = 1; m <= remainder; ++m) {
            const long index = std::lround(m * step);
            if (index >= 1 && index <= spaces) onePixelMore[static_cast<size_t>(index)] = true;
        }
    }
    int pen = x, spaceNumber = 0;
    for (char32_t c : line.Text) {
        const std::u32string one(1, c);
        font_->DrawString(pen, y, color, alpha_, one);
        pen += font_->TextWidth(one);
        if (c == U' ' && ++spaceNumber <= spaces)
            pen += each + (onePixelMore[static_cast<size_t>(spaceNumber)] ? 1 : 0);
    }
}

void TKelLabel::DrawSlanted(const TKelTextLine& line, int x, int y, uint32_t color) const {
    const double t = std::tan(charShiftAngle_ * std::numbers::pi / 180.0);
    const int lift = RoundCoordinate(std::fabs(t * line.X));
    const int baseY = charShiftAngle_ < 0 ? y + lift : y - lift;
    const int firstWidth = line.Text.empty() ? 0 : CharWidth(line.Text[0]);
    int before = 0;  // W(k-1): the width of the characters before the current one
    for (size_t k = 1; k <= line.Text.size(); ++k) {
        const char32_t c = line.Text[k - 1];
        const int width = CharWidth(c);
        int offset = 0;
        if (k >= 2) {
            if (charShiftAngle_ < 0)
                offset = RoundCoordinate(-t * before);
            else
                offset = std::abs(RoundCoordinate(firstWidth * t)) -
                         std::abs(RoundCoordinate((before + width) * t));
        }
        font_->DrawString(x + before, baseY + offset, color, alpha_, std::u32string(1, c));
        before += width;
    }
}
