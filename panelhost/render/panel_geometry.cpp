#include "render/panel_geometry.h"

#include <cmath>

namespace panelhost {

Rect placementRect(Size own, int x, int y, std::optional<int> width, std::optional<int> height) {
  Rect rect{x, y, own.width, own.height};
  if (width && *width > 0) rect.width = *width;
  if (height && *height > 0) {
    rect.height = *height;
  } else if (own.width > 0) {
    rect.height =
        static_cast<int>(std::lround(static_cast<double>(own.height) * rect.width / own.width));
  }
  return rect;
}

std::optional<GaugePoint> gaugePointAt(const std::vector<GaugeOnPanel>& placements, int px,
                                       int py) {
  for (std::size_t i = placements.size(); i-- > 0;) {
    const GaugeOnPanel& p = placements[i];
    if (!p.rect.contains(px, py)) continue;
    return GaugePoint{i, gaugeCoordinate(px - p.rect.x, p.own.width, p.rect.width),
                      gaugeCoordinate(py - p.rect.y, p.own.height, p.rect.height)};
  }
  return std::nullopt;
}

}  // namespace panelhost
