// Draws a whole panel into a frame it keeps from one picture to the next: each gauge as onto a
// layer of its own size, put onto the frame by the layer's alpha, nearest pixel, as composite()
// does. A gauge at its own size over nothing drawn before (the usual panel) has its layer right
// where it lands on the frame, then put over the black there in place; any other is drawn onto a
// layer of its size, kept too and shared by every placement of that size, so that a panel's
// memory follows its pixels, not the number of its placements. Either way the pixels are those
// of a layer and composite(). Drawing a frame allocates nothing once the frame and layers have
// their sizes, and the fonts stay open.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "abi/module_records.h"
#include "render/bitmap_library.h"
#include "render/element_values.h"
#include "render/gauge_renderer.h"
#include "render/image.h"
#include "render/panel_geometry.h"
#include "render/text_painter.h"

namespace panelhost {

class FramePainter {
 public:
  explicit FramePainter(FontFiles fonts) : text_(std::move(fonts)) {}

  // The panel as it stands now, over black, in panel order (element callbacks called now). The
  // frame stays valid until the next draw. Throws RenderError.
  const Image& draw(Size panelSize, const std::vector<GaugeOnPanel>& gauges,
                    const RenderOptions& options);

 private:
  void planStraightDrawing(const std::vector<GaugeOnPanel>& gauges);
  void fillAroundStraightGauges(const std::vector<GaugeOnPanel>& gauges);

  TextPainter text_;
  Image frame_;
  std::map<std::pair<int, int>, Image> layers_;  // by gauge size, width and height
  std::vector<bool> straight_;                   // by placement: drawn straight onto the frame
  std::vector<std::pair<int, int>> spans_;       // a frame row's columns such gauges cover
};

// Puts `layer` (a gauge at its own size) into `rect` of `panel`, nearest pixel, by the layer's
// alpha.
void composite(Image& panel, const Image& layer, const Rect& rect);

}  // namespace panelhost
