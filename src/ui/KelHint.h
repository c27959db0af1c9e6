// TKelHint: a rich label shown over a widget for a limited time. It fits its size to its caption
// within the width it was given, draws a translucent background around itself and hides itself
// once its showing time has passed. Relies on the rich labels (KelRichLabel).
#pragma once

#include <cstdint>
#include <string>

#include "ui/KelRichLabel.h"

class TKelHint : public TKelRichLabel {
    KEL_CLASS(TKelHint)

  public:
    int32_t ShowTime = 0;  // milliseconds
    int32_t BackGroundColor = 0;
    uint8_t BackGroundAlpha = 255;

    int MaxWidth() const { return maxWidth_; }
    uint32_t ShownAt() const { return shownAt_; }
    // Shows the hint from the clock value in milliseconds on.
    void Show(uint32_t milliseconds);
    // Hides the hint once ShowTime milliseconds have passed since it was shown.
    void Tick(uint32_t milliseconds);
    // The screen area the hint covers: its background, or its box when it has a picture.
    TRect CoveredRect() const;

    // Also records the width as the widest the hint may grow.
    void SetWidth(int width) override;
    // Lays the caption out in the widest width, then shrinks to the text.
    void SetCaption(const std::string& caption) override;
    // Both move the hint whatever its alignments say.
    void SetLeft(int left) override;
    void SetTop(int top) override;
    void Assign(const TKelObject& source) override;
    void Draw() override;

  private:
    void MoveTo(int left, int top);
    // Grows the recorded old rectangle to cover the area as well.
    void CoverInOldRect(const TRect& area);

    int maxWidth_ = 0;
    uint32_t shownAt_ = 0;
};
