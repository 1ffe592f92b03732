#include "view/pointer_cues.h"

#include "panel/mouse_table.h"

namespace panelhost {

namespace {

// An entry that takes any of the host's events is one the pointer is "over".
constexpr std::uint32_t kAnyMouseEvent =
    kMouseClick | kMouseRelease | kMouseRepeat | kMouseWheelUp | kMouseWheelDown;

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
