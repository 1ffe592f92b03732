// The host-side text buffers of text elements. The host owns the buffer a text element's callback
// writes into and tells the module its size; the renderer and the scenario runner share one
// TextBuffers so that an element keeps one buffer for as long as the module is loaded.
#pragma once

#include <array>
#include <map>
#include <string>

#include "host/gauge_records.h"

namespace panelhost {

class TextBuffers {
 public:
  static constexpr std::size_t kBufferSize = 64;

  // Hands the element its buffer (the same one on every call) and returns it.
  char* attach(ELEMENT_STRING& element);
  // Attaches every text element in the tree under `root`.
  void attachTree(ELEMENT_HEADER* root);
  // Empties the buffer, calls the element's callback and returns what it wrote (up to the first
  // zero byte, never past the buffer's end).
  std::string callText(ELEMENT_STRING& element);

  // Forget every buffer; for when the module is unloaded and its elements go with it.
  void clear() { buffers_.clear(); }

 private:
  std::map<const ELEMENT_STRING*, std::array<char, kBufferSize>> buffers_;
};

}  // namespace panelhost
