// TKelLabel: a picture, a button or wrapped text. It shows a picture and a text colour for each
// mouse state, wraps its caption into lines that fit its width, places them by its alignment and
// layout, draws them plain, justified or slanted with a bitmap font, and queues the scripts of
// its mouse events. Relies on the interface objects (KelInterfaceObject) and the bitmap fonts
// (KelFont, KelFontEngine).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/KelInterfaceObject.h"

class TKelFont;

struct TKelTextLine {
    std::u32string Text;
    int X = 0, Y = 0;  // inside the label
    uint32_t Color = 0, HoverColor = 0, LinkColor = 0;
    uint8_t Alpha = 255;
    std::string FontName;
    int Width = 0;   // in pixels
    int Spaces = 0;  // not counting a space in last position
    bool BesidePicture = false;
};

class TKelLabel : public TKelInterfaceObject {
    KEL_CLASS(TKelLabel)

  public:
    std::string MouseOverPicture, MouseDownPicture, MouseDownBumpMapPicture;
    int32_t Color = 0, MouseOverColor = 0;
    int32_t TextDownShiftLeft = 0, TextDownShiftTop = 0;

    const std::string& FontName() const { return fontName_; }
    std::string Caption() const;
    uint8_t Alpha() const { return alpha_; }
    TTextAlignment Alignment() const { return alignment_; }
    TTextLayout Layout() const { return layout_; }
    int TextShiftLeft() const { return textShiftLeft_; }
    int TextShiftTop() const { return textShiftTop_; }
    bool Pressed() const { return pressed_; }
    bool Hovered() const { return hovered_; }
    // Under the mouse or holding the keys' focus: drawn in the mouse-over look.
    bool Highlighted() const { return hovered_ || KeyFocused(); }
    const std::vector<TKelTextLine>& Lines() const { return lines_; }

    void SetFontName(const std::string& name);
    void SetAlignment(TTextAlignment alignment);
    void SetLayout(TTextLayout layout);
    void SetLineSpace(int space);
    void SetTextShiftLeft(int shift);
    void SetTextShiftTop(int shift);
    void SetCharShiftAngle(int angle);
    void SetFloating(bool floating);

    void SetWidth(int width) override;
    void SetPicture(const std::string& picture) override;
    void UpdateLayout() override;
    std::string GetPictures() const override;
    void Assign(const TKelObject& source) override;
    void MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x,
                   int y) override;
    void MouseMove(TKelObject* sender, TShiftState shift, int x, int y) override;
    void MouseUp(TKelObject* sender, TMouseButton button, TShiftState shift, int x, int y) override;
    void Draw() override;
    // A label with a click script is a button: the keys stop at it, and Return or Space on it
    // runs its press and click scripts.
    bool TakesKeyFocus() const override { return !OnMouseUp.empty(); }
    void KeyDown(TKelObject* sender, int& key, TShiftState shift) override;
    void Press() override;

    virtual void WrapText();
    virtual void ApplyStyleToLines();
    virtual void SetAlpha(uint8_t alpha);
    // The width lines may fill.
    virtual int AvailableWidth() const { return Width(); }
    virtual void SetCaption(const std::string& caption);

  protected:
    // Wraps, places the lines and marks the label changed, once it has a size.
    void Rewrap();
    void PositionLines();
    // Queues the event's script with its sound in front.
    void Fire(const std::string& script, const std::string& sound);
    // Draws the line with its left end at (x, y): justified in the room, slanted or plain.
    void DrawLine(const TKelTextLine& line, int x, int y, uint32_t color, bool justify,
                  int room) const;
    void SetPressed(bool pressed) { pressed_ = pressed; }
    // The label's font, looked up when it is not known yet; none when the engine lacks it.
    TKelFont* Font();
    const std::u32string& WideCaption() const { return caption_; }
    void StoreCaption(const std::string& caption) { caption_ = Utf8ToWide(caption); }
    std::vector<TKelTextLine>& EditLines() { return lines_; }

  private:
    void LookUpFont();
    void DrawJustified(const TKelTextLine& line, int x, int y, uint32_t color, int room) const;
    void DrawSlanted(const TKelTextLine& line, int x, int y, uint32_t color) const;
    int CharWidth(char32_t c) const;

    std::string fontName_ = "KelUnicode";
    TKelFont* font_ = nullptr;
    std::u32string caption_;
    uint8_t alpha_ = 255;
    TTextAlignment alignment_ = taLeft;
    TTextLayout layout_ = tlTop;
    int textShiftLeft_ = 0, textShiftTop_ = 0, lineSpace_ = 0;
    bool floating_ = false;
    int charShiftAngle_ = 0;
    bool pressed_ = false, hovered_ = false;
    std::vector<TKelTextLine> lines_;
};
