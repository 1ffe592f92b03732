// Element values straight from the element callbacks, with the host-side text buffers the text
// callbacks write into. The host owns each buffer and tells the module its size.
#pragma once

#include <array>
#include <map>
#include <string>

#include "host/gauge_records.h"
#include "render/element_values.h"

namespace panelhost {

class ElementCallbacks : public ElementValues {
 public:
  static constexpr std::size_t kBufferSize = 64;

  // Hands the element its buffer (the same one on every call) and returns it.
  char* attach(ELEMENT_STRING& element);
  // Attaches every text element in the tree under `root`.
  void attachTree(ELEMENT_HEADER* root);

  // Empties the buffer, calls the callback and returns what it wrote (up to the first zero byte,
  // never past the buffer's end); "" without a callback.
  std::string text(ELEMENT_STRING& element) override;
  // Without a callback: no frame, and a moving image at the minimum of its ranges.
  double iconFrame(ELEMENT_ICON& element) override;
  double movingX(ELEMENT_MOVING_IMAGE& element) override;
  double movingY(ELEMENT_MOVING_IMAGE& element) override;

  // Forget every buffer; for when the module is unloaded and its elements go with it.
  void clear() { buffers_.clear(); }

 private:
  std::map<const ELEMENT_STRING*, std::array<char, kBufferSize>> buffers_;
};

}  // namespace panelhost
