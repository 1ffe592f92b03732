// What the pointer shows over a gauge: the cursor its mouse entry asks for.
#pragma once

#include <vector>

#include "abi/module_records.h"

namespace panelhost {

enum class CursorShape { Arrow, UpArrow, DownArrow, Hand };

// The cursor of the entry that would take an event at the gauge pixel: up arrow, down arrow or
// hand (panel/mouse_table.h has their numbers); the normal arrow for any other number and where
// no entry takes events.
CursorShape cursorAt(const std::vector<MouseEntry>& table, int x, int y);

}  // namespace panelhost
