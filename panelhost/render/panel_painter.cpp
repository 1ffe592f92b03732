#include "render/panel_painter.h"

#include <algorithm>

#include "render/pixel_runs.h"

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
  if (x0 >= x1) return;
  if (rect.width == layer.width()) {
    // Column for column: each row is put over the panel in one run.
    for (int y = y0; y < y1; ++y) {
      const Rgba* from = layer.row(gaugeCoordinate(y - rect.y, layer.height(), rect.height));
      putOver(panel.row(y) + x0, from + (x0 - rect.x), static_cast<std::size_t>(x1 - x0));
    }
    return;
  }
  // The gauge column of x0, then stepped along without a division per pixel: the quotient and
  // remainder of (x - rect.x) * layer width / rect width.
  const long long first = static_cast<long long>(x0 - rect.x) * layer.width();
  const long long firstColumn = first / rect.width;
  const long long firstRemainder = first % rect.width;
  for (int y = y0; y < y1; ++y) {
    const Rgba* from = layer.row(gaugeCoordinate(y - rect.y, layer.height(), rect.height));
    Rgba* to = panel.row(y);
    long long gx = firstColumn;
    long long remainder = firstRemainder;
    for (int x = x0; x < x1; ++x) {
      const Rgba p = from[gx];
      if (p.a == 255) {
        to[x] = p;
      } else if (p.a != 0) {
        to[x] = blendOver(to[x], p);
      }
      remainder += layer.width();
      while (remainder >= rect.width) {
        remainder -= rect.width;
        ++gx;
      }
    }
  }
}

}  // namespace panelhost
