// TKelEdit: the one-line text entry (the player's name, for example): a caret, a selection,
// keyboard editing, clipboard copy, cut and paste, character filters, a length and a pixel-width
// limit and an optional password mask. Relies on the interface objects (KelInterfaceObject), the
// fonts (KelFont) and the clipboard the host lends the engine (KelInterface).
#pragma once

#include <cstdint>
#include <string>

#include "ui/KelInterfaceObject.h"

class TKelFont;

class TKelEdit : public TKelFocusedObject {
    KEL_CLASS(TKelEdit)

  public:
    std::string CharSet;  // stored only
    uint8_t Alpha = 255;
    int32_t Color = 0, SelectColor = 0;
    int32_t TextShiftLeft = 0, TextShiftTop = 0;
    std::string CursorPicture;
    std::string PasswordChar;
    int32_t MaxLength = 0, MaxWidth = 0;
    bool ReadOnly = false;

    std::string Caption() const;
    // Filters the text by the input mode and the forbidden characters (not by the length or
    // width limits) and puts the caret after it.
    void SetCaption(const std::string& caption);
    const std::u32string& Text() const { return text_; }
    const std::string& FontName() const { return fontName_; }
    void SetFontName(const std::string& name);
    TInputMode InputMode() const { return inputMode_; }
    void SetInputMode(TInputMode mode);
    const std::string& ForbiddenChars() const { return forbiddenChars_; }
    void SetForbiddenChars(const std::string& chars);

    // Caret places are 1-based: the caret stands before the character with that number.
    int Caret() const { return caret_; }
    int SelectionAnchor() const { return anchor_; }
    int SelectionEnd() const { return selectionEnd_; }
    std::u32string SelectedText() const;
    bool CaretShown() const { return caretShown_; }

    // Shows the caret in the first half of every second and while the button pressed inside is
    // held; hides it otherwise.
    void Blink(uint32_t milliseconds);

    void SetFocused(bool focused) override;
    std::string GetPictures() const override;
    void Assign(const TKelObject& source) override;
    void KeyDown(TKelObject* sender, int& key, TShiftState shift) override;
    void KeyPress(TKelObject* sender, char32_t& key) override;
    void MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x,
                   int y) override;
    void MouseMove(TKelObject* sender, TShiftState shift, int x, int y) override;
    void MouseUp(TKelObject* sender, TMouseButton button, TShiftState shift, int x, int y) override;
    void Draw() override;

  private:
    TKelFont* Font();
    // The text as drawn: the mask when a password character is set.
    std::u32string Shown(const std::u32string& text) const;
    int ShownWidth(const std::u32string& text);
    bool Accepts(char32_t c) const;
    void Filter();
    // Keeps the caret and the selection's ends within the text.
    void ClampPlaces();
    bool HasSelection() const { return anchor_ != selectionEnd_; }
    void DeleteSelection();
    void MoveCaret(int caret, bool extend);
    // The caret place under the screen column x.
    int CaretAt(int x);
    void Type(char32_t c);
    void Paste();

    std::u32string text_;
    std::string fontName_;
    TInputMode inputMode_ = imNormal;
    std::string forbiddenChars_;
    int caret_ = 1, anchor_ = 0, selectionEnd_ = 0;
    bool caretShown_ = false;
    bool doubleClick_ = false;
};
