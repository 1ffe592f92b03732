#include "render/text_buffers.h"

#include <cstring>

#include "render/element_tree.h"

namespace panelhost {

char* TextBuffers::attach(ELEMENT_STRING& element) {
  auto& buffer = buffers_[&element];  // zero-filled when new
  element.string = buffer.data();
  element.string_size = static_cast<UINT32>(buffer.size());
  return buffer.data();
}

void TextBuffers::attachTree(ELEMENT_HEADER* root) {
  forEachElement(root, [this](ELEMENT_HEADER& element) {
    if (element.element_type == ELEMENT_TYPE_STRING) {
      attach(static_cast<ELEMENT_STRING&>(element));
    }
  });
}

std::string TextBuffers::callText(ELEMENT_STRING& element) {
  char* buffer = attach(element);
  buffer[0] = '\0';
  if (element.update_cb != nullptr) element.update_cb(&element);
  return std::string(buffer, strnlen(buffer, kBufferSize));
}

}  // namespace panelhost
