// The parts of a frame every screen draws: the background restored under what moved, and the
// mouse cursor's effect at the mouse with the area it moved over marked. Relies on the game's
// services.
#pragma once

#include "app/GameServices.h"

// Restores the background under the marked tiles, at the start of a frame.
void DrawBackgroundByGrid(TGameServices& s);
void DrawCursor(TGameServices& s);
