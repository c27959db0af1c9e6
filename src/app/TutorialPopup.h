// The level's tutorial popup while its window is on the stack: its window, the cell it names, and
// its arrow, pointing up when the popup stands below the cell, with the tip where it is drawn at
// the clock of the pass. Relies on the level record, the interface engine and the arrow's layout.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/Geometry.h"
#include "rules/Level.h"
#include "ui/KelInterfaceEngine.h"

struct TShownTutorialPopup {
    std::string Name;
    TCell Cell;
    bool ArrowUp = false;
    TPoint ArrowTip;
};

std::optional<TShownTutorialPopup> ShownTutorialPopup(const TLevel& level,
                                                      const TKelInterfaceEngine& ui, uint32_t now);
