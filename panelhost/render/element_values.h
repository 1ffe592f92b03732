// What the renderer and the checks ask of elements: the values their callbacks give now. The
// module's own answer is ModuleElementValues (panel/element_reader.h); the renderer takes any.
#pragma once

#include <string>

#include "abi/module_records.h"

namespace panelhost {

class ElementValues {
 public:
  virtual ~ElementValues() = default;
  // The text a text element's callback writes now ("" when it has no callback or buffer).
  virtual std::string text(const ElementRecord& element) = 0;
  // The frame an icon's callback returns now (-1, no frame, when it has no callback).
  virtual double iconFrame(const ElementRecord& element) = 0;
  // A moving image's values now (the minimum of its range when it has no callback).
  virtual double movingX(const ElementRecord& element) = 0;
  virtual double movingY(const ElementRecord& element) = 0;
};

}  // namespace panelhost
