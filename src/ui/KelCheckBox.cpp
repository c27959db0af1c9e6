// Check boxes and radio buttons: the box beside the text, clicks and radio groups.
#include "ui/KelCheckBox.h"

#include "ui/KelForm.h"

using CB = TKelCheckBox;
using RB = TKelRadioButton;

const TKelClass& TKelCheckBox::StaticClass() {
    static const TKelClass info =
        MakeKelClass<CB>("TKelCheckBox", &TKelLabel::StaticClass(),
                         {Accessor<CB, bool>("Checked", &CB::checked_, &CB::SetChecked),
                          Field("BoxPlace", &CB::BoxPlace)});
    return info;
}

void TKelCheckBox::SetChecked(bool checked) {
    RecordOldRect();
    checked_ = checked;
}

int TKelCheckBox::BoxWidth() const {
    int width = 0, height = 0;
    PictureSize(Picture(), width, height);
    return width;
}

int TKelCheckBox::AvailableWidth() const {
    return Width() - BoxWidth();
}

void TKelCheckBox::Assign(const TKelObject& source) {
    TKelLabel::Assign(source);
    if (const auto* from = dynamic_cast<const CB*>(&source)) BoxPlace = from->BoxPlace;
}

void TKelCheckBox::MouseDown(TKelObject*, TMouseButton button, TShiftState, int x, int y) {
    SetPressed(false);
    if (button != TMouseButton::mbLeft || !PointInside(x, y)) return;
    SetPressed(true);
    Fire(OnMouseDown, SoundMouseDown);
    RecordOldRect();
}

void TKelCheckBox::MouseUp(TKelObject*, TMouseButton button, TShiftState, int x, int y) {
    const bool wasPressed = Pressed();
    SetPressed(false);
    if (button != TMouseButton::mbLeft || !wasPressed || !PointInside(x, y)) return;
    SetChecked(!checked_);
    Fire(OnMouseUp, SoundMouseUp);
}

void TKelCheckBox::Press() {
    SetChecked(!checked_);
    Fire(OnMouseUp, SoundMouseUp);
}

uint32_t TKelCheckBox::TextColor() const {
    return static_cast<uint32_t>(Highlighted() ? MouseOverColor : Color);
}

void TKelCheckBox::Draw() {
    const int boxWidth = BoxWidth();
    const int boxLeft = BoxPlace == bpLeft ? AbsLeft() : AbsLeft() + Width() - boxWidth;
    if (IKelGraphic* host = Host())
        host->Draw(checked_ ? MouseDownPicture : Picture(), CurrentBumpMap(), BlendingMode, boxLeft,
                   AbsTop(), PictureAlpha(), std::nullopt);
    const int textLeft = AbsLeft() + (BoxPlace == bpLeft ? boxWidth : 0);
    for (const TKelTextLine& line : Lines())
        DrawLine(line, textLeft + line.X, AbsTop() + line.Y, TextColor(), Alignment() == taJustify,
                 AvailableWidth());
}

// ---- Radio buttons -----------------------------------------------------------------------------

const TKelClass& TKelRadioButton::StaticClass() {
    static const TKelClass info = MakeKelClass<RB>(
        "TKelRadioButton", &TKelCheckBox::StaticClass(),
        {Field("CheckedColor", &RB::CheckedColor), Field("RadioGroup", &RB::RadioGroup)});
    return info;
}

void TKelRadioButton::SetChecked(bool checked) {
    if (!checked) {
        StoreChecked(false);
        return;
    }
    if (const TKelForm* form = ParentForm())
        for (TKelInterfaceObject* sibling : form->Children()) {
            if (sibling == this || &sibling->GetClass() != &StaticClass()) continue;
            auto* radio = static_cast<RB*>(sibling);
            if (radio->RadioGroup != RadioGroup || !radio->Checked()) continue;
            radio->RecordOldRect();
            radio->StoreChecked(false);
        }
    RecordOldRect();
    StoreChecked(true);
}

void TKelRadioButton::ApplyStyleToLines() {
    TKelCheckBox::ApplyStyleToLines();
    for (TKelTextLine& line : EditLines()) line.LinkColor = static_cast<uint32_t>(CheckedColor);
}

void TKelRadioButton::Assign(const TKelObject& source) {
    TKelCheckBox::Assign(source);
    if (const auto* from = dynamic_cast<const RB*>(&source)) {
        CheckedColor = from->CheckedColor;
        RadioGroup = from->RadioGroup;
    }
}

void TKelRadioButton::MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x,
                                int y) {
    if (!Checked()) TKelCheckBox::MouseDown(sender, button, shift, x, y);
}

void TKelRadioButton::MouseUp(TKelObject*, TMouseButton button, TShiftState, int x, int y) {
    if (Checked()) return;
    const bool wasPressed = Pressed();
    SetPressed(false);
    if (button != TMouseButton::mbLeft || !wasPressed || !PointInside(x, y)) return;
    SetChecked(true);
    Fire(OnMouseUp, SoundMouseUp);
}

void TKelRadioButton::Press() {
    if (Checked()) return;
    SetChecked(true);
    Fire(OnMouseUp, SoundMouseUp);
}

uint32_t TKelRadioButton::TextColor() const {
    return Checked() ? static_cast<uint32_t>(CheckedColor) : TKelCheckBox::TextColor();
}
