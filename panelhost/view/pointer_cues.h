// What the pointer shows over a gauge: the cursor its mouse entry asks for.
#pragma once

#include <vector>

#include "abi/module_records.h"

namespace panelhost {

enum class CursorShape { Arrow, UpArrow, DownArrow, Hand };

// The cursor of the entry that would take an event at the gauge pixel: cursor numbers 1 (up
// arrow), 2 (down arrow) and 5 (hand); the normal arrow for any other number and where no entry
// takes events.
CursorShape cursorAt(const std::vector<MouseEntry>& table, int x, int y);

}  // namespace panelhost
