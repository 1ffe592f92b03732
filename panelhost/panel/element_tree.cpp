#include "panel/element_tree.h"

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

}  // namespace panelhost
