#include "panel/gauge_tables.h"

#include <optional>
#include <string>

#include "abi/host_layouts.h"
#include "abi/record_decoder.h"
#include "panel/mouse_table.h"
#include "support/message_parts.h"

namespace panelhost {

namespace {

std::string boxText(const hostabi::Box& box) {
  return std::to_string(box.x) + ", " + std::to_string(box.y) + ", " + std::to_string(box.width) +
         ", " + std::to_string(box.height);
}

std::string cursorName(std::int32_t cursor) {
  switch (cursor) {
    case kUpArrowCursor:
      return "up arrow";
    case kDownArrowCursor:
      return "down arrow";
    case kHandCursor:
      return "hand";
    case kNoCursor:
      return "none";
    default:
      return std::to_string(cursor);
  }
}

// The scenario commands that reach a child with these flags.
std::string eventsTaken(std::uint32_t flags) {
  std::vector<std::string> taken;
  auto add = [&](std::uint32_t flag, const char* what) {
    if ((flags & flag) != 0) taken.push_back(what);
  };
  add(kMouseClick, "click");
  add(kMouseRelease, "release");
  add(kMouseRepeat, "held");
  const std::uint32_t wheel = flags & (kMouseWheelUp | kMouseWheelDown);
  if (wheel == (kMouseWheelUp | kMouseWheelDown)) {
    add(wheel, "wheel");
  } else {
    add(kMouseWheelUp, "wheel up");
    add(kMouseWheelDown, "wheel down");
  }
  return listed(taken, ", ");
}

// The first event the child accepts, for finding a point that reaches it.
std::uint32_t firstEvent(std::uint32_t flags) {
  for (std::uint32_t flag :
       {kMouseClick, kMouseRelease, kMouseRepeat, kMouseWheelUp, kMouseWheelDown}) {
    if ((flags & flag) != 0) return flag;
  }
  return 0;
}

// The point nearest the middle of child `index`'s box where the host sends the event to that
// child and shows `tooltip`: earlier entries may cover part of the box.
std::optional<hostabi::Point> pointReaching(const std::vector<MouseEntry>& table, std::size_t index,
                                            const std::string& tooltip) {
  const hostabi::Box& box = table[index].box;
  const std::uint32_t event = firstEvent(table[index].flags);
  // Doubled coordinates keep the middle of an even-sized box exact.
  const std::int64_t middleX = 2 * static_cast<std::int64_t>(box.x) + box.width - 1;
  const std::int64_t middleY = 2 * static_cast<std::int64_t>(box.y) + box.height - 1;
  std::optional<hostabi::Point> best;
  std::int64_t bestDistance = 0;
  for (int y = box.y; y < box.y + box.height; ++y) {
    for (int x = box.x; x < box.x + box.width; ++x) {
      const std::int64_t dx = 2 * x - middleX;
      const std::int64_t dy = 2 * y - middleY;
      const std::int64_t distance = dx * dx + dy * dy;
      if (best && distance >= bestDistance) continue;
      if (childTakingEvent(table, x, y, event) != static_cast<int>(index)) continue;
      if (tooltipAt(table, x, y) != tooltip) continue;
      best = hostabi::Point{x, y};
      bestDistance = distance;
    }
  }
  return best;
}

class TableWriter {
 public:
  TableWriter(const LoadedModule& module, std::ostream& out) : module_(module), out_(out) {}

  void gauge(const GaugeRecord& gauge, const GaugePixels& size) {
    out_ << "### " << gauge.name << "\n\n";
    if (size.unknownBecause.empty()) {
      out_ << size.width << " x " << size.height << " pixels.\n\n";
    }
    controls(gauge.mouse);
    elements(gauge.tree);
  }

 private:
  std::string function(ModuleAddress address) const {
    const std::string name = address == 0 ? "" : module_.nameOf(address);
    return name.empty() ? "-" : "`" + name + "`";
  }

  void controls(const std::vector<MouseEntry>& table) {
    out_ << "| Tooltip | Point | Box | Cursor | Takes | Handler |\n"
         << "|---|---|---|---|---|---|\n";
    std::string tooltip;
    bool outerSeen = false;
    for (std::size_t i = 0; i < table.size(); ++i) {
      const MouseEntry& entry = table[i];
      if (entry.kind == hostabi::kParent) {
        const bool userFollows = i + 1 < table.size() && table[i + 1].kind == hostabi::kUser;
        tooltip = outerSeen && userFollows ? table[i + 1].tooltip : "";
        outerSeen = true;
      }
      if (entry.kind != hostabi::kChild) continue;
      const std::optional<hostabi::Point> point = pointReaching(table, i, tooltip);
      out_ << "| " << (tooltip.empty() ? "-" : "\"" + tooltip + "\"") << " | "
           << (point ? std::to_string(point->x) + " " + std::to_string(point->y) : "none") << " | "
           << boxText(entry.box) << " | " << cursorName(entry.cursor) << " | "
           << eventsTaken(entry.flags) << " | " << function(entry.function) << " |\n";
    }
    out_ << "\n";
  }

  void elements(const ElementTree& tree) {
    out_ << "| N | Kind | At | Callback | `expect element` gives |\n"
         << "|---|---|---|---|---|\n";
    const std::vector<const ElementRecord*> children = tree.rootChildren();
    for (std::size_t i = 0; i < children.size(); ++i) {
      const ElementRecord& e = *children[i];
      out_ << "| " << i + 1 << " | " << kind(e) << " | " << e.position.x << ", " << e.position.y
           << " | " << callback(e) << " | " << values(e) << " |\n";
    }
    out_ << "\n";
  }

  static std::string kind(const ElementRecord& e) {
    const std::string bitmap = std::to_string(e.resourceId);
    switch (e.kind) {
      case hostabi::kString:
        return "text, box " + std::to_string(e.text.box.x) + " x " + std::to_string(e.text.box.y) +
               ", font \"" + e.text.fontName + "\"";
      case hostabi::kIcon:
        return "icon, " + std::to_string(e.icon.frames) +
               (e.icon.frames == 1 ? " frame" : " frames") + " from bitmap " + bitmap;
      case hostabi::kMovingImage:
        return "moving image, strip " + bitmap + " in window " + std::to_string(e.resourceId + 1);
      default:
        return std::string(hostabi::elementKindName(e.kind)) + ", bitmap " + bitmap;
    }
  }

  std::string callback(const ElementRecord& e) const {
    switch (e.kind) {
      case hostabi::kString:
        return function(e.text.callback);
      case hostabi::kIcon:
        return function(e.icon.callback);
      case hostabi::kMovingImage:
        return function(e.moving.yCallback);
      default:
        return "-";
    }
  }

  static std::string values(const ElementRecord& e) {
    switch (e.kind) {
      case hostabi::kString:
        return "its text in quotes, at most " +
               std::to_string(e.text.characters > 0 ? e.text.characters - 1 : 0) + " characters";
      case hostabi::kIcon:
        if (e.icon.frames == 1) return "the frame, -1 (none) or 0";
        if (e.icon.frames == 2) return "the frame, -1 (none), 0 or 1";
        return "the frame, -1 (none) to " + std::to_string(e.icon.frames - 1);
      case hostabi::kMovingImage:
        return "the Y value, " + number(e.moving.minY) + " to " + number(e.moving.maxY);
      default:
        return "nothing it can check";
    }
  }

  static std::string number(double value) {
    const auto whole = static_cast<long long>(value);
    return static_cast<double>(whole) == value ? std::to_string(whole) : std::to_string(value);
  }

  const LoadedModule& module_;
  std::ostream& out_;
};

}  // namespace

void writeGaugeTables(const LoadedModule& module, std::ostream& out, const GaugeSizer& sizer) {
  TableWriter writer(module, out);
  for (const GaugeRecord& gauge : module.gauges()) {
    writer.gauge(gauge, sizer ? sizer(gauge) : GaugePixels{0, 0, "no sizer"});
  }
}

}  // namespace panelhost
