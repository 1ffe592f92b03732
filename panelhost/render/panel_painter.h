// Draws a whole panel: each placement's gauge at its own size, then scaled (nearest pixel) into
// its rectangle, in panel order, over a black panel.
#pragma once

#include <optional>
#include <vector>

#include "render/bitmap_library.h"
#include "render/element_values.h"
#include "render/gauge_renderer.h"
#include "render/image.h"
#include "render/panel_geometry.h"
#include "render/text_painter.h"

namespace panelhost {

class PanelPainter {
 public:
  PanelPainter(const BitmapLibrary& bitmaps, ElementValues& values,
               FontFiles fonts = FontFiles::system());

  // The placement of a panel line "gaugeNN=MODULE!GAUGE, x, y[, width[, height]]" for `gauge`.
  // Throws RenderError when the gauge has no usable root bitmap.
  Placement place(const GaugeRecord& gauge, int x, int y, std::optional<int> width = std::nullopt,
                  std::optional<int> height = std::nullopt) const;

  // Checks every placed gauge's tree against the bitmaps; see GaugeRenderer::check.
  void check(const std::vector<Placement>& placements) const;

  // The panel as it stands now (element callbacks are called now). Throws RenderError.
  Image render(Size panelSize, const std::vector<Placement>& placements,
               const RenderOptions& options = {});

  GaugeRenderer& gauges() { return gauges_; }

 private:
  TextPainter painter_;
  GaugeRenderer gauges_;
};

// Puts `layer` (a gauge at its own size) into `rect` of `panel`, nearest pixel, by the layer's
// alpha.
void composite(Image& panel, const Image& layer, const Rect& rect);

}  // namespace panelhost
