#include "render/frame_painter.h"

#include <algorithm>

#include "abi/host_layouts.h"
#include "render/canvas.h"
#include "render/pixel_runs.h"

namespace panelhost {

namespace {

constexpr Rgba kPanelBlack{0, 0, 0, 255};

bool overlap(const Rect& a, const Rect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// Puts what is drawn in the gauge's box from (left, top) to (right, bottom) over the black.
void settle(Canvas& canvas, int left, int top, int right, int bottom) {
  left = std::max(left, canvas.left());
  right = std::min(right, canvas.right());
  if (left >= right) return;
  for (int y = std::max(top, canvas.top()); y < std::min(bottom, canvas.bottom()); ++y) {
    settleOverBlack(canvas.at(left, y), static_cast<std::size_t>(right - left));
  }
}

}  // namespace

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

void FramePainter::planStraightDrawing(const std::vector<GaugeOnPanel>& gauges) {
  straight_.assign(gauges.size(), false);
  for (std::size_t i = 0; i < gauges.size(); ++i) {
    const GaugeOnPanel& g = gauges[i];
    if (g.rect.width != g.own.width || g.rect.height != g.own.height) continue;
    bool alone = true;
    for (std::size_t j = 0; j < i && alone; ++j) alone = !overlap(gauges[j].rect, g.rect);
    straight_[i] = alone;
  }
}

// Black wherever no gauge is drawn straight onto the frame: those gauges set every pixel they
// cover.
void FramePainter::fillAroundStraightGauges(const std::vector<GaugeOnPanel>& gauges) {
  for (int y = 0; y < frame_.height(); ++y) {
    spans_.clear();
    for (std::size_t i = 0; i < gauges.size(); ++i) {
      const Rect& r = gauges[i].rect;
      if (!straight_[i] || y < r.y || y >= r.y + r.height) continue;
      const int from = std::max(0, r.x);
      const int to = std::min(frame_.width(), r.x + r.width);
      if (from < to) spans_.emplace_back(from, to);
    }
    std::sort(spans_.begin(), spans_.end());
    int x = 0;
    Rgba* row = frame_.row(y);
    for (const auto& [from, to] : spans_) {
      fillPixels(row + x, static_cast<std::size_t>(from - x), kPanelBlack);
      x = to;
    }
    fillPixels(row + x, static_cast<std::size_t>(frame_.width() - x), kPanelBlack);
  }
}

const Image& FramePainter::draw(Size panelSize, const std::vector<GaugeOnPanel>& gauges,
                                const RenderOptions& options) {
  frame_.setSize(panelSize.width, panelSize.height);
  planStraightDrawing(gauges);
  fillAroundStraightGauges(gauges);
  for (std::size_t i = 0; i < gauges.size(); ++i) {
    const GaugeOnPanel& g = gauges[i];
    GaugeRenderer renderer(*g.bitmaps, *g.values, text_);
    if (straight_[i]) {
      // Its layer, where it lies on the frame; then that layer put over the black below.
      Canvas canvas(frame_, g.rect.x, g.rect.y, g.own);
      renderer.draw(*g.gauge, options, canvas, true);
      const ElementRecord* root = g.gauge->tree.root();
      if (root != nullptr && rootCovers(*root, *g.bitmaps, {canvas.right(), canvas.bottom()})) {
        for (const ElementRecord& element : g.gauge->tree.elements) {
          if (element.kind != hostabi::kString) continue;
          settle(canvas, element.position.x, element.position.y,
                 element.position.x + element.text.box.x, element.position.y + element.text.box.y);
        }
      } else {
        settle(canvas, canvas.left(), canvas.top(), canvas.right(), canvas.bottom());
      }
      continue;
    }
    // Drawn and put onto the frame before the next gauge, so one layer of each size serves all.
    Image& layer = layers_[{g.own.width, g.own.height}];
    layer.setSize(g.own.width, g.own.height);
    Canvas canvas(layer, 0, 0, g.own);
    renderer.draw(*g.gauge, options, canvas);
    composite(frame_, layer, g.rect);
  }
  return frame_;
}

}  // namespace panelhost
