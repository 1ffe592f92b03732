// A gauge's mouse table as a host reads it: which child entry takes an event at a point, and which
// tooltip shows there.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "abi/module_records.h"

namespace panelhost {

// Mouse event flags as the host sends them.
constexpr std::uint32_t kMouseClick = 0x20000000;
constexpr std::uint32_t kMouseRelease = 0x00020000;
constexpr std::uint32_t kMouseRepeat = 0x00200000;
constexpr std::uint32_t kMouseWheelUp = 0x00004000;
constexpr std::uint32_t kMouseWheelDown = 0x00002000;

// Cursor numbers a mouse entry asks for; the host shows its normal arrow for any other.
constexpr std::int32_t kNoCursor = -1;
constexpr std::int32_t kUpArrowCursor = 1;
constexpr std::int32_t kDownArrowCursor = 2;
constexpr std::int32_t kHandCursor = 5;

bool boxHolds(const hostabi::Box& box, int x, int y);

// Index of the first child entry whose box holds the point and whose flags accept the event, or
// -1.
int childTakingEvent(const std::vector<MouseEntry>& table, int x, int y, std::uint32_t eventFlag);

// The tooltip of the first parent entry after the outer one whose box holds the point, taken from
// the user entry right after it; "" when none holds it or it has no tooltip.
std::string tooltipAt(const std::vector<MouseEntry>& table, int x, int y);

// "click", "release", "repeat", "wheel up", "wheel down" for one event flag.
const char* mouseEventName(std::uint32_t eventFlag);

}  // namespace panelhost
