#include "render/element_callbacks.h"

#include <cstring>

#include "panel/element_tree.h"

namespace panelhost {

char* ElementCallbacks::attach(ELEMENT_STRING& element) {
  auto& buffer = buffers_[&element];  // zero-filled when new
  element.string = buffer.data();
  element.string_size = static_cast<UINT32>(buffer.size());
  return buffer.data();
}

void ElementCallbacks::attachTree(ELEMENT_HEADER* root) {
  forEachElement(root, [this](ELEMENT_HEADER& element) {
    if (element.element_type == ELEMENT_TYPE_STRING) {
      attach(static_cast<ELEMENT_STRING&>(element));
    }
  });
}

std::string ElementCallbacks::text(ELEMENT_STRING& element) {
  char* buffer = attach(element);
  buffer[0] = '\0';
  if (element.update_cb != nullptr) element.update_cb(&element);
  return std::string(buffer, strnlen(buffer, kBufferSize));
}

double ElementCallbacks::iconFrame(ELEMENT_ICON& element) {
  return element.update_cb != nullptr ? element.update_cb(&element) : -1.0;
}

double ElementCallbacks::movingX(ELEMENT_MOVING_IMAGE& element) {
  return element.update_x_cb != nullptr ? element.update_x_cb(&element) : element.min_x;
}

double ElementCallbacks::movingY(ELEMENT_MOVING_IMAGE& element) {
  return element.update_y_cb != nullptr ? element.update_y_cb(&element) : element.min_y;
}

}  // namespace panelhost
