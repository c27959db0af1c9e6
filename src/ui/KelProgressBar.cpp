// Progress bars: the number of bars and their drawing.
#include "ui/KelProgressBar.h"

#include <algorithm>
#include <cmath>

#include "ui/KelInterfaceEngine.h"

using PB = TKelProgressBar;

const TKelClass& TKelProgressBar::StaticClass() {
    static const TKelClass info = MakeKelClass<PB>(
        "TKelProgressBar", &TKelInterfaceObject::StaticClass(),
        {Field("BarPicture", &PB::BarPicture), Field("Min", &PB::Min), Field("Max", &PB::Max),
         Accessor<PB, int32_t>("Position", &PB::position_, &PB::SetPosition),
         Field("StepWidth", &PB::StepWidth), Field("BarShiftLeft", &PB::BarShiftLeft),
         Field("BarShiftTop", &PB::BarShiftTop)});
    return info;
}

void TKelProgressBar::SetPosition(int position) {
    RecordOldRect();
    position_ = position;
}

int TKelProgressBar::BarCount() const {
    if (StepWidth == 0 || Max == Min) return 0;
    const double room = static_cast<double>(Width()) - 2.0 * BarShiftLeft;
    const double share = (static_cast<double>(position_) - Min) / (static_cast<double>(Max) - Min);
    const double count = std::nearbyint(room / StepWidth * share);
    // A position past the range draws no more bars than fit, however large it is.
    const double fit = std::clamp(std::floor(room / StepWidth), 0.0, double{MaxCoordinate});
    return static_cast<int>(std::clamp(count, 0.0, fit));
}

std::string TKelProgressBar::GetPictures() const {
    if (Picture().empty()) return BarPicture;
    return BarPicture.empty() ? Picture() : Picture() + "\r\n" + BarPicture;
}

void TKelProgressBar::Draw() {
    TKelInterfaceObject::Draw();
    IKelGraphic* host = Host();
    if (!host) return;
    const TKelInterfaceEngine* engine = UiEngine();
    const int64_t screenRight = engine ? engine->ScreenWidth() : ScreenWidth;
    const int count = BarCount();
    for (int i = 0; i < count; ++i) {
        const int64_t x = int64_t{AbsLeft()} + BarShiftLeft + int64_t{i} * StepWidth;
        // Bars right of the screen are not drawn: a huge bar costs no more than a full screen.
        if (x > screenRight) break;
        host->Draw(BarPicture, BumpMapPicture(), BlendingMode, ClampCoordinate(x),
                   ClampCoordinate(int64_t{AbsTop()} + BarShiftTop), PictureAlpha(), std::nullopt);
    }
}
