#include "view/pointer_cues.h"

#include "panel/mouse_table.h"

namespace panelhost {

namespace {

// An entry that takes any of the host's events is one the pointer is "over".
constexpr std::uint32_t kAnyMouseEvent =
    kMouseClick | kMouseRelease | kMouseRepeat | kMouseWheelUp | kMouseWheelDown;

constexpr std::int32_t kUpArrowCursor = 1;
constexpr std::int32_t kDownArrowCursor = 2;
constexpr std::int32_t kHandCursor = 5;

}  // namespace

CursorShape cursorAt(const std::vector<MouseEntry>& table, int x, int y) {
  const int index = childTakingEvent(table, x, y, kAnyMouseEvent);
  if (index < 0) return CursorShape::Arrow;
  switch (table[static_cast<std::size_t>(index)].cursor) {
    case kUpArrowCursor:
      return CursorShape::UpArrow;
    case kDownArrowCursor:
      return CursorShape::DownArrow;
    case kHandCursor:
      return CursorShape::Hand;
    default:
      return CursorShape::Arrow;
  }
}

}  // namespace panelhost
