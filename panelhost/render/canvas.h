// Where a gauge is drawn: its own pixels, from (0, 0) to its own size, laid onto a picture at an
// origin and clipped to both the gauge's size and the picture's edges, so that drawing can clip
// a whole run of pixels once rather than test each pixel.
#pragma once

#include <algorithm>

#include "render/image.h"

namespace panelhost {

class Canvas {
 public:
  // Gauge pixel (x, y) lands on picture pixel (originX + x, originY + y).
  Canvas(Image& picture, int originX, int originY, Size own)
      : picture_(picture),
        originX_(originX),
        originY_(originY),
        left_(std::max(0, -originX)),
        top_(std::max(0, -originY)),
        right_(std::min(own.width, picture.width() - originX)),
        bottom_(std::min(own.height, picture.height() - originY)) {}

  // The gauge pixels that can be drawn: left <= x < right, top <= y < bottom.
  int left() const { return left_; }
  int top() const { return top_; }
  int right() const { return right_; }
  int bottom() const { return bottom_; }
  bool holds(int x, int y) const { return x >= left_ && y >= top_ && x < right_ && y < bottom_; }

  // The pixel under gauge pixel (x, y), which must be one the canvas holds; the pixels after it
  // in its row up to right() follow it.
  Rgba* at(int x, int y) { return picture_.row(originY_ + y) + (originX_ + x); }
  void blend(int x, int y, Rgba p) {
    if (!holds(x, y)) return;
    Rgba* pixel = at(x, y);
    *pixel = blendOver(*pixel, p);
  }

 private:
  Image& picture_;
  int originX_;
  int originY_;
  int left_;
  int top_;
  int right_;
  int bottom_;
};

}  // namespace panelhost
