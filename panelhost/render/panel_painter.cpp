#include "render/panel_painter.h"

#include <algorithm>

namespace panelhost {

PanelPainter::PanelPainter(const BitmapLibrary& bitmaps, ElementValues& values, FontFiles fonts)
    : painter_(std::move(fonts)), gauges_(bitmaps, values, painter_) {}

Placement PanelPainter::place(const GaugeRecord& gauge, int x, int y, std::optional<int> width,
                              std::optional<int> height) const {
  const Size own = gauges_.gaugeSize(gauge);
  return Placement{&gauge, own, placementRect(own, x, y, width, height)};
}

void PanelPainter::check(const std::vector<Placement>& placements) const {
  for (const Placement& p : placements) gauges_.check(*p.gauge);
}

Image PanelPainter::render(Size panelSize, const std::vector<Placement>& placements,
                           const RenderOptions& options) {
  check(placements);
  Image panel(panelSize.width, panelSize.height, opaque(0, 0, 0));
  for (const Placement& p : placements) {
    composite(panel, gauges_.draw(*p.gauge, options), p.rect);
  }
  return panel;
}

void composite(Image& panel, const Image& layer, const Rect& rect) {
  if (rect.width <= 0 || rect.height <= 0 || layer.width() == 0 || layer.height() == 0) return;
  const int x0 = std::max(0, rect.x);
  const int y0 = std::max(0, rect.y);
  const int x1 = std::min(panel.width(), rect.x + rect.width);
  const int y1 = std::min(panel.height(), rect.y + rect.height);
  for (int y = y0; y < y1; ++y) {
    const int gy = gaugeCoordinate(y - rect.y, layer.height(), rect.height);
    for (int x = x0; x < x1; ++x) {
      const int gx = gaugeCoordinate(x - rect.x, layer.width(), rect.width);
      panel.blend(x, y, layer.at(gx, gy));
    }
  }
}

}  // namespace panelhost
