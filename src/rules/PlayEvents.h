// What the rules want seen once they have changed the play state. The rules never draw or play
// anything themselves: they answer a list of these events and the screen applies it. Relies on
// the board's cell type only.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "rules/Board.h"

// The effect file starts at tick At on the cell, in place of the one the cell showed.
struct TCellEffectEvent {
    TCell Cell;
    std::string File;
    uint32_t At = 0;
    bool operator==(const TCellEffectEvent&) const = default;
};

// What the cell holds changed: its picture is chosen again and its box is redrawn.
struct TCellChangedEvent {
    TCell Cell;
    bool operator==(const TCellChangedEvent&) const = default;
};

using TPlayEvent = std::variant<TCellEffectEvent, TCellChangedEvent>;
using TPlayEvents = std::vector<TPlayEvent>;
