// TKelCheckBox: a label with a box picture (Picture unchecked, MouseDownPicture checked) beside
// its text that flips on a click. TKelRadioButton: a check box that, once checked, unchecks the
// radio buttons of its group in the same form and ignores clicks. Relies on the label (KelLabel).
#pragma once

#include <cstdint>

#include "ui/KelLabel.h"

class TKelCheckBox : public TKelLabel {
    KEL_CLASS(TKelCheckBox)

  public:
    TBoxPlace BoxPlace = bpLeft;

    bool Checked() const { return checked_; }
    virtual void SetChecked(bool checked);

    int AvailableWidth() const override;
    void Assign(const TKelObject& source) override;
    void MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x,
                   int y) override;
    void MouseUp(TKelObject* sender, TMouseButton button, TShiftState shift, int x, int y) override;
    void Draw() override;
    bool TakesKeyFocus() const override { return true; }
    // Flips the box and runs the click script.
    void Press() override;

  protected:
    virtual uint32_t TextColor() const;
    void StoreChecked(bool checked) { checked_ = checked; }

  private:
    int BoxWidth() const;

    bool checked_ = false;
};

class TKelRadioButton : public TKelCheckBox {
    KEL_CLASS(TKelRadioButton)

  public:
    int32_t CheckedColor = 0;
    int32_t RadioGroup = 0;

    // Checking unchecks the radio buttons of the same group in the same form.
    void SetChecked(bool checked) override;

    void ApplyStyleToLines() override;
    void Assign(const TKelObject& source) override;
    void MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x,
                   int y) override;
    void MouseUp(TKelObject* sender, TMouseButton button, TShiftState shift, int x, int y) override;
    // Checks the button unless it is checked already.
    void Press() override;

  protected:
    uint32_t TextColor() const override;
};
