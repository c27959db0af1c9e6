// The tutorial popups' placement and arrows.
#include "app/TutorialArrow.h"

#include <algorithm>
#include <cmath>

namespace {

// Between a popup and its cell's box: room for the arrow.
constexpr int ArrowGap = 47;
// How far inside the cell, from its centre towards the popup, the tip rests.
constexpr int TipInset = 20;
// The bob's amplitude and period (the sine of clock / 170).
constexpr int Bob = 5;

int BobAt(uint32_t now) {
    // Halves round to even.
    return int(std::nearbyint(Bob * std::sin(double(now) / 170.0)));
}

}  // namespace

TTutorialLayout LayOutTutorialPopup(TCell cell, int width, int height) {
    const TRect box = CellBox(cell.Col, cell.Row);
    const TPoint centre = CellCentre(cell.Col, cell.Row);
    TTutorialLayout layout;
    layout.Window.X = std::clamp(centre.X - width / 2, 0, std::max(ScreenWidth - width, 0));
    layout.Window.Y = box.Top - ArrowGap - height;
    if (layout.Window.Y < 0) {
        layout.Window.Y = box.Bottom + 1 + ArrowGap;
        layout.ArrowUp = true;
    }
    return layout;
}

TPoint TutorialArrowTip(TCell cell, bool arrowUp, uint32_t now) {
    const TPoint centre = CellCentre(cell.Col, cell.Row);
    const int bob = BobAt(now);
    return arrowUp ? TPoint{centre.X, centre.Y + TipInset - bob}
                   : TPoint{centre.X, centre.Y - TipInset + bob};
}

const char* TutorialArrowPicture(bool arrowUp) {
    return arrowUp ? "ArrowBUp.png" : "ArrowB.png";
}

TPoint TutorialArrowCorner(TPoint tip, bool arrowUp, int pictureWidth, int pictureHeight) {
    return {tip.X - pictureWidth / 2, arrowUp ? tip.Y - 1 : tip.Y - (pictureHeight - 2)};
}

TRect TutorialArrowArea(TCell cell, bool arrowUp, int pictureWidth, int pictureHeight) {
    const TPoint corner = TutorialArrowCorner(TutorialArrowTip(cell, arrowUp, 0), arrowUp,
                                              pictureWidth, pictureHeight);
    return {corner.X, corner.Y - Bob, corner.X + pictureWidth - 1,
            corner.Y + pictureHeight - 1 + Bob};
}
