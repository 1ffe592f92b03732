#include "panel/mouse_table.h"

#include "abi/host_layouts.h"

namespace panelhost {

bool boxHolds(const hostabi::Box& box, int x, int y) {
  // 64-bit sums: a box at the edge of the 32-bit range must not wrap round.
  const std::int64_t left = box.x;
  const std::int64_t top = box.y;
  return left <= x && x < left + box.width && top <= y && y < top + box.height;
}

int childTakingEvent(const std::vector<MouseEntry>& table, int x, int y, std::uint32_t eventFlag) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    const MouseEntry& entry = table[i];
    if (entry.kind != hostabi::kChild) continue;
    if ((entry.flags & eventFlag) != 0 && boxHolds(entry.box, x, y)) return static_cast<int>(i);
  }
  return -1;
}

std::string tooltipAt(const std::vector<MouseEntry>& table, int x, int y) {
  bool outerSeen = false;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].kind != hostabi::kParent) continue;
    if (!outerSeen) {
      outerSeen = true;
      continue;
    }
    if (!boxHolds(table[i].box, x, y)) continue;
    const bool userFollows = i + 1 < table.size() && table[i + 1].kind == hostabi::kUser;
    return userFollows ? table[i + 1].tooltip : "";
  }
  return "";
}

const char* mouseEventName(std::uint32_t eventFlag) {
  switch (eventFlag) {
    case kMouseClick:
      return "click";
    case kMouseRelease:
      return "release";
    case kMouseRepeat:
      return "repeat";
    case kMouseWheelUp:
      return "wheel up";
    case kMouseWheelDown:
      return "wheel down";
    default:
      return "event";
  }
}

}  // namespace panelhost
