// Reads a gauge's element tree the way a host does: walks the children, lends each text element
// a 64-byte buffer owned here, and asks element callbacks for their values.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/gauge_records.h"
#include "panel/element_tree.h"

namespace panelhost {

constexpr std::size_t kTextBufferSize = 64;

class ElementReader {
 public:
  // The text a text element's callback writes now ("" when it has no callback).
  std::string text(ELEMENT_STRING* element);
  // The frame an icon's callback returns now (-1 when it has no callback).
  double iconFrame(ELEMENT_ICON* element);
  // A moving image's X and Y values now (0 when it has no callback).
  double movingX(ELEMENT_MOVING_IMAGE* element);
  double movingY(ELEMENT_MOVING_IMAGE* element);

  // Lends every text element of the tree its buffer, so the module never sees a null one.
  void lendBuffers(ELEMENT_HEADER* root);
  // Every element's callback, as in an update cycle.
  void callAll(ELEMENT_HEADER* root);
  // Drops the buffers; the elements they were lent to belong to a module about to be unloaded.
  void forget() { buffers_.clear(); }

 private:
  char* bufferFor(ELEMENT_STRING* element);
  std::map<const ELEMENT_STRING*, std::array<char, kTextBufferSize>> buffers_;
};

}  // namespace panelhost
