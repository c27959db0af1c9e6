// TKelRichLabel: a label whose caption carries markup in braces: colours, fonts, alignment, line
// breaks and spacing, table cells at tab stops and links. The caption is laid out into blocks
// (one per word) that are drawn in their own colour and font; each link is shown by a private
// TKelLabel that runs the link's script when pressed. Relies on the labels (KelLabel).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/KelLabel.h"

// A word of the laid-out caption.
struct TKelRichBlock {
    std::u32string Text;  // empty for a word of a link (its link label shows it)
    int X = 0, Y = 0;     // inside the text area
    uint32_t Color = 0;
    std::string FontName;
    int Width = 0;   // of the text, in pixels
    int Space = 0;   // the trailing space in pixels
    int Spaces = 0;  // the number of trailing spaces
};

// A link of the caption: the block that shows it and the label that runs its script.
struct TKelRichLink {
    size_t Block = 0;
    std::unique_ptr<TKelLabel> Label;
};

class TKelRichLabel : public TKelLabel {
    KEL_CLASS(TKelRichLabel)

  public:
    int32_t LinkColor() const { return linkColor_; }
    int32_t LinkMouseOverColor() const { return linkMouseOverColor_; }
    void SetLinkColor(int32_t color);
    void SetLinkMouseOverColor(int32_t color);

    const std::vector<TKelRichBlock>& Blocks() const { return blocks_; }
    const std::vector<TKelRichLink>& Links() const { return links_; }
    // The width of the widest laid-out line (for a table row: up to its last block's end).
    int TextWidth() const { return textWidth_; }
    // Whether the room broke a line or a word.
    bool Wrapped() const { return wrapped_; }

    // Lays the caption out into blocks and link labels (the label's lines stay empty).
    void WrapText() override;
    // Lays the caption out again; unlike a label's lines, blocks need no height.
    void SetWidth(int width) override;
    void SetAlpha(uint8_t alpha) override;
    void SetCaption(const std::string& caption) override;
    void Assign(const TKelObject& source) override;
    void MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x,
                   int y) override;
    void MouseMove(TKelObject* sender, TShiftState shift, int x, int y) override;
    void MouseUp(TKelObject* sender, TMouseButton button, TShiftState shift, int x, int y) override;
    void Draw() override;

  private:
    // How far the text moves down for the layout (tlCenter, tlBottom).
    int VerticalShift();
    // Puts every link label over its block at the label's current screen position.
    void PlaceLinks();

    int32_t linkColor_ = 0, linkMouseOverColor_ = 0;
    std::vector<TKelRichBlock> blocks_;
    std::vector<TKelRichLink> links_;
    int textWidth_ = 0;
    bool wrapped_ = false;
};
