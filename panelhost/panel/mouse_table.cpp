#include "panel/mouse_table.h"

namespace panelhost {

namespace {
constexpr std::size_t kMostEntries = 1024;
}

std::vector<const MOUSERECT*> mouseEntries(const GAUGEHDR* gauge) {
  std::vector<const MOUSERECT*> entries;
  if (gauge == nullptr || gauge->mouse_rect == nullptr) return entries;
  for (std::size_t i = 0; i < kMostEntries; ++i) {
    entries.push_back(&gauge->mouse_rect[i]);
    if (gauge->mouse_rect[i].rect_type == MOUSE_RECT_EOL) break;
  }
  return entries;
}

bool boxHolds(const PIXBOX& box, int x, int y) {
  // 64-bit sums: a box at the edge of the 32-bit range must not wrap round.
  const std::int64_t left = box.x;
  const std::int64_t top = box.y;
  return left <= x && x < left + box.size_x && top <= y && y < top + box.size_y;
}

int childTakingEvent(const GAUGEHDR* gauge, int x, int y, FLAGS eventFlag) {
  const auto entries = mouseEntries(gauge);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const MOUSERECT& entry = *entries[i];
    if (entry.rect_type != MOUSE_RECT_CHILD) continue;
    if ((entry.mouse_flags & eventFlag) != 0 && boxHolds(entry.relative_box, x, y)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::string tooltipAt(const GAUGEHDR* gauge, int x, int y) {
  const auto entries = mouseEntries(gauge);
  bool outerSeen = false;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i]->rect_type != MOUSE_RECT_PARENT) continue;
    if (!outerSeen) {
      outerSeen = true;
      continue;
    }
    if (!boxHolds(entries[i]->relative_box, x, y)) continue;
    const bool userFollows = i + 1 < entries.size() && entries[i + 1]->rect_type == MOUSE_RECT_USER;
    if (!userFollows || entries[i + 1]->handler.tooltip == nullptr) return "";
    return entries[i + 1]->handler.tooltip;
  }
  return "";
}

const char* mouseEntryKindName(const MOUSERECT* entry) {
  switch (entry->rect_type) {
    case MOUSE_RECT_EOL:
      return "end of list";
    case MOUSE_RECT_PARENT:
      return "parent";
    case MOUSE_RECT_CHILD:
      return "child";
    case MOUSE_RECT_END_PARENT:
      return "end parent";
    case MOUSE_RECT_USER:
      return "user";
  }
  return "unknown kind";
}

const char* mouseEventName(FLAGS eventFlag) {
  switch (eventFlag) {
    case MOUSE_LEFTSINGLE:
      return "click";
    case MOUSE_LEFTRELEASE:
      return "release";
    case MOUSE_DOWN_REPEAT:
      return "repeat";
    case MOUSE_WHEEL_UP:
      return "wheel up";
    case MOUSE_WHEEL_DOWN:
      return "wheel down";
    default:
      return "event";
  }
}

}  // namespace panelhost
