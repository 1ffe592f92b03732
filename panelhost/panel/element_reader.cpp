#include "panel/element_reader.h"

#include <set>

namespace panelhost {

namespace {

// Bounds on what a tree may hold, so a table without its null end cannot run away with us.
constexpr std::size_t kMostChildren = 256;
constexpr int kDeepestTree = 16;

void collect(ELEMENT_HEADER* element, int depth, std::set<const ELEMENT_HEADER*>& seen,
             std::vector<ELEMENT_HEADER*>& out) {
  if (element == nullptr || depth > kDeepestTree || !seen.insert(element).second) return;
  out.push_back(element);
  for (ELEMENT_HEADER* child : childElements(element)) collect(child, depth + 1, seen, out);
}

}  // namespace

ELEMENT_HEADER* rootElement(const GAUGEHDR* gauge) {
  return gauge && gauge->elements_list ? *gauge->elements_list : nullptr;
}

std::vector<ELEMENT_HEADER*> childElements(const ELEMENT_HEADER* element) {
  std::vector<ELEMENT_HEADER*> children;
  if (element == nullptr || element->next_element == nullptr) return children;
  for (std::size_t i = 0; i < kMostChildren && element->next_element[i]; ++i) {
    children.push_back(element->next_element[i]);
  }
  return children;
}

std::vector<ELEMENT_HEADER*> treeElements(ELEMENT_HEADER* root) {
  std::vector<ELEMENT_HEADER*> elements;
  std::set<const ELEMENT_HEADER*> seen;
  collect(root, 0, seen, elements);
  return elements;
}

const char* elementKindName(const ELEMENT_HEADER* element) {
  switch (element->element_type) {
    case ELEMENT_TYPE_STATIC_IMAGE:
      return "static image";
    case ELEMENT_TYPE_STRING:
      return "text";
    case ELEMENT_TYPE_ICON:
      return "icon";
    case ELEMENT_TYPE_MOVING_IMAGE:
      return "moving image";
  }
  return "unknown kind";
}

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
