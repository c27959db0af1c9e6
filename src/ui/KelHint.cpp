// Hints: sizing to the caption, the background, moving and hiding after the showing time.
#include "ui/KelHint.h"

#include <algorithm>

#include "graphics/KelFont.h"
#include "ui/KelInterfaceEngine.h"

namespace {

constexpr int MarginX = 16, MarginY = 10;  // of the background around the box

TRect Union(const TRect& a, const TRect& b) {
    if (a.IsEmpty()) return b;
    if (b.IsEmpty()) return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

}  // namespace

using H = TKelHint;

const TKelClass& TKelHint::StaticClass() {
    static const TKelClass info = MakeKelClass<H>(
        "TKelHint", &TKelRichLabel::StaticClass(),
        {Field("ShowTime", &H::ShowTime), Field("BackGroundColor", &H::BackGroundColor),
         Field("BackGroundAlpha", &H::BackGroundAlpha)});
    return info;
}

TRect TKelHint::CoveredRect() const {
    if (!Picture().empty()) return ScreenRect();
    return {AbsLeft() - MarginX, AbsTop() - MarginY, AbsLeft() + Width() + MarginX,
            AbsTop() + Height() + MarginY};
}

void TKelHint::CoverInOldRect(const TRect& area) {
    SetOldRect(Dirty() ? Union(OldRect(), area) : area);
}

void TKelHint::Show(uint32_t milliseconds) {
    shownAt_ = milliseconds;
    TKelRichLabel::SetVisible(true);
    CoverInOldRect(CoveredRect());
}

void TKelHint::Tick(uint32_t milliseconds) {
    // Unsigned differences stay right when the clock wraps around.
    if (!Visible() || milliseconds - shownAt_ < static_cast<uint32_t>(std::max(0, ShowTime)))
        return;
    const TRect covered = CoveredRect();
    TKelRichLabel::SetVisible(false);
    CoverInOldRect(covered);
}

void TKelHint::SetWidth(int width) {
    maxWidth_ = ClampCoordinate(width);
    TKelRichLabel::SetWidth(width);
}

void TKelHint::SetCaption(const std::string& caption) {
    TKelRichLabel::SetWidth(maxWidth_);
    TKelRichLabel::SetCaption(caption);
    const TKelFont* font = Font();
    if (Blocks().empty() || !font || !Picture().empty()) return;
    const int textWidth = TextWidth() + TextShiftLeft();
    SetHeight(Blocks().back().Y + TextShiftTop() + font->Height);
    const bool fits = !Wrapped() && textWidth > 0 && textWidth < maxWidth_;
    TKelRichLabel::SetWidth(fits ? textWidth : maxWidth_);
}

void TKelHint::MoveTo(int left, int top) {
    CoverInOldRect(CoveredRect());
    StorePosition(left, top);
    UpdateAbsolutePosition();
    CoverInOldRect(CoveredRect());
}

void TKelHint::SetLeft(int left) {
    MoveTo(left, Top());
}

void TKelHint::SetTop(int top) {
    MoveTo(Left(), top);
}

void TKelHint::Assign(const TKelObject& source) {
    if (const auto* from = dynamic_cast<const TKelHint*>(&source)) {
        ShowTime = from->ShowTime;
        BackGroundColor = from->BackGroundColor;
        BackGroundAlpha = from->BackGroundAlpha;
        maxWidth_ = from->maxWidth_;
    }
    TKelRichLabel::Assign(source);
}

void TKelHint::Draw() {
    TKelInterfaceEngine* engine = UiEngine();
    if (engine && engine->Host && Picture().empty()) {
        // Only the part on the screen is filled.
        const TRect area = CoveredRect();
        const TRect shown{std::max(area.Left, 0), std::max(area.Top, 0),
                          std::min(area.Right, engine->ScreenWidth() - 1),
                          std::min(area.Bottom, engine->ScreenHeight() - 1)};
        if (!shown.IsEmpty())
            engine->Host->DrawRect("", shown, static_cast<uint32_t>(BackGroundColor),
                                   BackGroundAlpha, true);
    }
    TKelRichLabel::Draw();
}
