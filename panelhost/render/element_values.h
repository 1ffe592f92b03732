// What the renderer asks of elements as it draws them: the values their callbacks give now. The
// panel host may answer through its own element reader, so that a text element keeps one buffer
// whoever asks for its text.
#pragma once

#include <string>

#include "host/gauge_records.h"

namespace panelhost {

class ElementValues {
 public:
  virtual ~ElementValues() = default;
  virtual std::string text(ELEMENT_STRING& element) = 0;
  virtual double iconFrame(ELEMENT_ICON& element) = 0;  // -1: no frame
  virtual double movingX(ELEMENT_MOVING_IMAGE& element) = 0;
  virtual double movingY(ELEMENT_MOVING_IMAGE& element) = 0;
};

}  // namespace panelhost
