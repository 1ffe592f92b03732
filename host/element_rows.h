// A gauge's element tree written the way its element table reads: one builder call per element,
// its columns in the table's order (bitmap or text look, position, image flags, failure list,
// callbacks). The gauge header every element names is given once, for the whole tree.
//
// Image flags are the host's bits, written as the tables write them: 0x1 transparency (pure black
// does not draw), 0x2 erase, 0x4 bright.
#pragma once

#include "host/element_headers.h"
#include "host/interface/gauge_records.h"
#include "resources/bitmaps.h"

class GaugeElements {
 public:
  constexpr explicit GaugeElements(GAUGEHDR* gauge) : gauge_(gauge) {}

  // The root of the tree: the gauge's face, with the other elements drawn over it in list order.
  constexpr ELEMENT_STATIC_IMAGE face(const BitmapRecord& bitmap, SINT32 x, SINT32 y,
                                      FLAGS imageFlags, ELEMENT_HEADER** children) const {
    return staticImage(header(ELEMENT_TYPE_STATIC_IMAGE, bitmap.id, x, y, imageFlags, children));
  }

  constexpr ELEMENT_STRING text(const TextLook& look, SINT32 x, SINT32 y, FLAGS imageFlags,
                                FAILURE_RECORD* failures,
                                PELEMENT_STRING_UPDATE_CALLBACK textFromState) const {
    return textElement(header(ELEMENT_TYPE_STRING, kNoBitmap, x, y, imageFlags, nullptr, failures),
                       look, textFromState);
  }

  // One frame per bitmap of the record, the callback choosing which (or -1 for none).
  constexpr ELEMENT_ICON icon(const BitmapRecord& frames, SINT32 x, SINT32 y, FLAGS imageFlags,
                              FAILURE_RECORD* failures,
                              PELEMENT_ICON_UPDATE_CALLBACK frameFromState) const {
    return iconElement(header(ELEMENT_TYPE_ICON, frames.id, x, y, imageFlags, nullptr, failures),
                       frames.frames, frameFromState);
  }

  // A strip seen through its window, moving only vertically: its X range is 0..0 and its X
  // callback answers 0. The Y range's minimum stands for the strip's top cell.
  constexpr ELEMENT_MOVING_IMAGE drum(const BitmapRecord& strip, SINT32 x, SINT32 y,
                                      FLAGS imageFlags,
                                      PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK xFromState,
                                      FLOAT64 minY, FLOAT64 maxY,
                                      PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK yFromState) const {
    return movingImage(header(ELEMENT_TYPE_MOVING_IMAGE, strip.id, x, y, imageFlags), 0.0, 0.0,
                       xFromState, minY, maxY, yFromState);
  }

 private:
  constexpr ELEMENT_HEADER header(ELEMENT_TYPE_ENUM kind, ID resourceId, SINT32 x, SINT32 y,
                                  FLAGS imageFlags, ELEMENT_HEADER** children = nullptr,
                                  FAILURE_RECORD* failures = nullptr) const {
    return elementHeader(kind, resourceId, x, y, gauge_, imageFlags, children, failures);
  }

  GAUGEHDR* gauge_;
};
