// Where a tutorial popup stands and where its arrow points. The popup stands above the cell it
// names, centred on it and kept on the screen, so it never covers that cell; where the screen has
// no room above, it stands below the cell and the arrow points up. The arrow's tip bobs gently
// inside the cell's hexagon, so the stone it touches is the one a click must hit. Relies on the
// board's cell geometry.
#pragma once

#include <cstdint>

#include "core/Geometry.h"
#include "rules/Board.h"

struct TTutorialLayout {
    TPoint Window;         // the popup's top-left corner on the screen
    bool ArrowUp = false;  // the popup stands below its cell
};

// The layout of a popup of that size pointing at the cell.
TTutorialLayout LayOutTutorialPopup(TCell cell, int width, int height);

// The screen point of the arrow's tip at the clock `now`, in milliseconds.
TPoint TutorialArrowTip(TCell cell, bool arrowUp, uint32_t now);

// The arrow pictures, "ArrowB.png" pointing down and "ArrowBUp.png" pointing up; a tip lies in
// the middle of the picture's second row from its pointed end.
const char* TutorialArrowPicture(bool arrowUp);
TPoint TutorialArrowCorner(TPoint tip, bool arrowUp, int pictureWidth, int pictureHeight);

// Every point the arrow's picture covers over a whole bob, for redrawing.
TRect TutorialArrowArea(TCell cell, bool arrowUp, int pictureWidth, int pictureHeight);
