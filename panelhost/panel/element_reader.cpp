#include "panel/element_reader.h"

namespace panelhost {

char* ElementReader::bufferFor(ELEMENT_STRING* element) {
  auto [it, added] = buffers_.try_emplace(element);
  if (added) it->second.fill('\0');
  element->string = it->second.data();
  element->string_size = static_cast<UINT32>(kTextBufferSize);
  return it->second.data();
}

std::string ElementReader::text(ELEMENT_STRING* element) {
  char* buffer = bufferFor(element);
  if (element->update_cb) element->update_cb(element);
  buffer[kTextBufferSize - 1] = '\0';  // a callback that overran must not take us with it
  return buffer;
}

double ElementReader::iconFrame(ELEMENT_ICON* element) {
  return element->update_cb ? element->update_cb(element) : -1.0;
}

double ElementReader::movingX(ELEMENT_MOVING_IMAGE* element) {
  return element->update_x_cb ? element->update_x_cb(element) : 0.0;
}

double ElementReader::movingY(ELEMENT_MOVING_IMAGE* element) {
  return element->update_y_cb ? element->update_y_cb(element) : 0.0;
}

void ElementReader::lendBuffers(ELEMENT_HEADER* root) {
  for (ELEMENT_HEADER* element : treeElements(root)) {
    if (element->element_type == ELEMENT_TYPE_STRING) {
      bufferFor(static_cast<ELEMENT_STRING*>(element));
    }
  }
}

void ElementReader::callAll(ELEMENT_HEADER* root) {
  for (ELEMENT_HEADER* element : treeElements(root)) {
    switch (element->element_type) {
      case ELEMENT_TYPE_STRING:
        text(static_cast<ELEMENT_STRING*>(element));
        break;
      case ELEMENT_TYPE_ICON:
        iconFrame(static_cast<ELEMENT_ICON*>(element));
        break;
      case ELEMENT_TYPE_MOVING_IMAGE: {
        auto* moving = static_cast<ELEMENT_MOVING_IMAGE*>(element);
        movingX(moving);
        movingY(moving);
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace panelhost
