// TKelProgressBar: a background picture with a row of bar pictures, as many as the position
// fills of the range. Relies on the interface objects (KelInterfaceObject).
#pragma once

#include <cstdint>
#include <string>

#include "ui/KelInterfaceObject.h"

class TKelProgressBar : public TKelInterfaceObject {
    KEL_CLASS(TKelProgressBar)

  public:
    std::string BarPicture;
    int32_t Min = 0, Max = 100;
    int32_t StepWidth = 0, BarShiftLeft = 0, BarShiftTop = 0;

    int Position() const { return position_; }
    // Stores the position as given (no clamping) and marks the bar changed.
    void SetPosition(int position);
    // The number of bars drawn: the position's share of the room, within 0 and as many as fit.
    int BarCount() const;

    std::string GetPictures() const override;
    void Draw() override;

  private:
    int32_t position_ = 0;
};
