// Sliders: position and bar geometry, the buttons' places, page and step clicks, dragging and
// drawing.
#include "ui/KelSlider.h"

#include <climits>
#include <cmath>

#include "ui/KelGrid.h"
#include "ui/KelInterfaceEngine.h"

using S = TKelSlider;

const TKelClass& TKelSlider::StaticClass() {
    static const TKelClass info = MakeKelClass<S>(
        "TKelSlider", &TKelInterfaceObject::StaticClass(),
        {Accessor<S, TTrackBarOrientation>("Orientation", &S::orientation_, &S::SetOrientation),
         Field("Min", &S::Min), Accessor<S, int32_t>("Max", &S::max_, &S::SetMax),
         Accessor<S, int32_t>("Position", &S::position_, &S::SetPosition), Field("Step", &S::Step),
         Field("BigStep", &S::BigStep), Field("BarPicture", &S::BarPicture),
         Field("MouseOverBarPicture", &S::MouseOverBarPicture),
         Field("BarShiftLeft", &S::BarShiftLeft), Field("BarShiftTop", &S::BarShiftTop),
         Accessor<S, std::string>("UpPicture", &S::upPicture_, &S::SetUpPicture),
         Field("UpMouseOverPicture", &S::UpMouseOverPicture),
         Field("UpMouseDownPicture", &S::UpMouseDownPicture),
         Accessor<S, std::string>("DownPicture", &S::downPicture_, &S::SetDownPicture),
         Field("DownMouseOverPicture", &S::DownMouseOverPicture),
         Field("DownMouseDownPicture", &S::DownMouseDownPicture),
         Accessor<S, std::string>("LinkedObjectName", &S::linkedObjectName_,
                                  &S::SetLinkedObjectName),
         Field("ButtonsSound", &S::ButtonsSound), Field("OnChange", &S::OnChange)});
    return info;
}

void TKelSlider::SetMax(int max) {
    RecordOldRect();
    const TKelGrid* grid = LinkedGrid();
    max_ = grid ? grid->SliderMax() : max;
}

void TKelSlider::StoreMax(int max) {
    RecordOldRect();
    max_ = max;
}

void TKelSlider::StorePosition(int position) {
    RecordOldRect();
    position_ = position;
}

TKelGrid* TKelSlider::LinkedGrid() const {
    if (!linked_) return nullptr;
    const TKelEngine* engine = GetEngine();
    TKelObject* object = engine ? engine->FindObject(linkedObjectName_) : nullptr;
    return object && &object->GetClass() == &TKelGrid::StaticClass()
               ? static_cast<TKelGrid*>(object)
               : nullptr;
}

void TKelSlider::SetLinkedObjectName(const std::string& name) {
    linkedObjectName_ = name;
    linked_ = true;
    TKelGrid* grid = LinkedGrid();
    linked_ = grid != nullptr;
    if (!grid) return;
    grid->SetLinkedObjectName(Name());
}

void TKelSlider::LinkTo(const std::string& gridName) {
    linkedObjectName_ = gridName;
    linked_ = true;
}

void TKelSlider::SetPosition(int position) {
    RecordOldRect();
    const int clamped = std::max(Min, std::min(position, max_));
    if (clamped == position_) return;
    position_ = clamped;
    if (TKelGrid* grid = LinkedGrid()) grid->SetPosition(position_);
    if (TKelInterfaceEngine* engine = UiEngine(); engine && !OnChange.empty())
        engine->QueueScript(Name(), OnChange);
}

void TKelSlider::SetOrientation(TTrackBarOrientation orientation) {
    orientation_ = orientation;
    PlaceButtons();
}

void TKelSlider::SetUpPicture(const std::string& picture) {
    upPicture_ = picture;
    PlaceButtons();
}

void TKelSlider::SetDownPicture(const std::string& picture) {
    downPicture_ = picture;
    PlaceButtons();
}

void TKelSlider::SetWidth(int width) {
    TKelInterfaceObject::SetWidth(width);
    PlaceButtons();
}

void TKelSlider::UpdateAbsolutePosition() {
    TKelInterfaceObject::UpdateAbsolutePosition();
    PlaceButtons();
}

void TKelSlider::PlaceButtons() {
    RecordOldRect();
    const bool vertical = orientation_ == trVertical;
    for (TKelLabel* button : {&up_, &down_}) {
        const bool isUp = button == &up_;
        button->SetEngine(GetEngine());
        button->SetPicture(isUp ? upPicture_ : downPicture_);
        button->MouseOverPicture = isUp ? UpMouseOverPicture : DownMouseOverPicture;
        button->MouseDownPicture = isUp ? UpMouseDownPicture : DownMouseDownPicture;
        button->SetPictureAlpha(PictureAlpha());
        int w = 0, h = 0;
        PictureSize(button->Picture(), w, h);
        button->SetWidth(w);
        button->SetHeight(h);
        int64_t x = AbsLeft(), y = AbsTop();
        if (vertical) {
            x += (Width() - w) / 2;
            if (!isUp) y += Height() - h;
        } else {
            y += (Height() - h) / 2;
            if (!isUp) x += Width() - w;
        }
        button->SetAbsPos(ClampCoordinate(x), ClampCoordinate(y));
    }
}

int TKelSlider::Range() const {
    int bw = 0, bh = 0;
    PictureSize(BarPicture, bw, bh);
    if (orientation_ == trVertical)
        return ClampCoordinate(int64_t{PictureHeight()} - 2 * int64_t{BarShiftTop} - bh);
    return ClampCoordinate(int64_t{PictureWidth()} - 2 * int64_t{BarShiftLeft} - bw);
}

int TKelSlider::Shift() const {
    return orientation_ == trVertical ? BarShiftTop : BarShiftLeft;
}

int TKelSlider::BarLength() const {
    int bw = 0, bh = 0;
    PictureSize(BarPicture, bw, bh);
    return orientation_ == trVertical ? bh : bw;
}

int TKelSlider::BarOffset() const {
    if (max_ == Min) return 0;
    const double share = (static_cast<double>(position_) - Min) / (static_cast<double>(max_) - Min);
    return ClampCoordinate(int64_t{RoundCoordinate(share * Range())} + Shift());
}

std::string TKelSlider::GetPictures() const {
    std::string text;
    for (const std::string* name :
         {&Picture(), &MouseOverBarPicture, &BarPicture, &up_.Picture(), &down_.Picture()})
        if (!name->empty()) text += (text.empty() ? "" : "\r\n") + *name;
    return text;
}

void TKelSlider::Assign(const TKelObject& source) {
    TKelInterfaceObject::Assign(source);
    const auto* from = dynamic_cast<const TKelSlider*>(&source);
    if (!from) return;
    orientation_ = from->orientation_;
    position_ = from->position_;
    max_ = from->max_;
    Min = from->Min;
    Step = from->Step;
    BigStep = from->BigStep;
    MouseOverBarPicture = from->MouseOverBarPicture;
    BarPicture = from->BarPicture;
}

void TKelSlider::ReleaseButtons() {
    for (TKelLabel* button : {&up_, &down_})
        button->MouseUp(nullptr, TMouseButton::mbLeft, 0, INT_MIN, INT_MIN);
}

void TKelSlider::MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x,
                           int y) {
    dragging_ = false;
    ReleaseButtons();
    if (!PointInside(x, y)) return;
    RecordOldRect();
    if (button != TMouseButton::mbLeft) return;
    up_.MouseDown(sender, button, shift, x, y);
    down_.MouseDown(sender, button, shift, x, y);
    const bool vertical = orientation_ == trVertical;
    const int64_t pointer = vertical ? y : x;
    const int64_t start =
        vertical ? int64_t{AbsTop()} + PictureTop() : int64_t{AbsLeft()} + PictureLeft();
    const int64_t off = BarOffset(), length = BarLength();
    if (pointer >= start + off && pointer <= start + off + length) {
        dragging_ = true;
        return;
    }
    const int64_t track = vertical ? PictureHeight() : PictureWidth();
    const int64_t own = vertical ? AbsTop() : AbsLeft();
    const int64_t size = vertical ? Height() : Width();
    const int64_t upLength = vertical ? up_.Height() : up_.Width();
    const int64_t downLength = vertical ? down_.Height() : down_.Width();
    if (pointer >= start + Shift() && pointer < start + off)
        SetPosition(SaturatingAdd(position_, -int64_t{BigStep}));
    if (pointer > start + off + length && pointer <= start + track - Shift())
        SetPosition(SaturatingAdd(position_, BigStep));
    if (pointer >= own && pointer <= own + upLength)
        SetPosition(SaturatingAdd(position_, -int64_t{Step}));
    if (pointer > own + size - downLength && pointer < own + size)
        SetPosition(SaturatingAdd(position_, Step));
}

void TKelSlider::MouseMove(TKelObject* sender, TShiftState shift, int x, int y) {
    for (TKelLabel* button : {&up_, &down_}) button->MouseMove(sender, 0, INT_MIN, INT_MIN);
    if (!dragging_ && !PointInside(x, y)) {
        if (hovered_) RecordOldRect();
        hovered_ = false;
        return;
    }
    hovered_ = true;
    RecordOldRect();
    up_.MouseMove(sender, shift, x, y);
    down_.MouseMove(sender, shift, x, y);
    if (!dragging_ || !(shift & ssLeft) || max_ == Min) return;
    const bool vertical = orientation_ == trVertical;
    const double pointer = vertical ? y : x;
    const double start = vertical ? static_cast<double>(AbsTop()) + PictureTop()
                                  : static_cast<double>(AbsLeft()) + PictureLeft();
    const int range = Range();
    // An empty track cannot be dragged along: the bar goes to Min.
    double p = Min;
    if (range > 0)
        p += std::nearbyint((pointer - start - BarLength() / 2 - Shift()) /
                            (static_cast<double>(range) / (static_cast<double>(max_) - Min)));
    // Without a positive step the position is not snapped.
    if (Step > 0) p = std::nearbyint(p / Step) * Step;
    SetPosition(static_cast<int>(std::clamp<double>(p, INT_MIN, INT_MAX)));
}

void TKelSlider::MouseUp(TKelObject*, TMouseButton, TShiftState, int, int) {
    dragging_ = false;
    ReleaseButtons();
    RecordOldRect();
}

void TKelSlider::KeyDown(TKelObject*, int& key, TShiftState) {
    const bool vertical = orientation_ == trVertical;
    const int back = vertical ? vk::Up : vk::Left, forward = vertical ? vk::Down : vk::Right;
    if (key != back && key != forward) return;
    SetPosition(SaturatingAdd(position_, key == back ? -int64_t{BigStep} : BigStep));
    key = 0;
}

void TKelSlider::Draw() {
    TKelInterfaceObject::Draw();
    IKelGraphic* host = Host();
    if (!host) return;
    const std::string& bar = hovered_ || KeyFocused() ? MouseOverBarPicture : BarPicture;
    int bw = 0, bh = 0;
    PictureSize(BarPicture, bw, bh);
    const int64_t off = BarOffset();
    int64_t x = 0, y = 0;
    if (orientation_ == trVertical) {
        x = int64_t{AbsLeft()} + BarShiftLeft + (int64_t{Width()} - bw) / 2;
        y = int64_t{AbsTop()} + PictureTop() + off;
    } else {
        x = int64_t{AbsLeft()} + PictureLeft() + off;
        y = int64_t{AbsTop()} + BarShiftTop + (int64_t{Height()} - bh) / 2;
    }
    host->Draw(bar, "", BlendingMode, ClampCoordinate(x), ClampCoordinate(y), PictureAlpha(),
               std::nullopt);
    if (!upPicture_.empty()) up_.Draw();
    if (!downPicture_.empty()) down_.Draw();
}
