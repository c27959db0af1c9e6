// Edits: filters, caret and selection, keys, typed characters, the clipboard, the mouse and
// drawing.
#include "ui/KelEdit.h"

#include <algorithm>

#include "graphics/KelFont.h"
#include "graphics/KelFontEngine.h"
#include "ui/KelInterfaceEngine.h"

using E = TKelEdit;

namespace {
constexpr char32_t SelectAllCode = 1, CopyCode = 3, PasteCode = 22, CutCode = 24;

bool IsDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}
}  // namespace

const TKelClass& TKelEdit::StaticClass() {
    static const TKelClass info = MakeKelClass<E>(
        "TKelEdit", &TKelFocusedObject::StaticClass(),
        {Accessor<E, std::string>("Caption", &E::Caption, &E::SetCaption,
                                  TKelPropertyType::Utf8String),
         Accessor<E, std::string>("FontName", &E::fontName_, &E::SetFontName),
         Field("CharSet", &E::CharSet), Field("Alpha", &E::Alpha), Field("Color", &E::Color),
         Field("SelectColor", &E::SelectColor), Field("TextShiftLeft", &E::TextShiftLeft),
         Field("TextShiftTop", &E::TextShiftTop), Field("CursorPicture", &E::CursorPicture),
         Field("PasswordChar", &E::PasswordChar, TKelPropertyType::Utf8String),
         Accessor<E, TInputMode>("InputMode", &E::inputMode_, &E::SetInputMode),
         Accessor<E, std::string>("ForbiddenChars", &E::forbiddenChars_, &E::SetForbiddenChars,
                                  TKelPropertyType::Utf8String),
         Field("MaxLength", &E::MaxLength), Field("MaxWidth", &E::MaxWidth),
         Field("ReadOnly", &E::ReadOnly)});
    return info;
}

std::string TKelEdit::Caption() const {
    return WideToUtf8(text_);
}

void TKelEdit::SetCaption(const std::string& caption) {
    RecordOldRect();
    text_ = Utf8ToWide(caption);
    Filter();
    caret_ = static_cast<int>(text_.size()) + 1;
}

void TKelEdit::SetFontName(const std::string& name) {
    RecordOldRect();
    fontName_ = name;
}

void TKelEdit::SetInputMode(TInputMode mode) {
    RecordOldRect();
    inputMode_ = mode;
    Filter();
}

void TKelEdit::SetForbiddenChars(const std::string& chars) {
    RecordOldRect();
    forbiddenChars_ = chars;
    Filter();
}

bool TKelEdit::Accepts(char32_t c) const {
    if (inputMode_ == imNumbersOnly && !IsDigit(c)) return false;
    return Utf8ToWide(forbiddenChars_).find(c) == std::u32string::npos;
}

void TKelEdit::Filter() {
    std::erase_if(text_, [this](char32_t c) { return !Accepts(c); });
    ClampPlaces();
}

void TKelEdit::ClampPlaces() {
    const int end = static_cast<int>(text_.size()) + 1;
    caret_ = std::clamp(caret_, 1, end);
    anchor_ = std::clamp(anchor_, 0, end);
    selectionEnd_ = std::clamp(selectionEnd_, 0, end);
}

std::u32string TKelEdit::SelectedText() const {
    if (!HasSelection()) return {};
    const int first = std::min(anchor_, selectionEnd_);
    const int last = std::max(anchor_, selectionEnd_);
    return text_.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first));
}

TKelFont* TKelEdit::Font() {
    const TKelInterfaceEngine* engine = UiEngine();
    return engine && engine->FontEngine ? engine->FontEngine->FindFont(fontName_) : nullptr;
}

std::u32string TKelEdit::Shown(const std::u32string& text) const {
    if (PasswordChar.empty()) return text;
    const std::u32string mask = Utf8ToWide(PasswordChar);
    std::u32string shown;
    for (size_t i = 0; i < text.size(); ++i) shown += mask;
    return shown;
}

int TKelEdit::ShownWidth(const std::u32string& text) {
    const TKelFont* font = Font();
    return font ? font->TextWidth(Shown(text)) : 0;
}

void TKelEdit::SetFocused(bool focused) {
    TKelFocusedObject::SetFocused(focused);
    if (focused) {
        anchor_ = 1;
        caret_ = selectionEnd_ = static_cast<int>(text_.size()) + 1;
    } else {
        anchor_ = selectionEnd_ = 0;
    }
}

std::string TKelEdit::GetPictures() const {
    if (Picture().empty()) return CursorPicture;
    return CursorPicture.empty() ? Picture() : Picture() + "\r\n" + CursorPicture;
}

void TKelEdit::Assign(const TKelObject& source) {
    TKelFocusedObject::Assign(source);
    const auto* from = dynamic_cast<const TKelEdit*>(&source);
    if (!from) return;
    caret_ = from->caret_;
    CursorPicture = from->CursorPicture;
    fontName_ = from->fontName_;
    CharSet = from->CharSet;
    text_ = from->text_;
    Alpha = from->Alpha;
    Color = from->Color;
    SelectColor = from->SelectColor;
    TextShiftLeft = from->TextShiftLeft;
    TextShiftTop = from->TextShiftTop;
    ReadOnly = from->ReadOnly;
    MaxLength = from->MaxLength;
    MaxWidth = from->MaxWidth;
    ClampPlaces();
}

void TKelEdit::Blink(uint32_t milliseconds) {
    const bool shown = Focused() && (milliseconds / 500 % 2 == 0 || PressedInside());
    if (shown == caretShown_) return;
    RecordOldRect();
    caretShown_ = shown;
}

void TKelEdit::DeleteSelection() {
    if (!HasSelection()) return;
    const int first = std::min(anchor_, selectionEnd_);
    const int last = std::max(anchor_, selectionEnd_);
    text_.erase(static_cast<size_t>(first - 1), static_cast<size_t>(last - first));
    caret_ = anchor_ = selectionEnd_ = first;
}

void TKelEdit::MoveCaret(int caret, bool extend) {
    caret_ = selectionEnd_ = caret;
    if (!extend) anchor_ = caret;
}

void TKelEdit::KeyDown(TKelObject*, int& key, TShiftState shift) {
    if (ReadOnly || !Focused()) return;
    RecordOldRect();
    const int end = static_cast<int>(text_.size()) + 1;
    const bool extend = (shift & ssShift) != 0;
    switch (key) {
        case vk::Back:
            if (!HasSelection() && caret_ > 1) {
                text_.erase(static_cast<size_t>(caret_ - 2), 1);
                MoveCaret(caret_ - 1, false);
            }
            DeleteSelection();
            break;
        case vk::Delete:
            if (!HasSelection() && caret_ < end) text_.erase(static_cast<size_t>(caret_ - 1), 1);
            DeleteSelection();
            break;
        case vk::Home:
            MoveCaret(1, extend);
            break;
        case vk::End:
            MoveCaret(end, extend);
            break;
        case vk::Left:
            MoveCaret(caret_ > 1 ? caret_ - 1 : caret_, extend);
            break;
        case vk::Right:
            MoveCaret(caret_ < end ? caret_ + 1 : caret_, extend);
            break;
        default:
            return;  // not the edit's key: it may still move the focus
    }
    key = 0;
}

void TKelEdit::KeyPress(TKelObject*, char32_t& key) {
    if (ReadOnly || !Focused() || static_cast<int64_t>(text_.size()) >= MaxLength) return;
    RecordOldRect();
    const TKelFont* font = Font();
    if (key >= 32 && font && font->IsCharKnown(key)) {
        Type(key);
        return;
    }
    const bool limits = MaxLength > 0 && MaxWidth > 0;
    IKelClipboard* clipboard = UiEngine() ? UiEngine()->Clipboard : nullptr;
    switch (key) {
        case SelectAllCode:
            anchor_ = 1;
            caret_ = selectionEnd_ = static_cast<int>(text_.size()) + 1;
            break;
        case CopyCode:
            if (limits && PasswordChar.empty() && HasSelection() && clipboard)
                clipboard->SetText(WideToUtf8(SelectedText()));
            break;
        case CutCode:
            if (limits) {
                const std::u32string cut = SelectedText();
                DeleteSelection();
                if (!cut.empty() && clipboard) clipboard->SetText(WideToUtf8(cut));
            }
            break;
        case PasteCode:
            DeleteSelection();
            if (limits) Paste();
            break;
        default:
            break;
    }
}

void TKelEdit::Type(char32_t c) {
    if (!Accepts(c)) return;
    DeleteSelection();
    std::u32string typed = text_;
    typed.insert(static_cast<size_t>(caret_ - 1), 1, c);
    if (ShownWidth(typed) >= int64_t{MaxWidth} - TextShiftLeft) return;
    text_ = std::move(typed);
    MoveCaret(caret_ + 1, false);
}

void TKelEdit::Paste() {
    IKelClipboard* clipboard = UiEngine() ? UiEngine()->Clipboard : nullptr;
    if (!clipboard) return;
    // Line breaks (a CR LF pair, a lone CR or LF) and TABs become single spaces.
    std::u32string pasted;
    const std::u32string clip = Utf8ToWide(clipboard->Text());
    for (size_t i = 0; i < clip.size(); ++i) {
        const char32_t c = clip[i];
        if (c == U'\r' && i + 1 < clip.size() && clip[i + 1] == U'\n') ++i;
        pasted += c == U'\r' || c == U'\n' || c == U'\t' ? U' ' : c;
    }
    const int64_t room = int64_t{MaxLength} - static_cast<int64_t>(text_.size());
    if (room <= 0) return;
    if (pasted.empty()) return;
    if (static_cast<int64_t>(pasted.size()) > room) pasted.resize(static_cast<size_t>(room));
    const int64_t widthRoom = int64_t{MaxWidth} - ShownWidth(text_) - TextShiftLeft;
    if (ShownWidth(pasted) > widthRoom) {
        size_t n = std::min(static_cast<size_t>(room - 1), pasted.size() - 1);
        while (n > 0 && ShownWidth(pasted.substr(0, n)) > widthRoom) --n;
        pasted.resize(n);
    }
    if (pasted.empty()) return;
    text_.insert(static_cast<size_t>(caret_ - 1), pasted);
    MoveCaret(caret_ + static_cast<int>(pasted.size()), false);
}

int TKelEdit::CaretAt(int x) {
    const int64_t start = int64_t{AbsLeft()} + TextShiftLeft;
    const int length = static_cast<int>(text_.size());
    if (x >= start + ShownWidth(text_)) return length + 1;
    for (int n = 1; n <= length; ++n)
        if (x < start + ShownWidth(text_.substr(0, static_cast<size_t>(n)))) return n;
    return length + 1;
}

void TKelEdit::MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
    TKelFocusedObject::MouseDown(sender, button, shift, x, y);
    anchor_ = selectionEnd_ = 1;
    if (!PointInside(x, y)) return;
    RecordOldRect();
    if (button != TMouseButton::mbLeft) return;
    if (shift & ssDouble) {
        anchor_ = 1;
        caret_ = selectionEnd_ = static_cast<int>(text_.size()) + 1;
        doubleClick_ = true;
        return;
    }
    MoveCaret(CaretAt(x), (shift & ssShift) != 0);
}

void TKelEdit::MouseMove(TKelObject*, TShiftState shift, int x, int) {
    if (!(shift & ssLeft) || !Focused() || !PressedInside() || doubleClick_) return;
    RecordOldRect();
    caret_ = selectionEnd_ = CaretAt(x);
}

void TKelEdit::MouseUp(TKelObject*, TMouseButton, TShiftState, int, int) {
    doubleClick_ = false;
    ReleasePress();
}

void TKelEdit::Draw() {
    IKelGraphic* host = Host();
    if (!host) return;
    host->Draw(Picture(), BumpMapPicture(), BlendingMode, AbsLeft(), AbsTop(), PictureAlpha(),
               std::nullopt);
    TKelFont* font = Font();
    if (!font) return;
    const int x = ClampCoordinate(int64_t{AbsLeft()} + TextShiftLeft);
    const int y = ClampCoordinate(int64_t{AbsTop()} + TextShiftTop);
    if (!PasswordChar.empty()) {
        font->DrawString(x, y, static_cast<uint32_t>(Color), Alpha, Shown(text_));
    } else {
        const int first = std::min(anchor_, selectionEnd_);
        const int last = std::max(anchor_, selectionEnd_);
        int64_t pen = x;
        for (size_t i = 0; i < text_.size(); ++i) {
            const std::u32string one(1, text_[i]);
            const int place = static_cast<int>(i) + 1;
            const bool selected = place >= first && place < last;
            font->DrawString(ClampCoordinate(pen), y,
                             static_cast<uint32_t>(selected ? SelectColor : Color), Alpha, one);
            pen += font->TextWidth(one);
        }
    }
    if (!Focused() || !caretShown_ || CursorPicture.empty()) return;
    int cw = 0, ch = 0;
    PictureSize(CursorPicture, cw, ch);
    const size_t before = static_cast<size_t>(std::clamp(caret_ - 1, 0, int(text_.size())));
    host->Draw(CursorPicture, "", bmNormal,
               ClampCoordinate(int64_t{x} + ShownWidth(text_.substr(0, before)) - cw / 2 - 1), y,
               255, std::nullopt);
}
