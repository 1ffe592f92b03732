#include "render/element_tree.h"

#include "render/render_error.h"

namespace panelhost {

namespace {

void visitFrom(ELEMENT_HEADER* element, int depth,
               const std::function<void(ELEMENT_HEADER&)>& visit) {
  if (element == nullptr) return;
  if (depth > kMaxElementDepth) {
    throw RenderError("element tree nested more than " + std::to_string(kMaxElementDepth) +
                      " deep (a child list leading back into itself?)");
  }
  visit(*element);
  if (element->next_element == nullptr) return;
  for (ELEMENT_HEADER** child = element->next_element; *child != nullptr; ++child) {
    visitFrom(*child, depth + 1, visit);
  }
}

}  // namespace

void forEachElement(ELEMENT_HEADER* root, const std::function<void(ELEMENT_HEADER&)>& visit) {
  visitFrom(root, 0, visit);
}

ELEMENT_HEADER* gaugeRoot(const GAUGEHDR& gauge) {
  return gauge.elements_list == nullptr ? nullptr : *gauge.elements_list;
}

}  // namespace panelhost
