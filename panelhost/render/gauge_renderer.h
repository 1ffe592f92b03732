// Draws one gauge from its own header's element tree, as the simulator's panel system would: the
// root static image, then its children in order, each element's callback called as it is drawn.
#pragma once

#include "abi/module_records.h"
#include "render/bitmap_library.h"
#include "render/canvas.h"
#include "render/element_values.h"
#include "render/image.h"
#include "render/text_painter.h"

namespace panelhost {

struct RenderOptions {
  // Night panel lighting: elements with the bright image flag glow at full brightness, the rest
  // of the panel is drawn at kUnlitShare of its brightness. Off, everything draws as it is.
  bool panelLights = false;
};

constexpr double kUnlitShare = 0.3;

// The gauge's own size: that of its root bitmap. Throws RenderError.
Size gaugeOwnSize(const GaugeRecord& gauge, const BitmapLibrary& bitmaps);

// Every bitmap the tree names is there and of a size its element can use. Throws RenderError
// naming the gauge, the element, the resource id and the file.
void checkGauge(const GaugeRecord& gauge, const BitmapLibrary& bitmaps);

// Whether the root is a bitmap at (0, 0) that covers `size` (the gauge's own size is its root's).
bool rootCovers(const ElementRecord& root, const BitmapLibrary& bitmaps, Size size);

class GaugeRenderer {
 public:
  GaugeRenderer(const BitmapLibrary& bitmaps, ElementValues& values, TextPainter& painter)
      : bitmaps_(bitmaps), values_(values), painter_(painter) {}

  Size gaugeSize(const GaugeRecord& gauge) const;
  void check(const GaugeRecord& gauge) const;

  // The gauge drawn at its own size onto a layer whose alpha marks what was drawn. Calls the
  // element callbacks. Throws RenderError (a bitmap the resources lack, a font that cannot load).
  Image draw(const GaugeRecord& gauge, const RenderOptions& options);
  // The same onto a canvas the caller keeps, first made all undrawn. `overBlack`: the canvas lies
  // over opaque black, where undrawn may already be that black; when the root covers the
  // canvas it then is, outside the gauge's text boxes, which the caller settles over black.
  void draw(const GaugeRecord& gauge, const RenderOptions& options, Canvas& canvas,
            bool overBlack = false);

 private:
  const BitmapLibrary& bitmaps_;
  ElementValues& values_;
  TextPainter& painter_;
};

}  // namespace panelhost
