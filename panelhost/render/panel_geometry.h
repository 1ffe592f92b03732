// Where placed gauges land on the panel, and which gauge pixel a panel pixel shows.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "abi/module_records.h"
#include "render/image.h"

namespace panelhost {

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool contains(int px, int py) const {
    return px >= x && py >= y && px < x + width && py < y + height;
  }
};

class BitmapLibrary;
class ElementValues;

// One gauge on the panel: its header, its own size (its root bitmap's), the rectangle of panel
// pixels it is drawn into, and what draws it.
struct GaugeOnPanel {
  const GaugeRecord* gauge = nullptr;
  const BitmapLibrary* bitmaps = nullptr;  // its module's
  ElementValues* values = nullptr;         // its module's callbacks
  Size own;
  Rect rect;
};

// The rectangle for a panel line "gaugeNN=MODULE!GAUGE, x, y[, width[, height]]": a missing or
// non-positive width keeps the gauge's own width; a missing height follows the aspect.
Rect placementRect(Size own, int x, int y, std::optional<int> width = std::nullopt,
                   std::optional<int> height = std::nullopt);

// The gauge pixel that panel pixel (px, py) of `rect` shows, for a gauge of size `own`. Drawing
// and clicks both use it, so a click lands on what is drawn under the pointer.
inline int gaugeCoordinate(int panelOffset, int ownExtent, int placedExtent) {
  return static_cast<int>(static_cast<long long>(panelOffset) * ownExtent / placedExtent);
}

struct GaugePoint {
  std::size_t placement = 0;  // index into the placements
  int x = 0;                  // gauge pixels at the gauge's own size
  int y = 0;
};

// The topmost placement (the last in panel order) under panel pixel (px, py), and the gauge pixel
// there; nothing where no gauge lies.
std::optional<GaugePoint> gaugePointAt(const std::vector<GaugeOnPanel>& placements, int px, int py);

}  // namespace panelhost
