// Walking a gauge's element tree as a host does: the root, then each element's null-terminated
// child list in order. Bounded, so a list without its null end, or one leading back into itself,
// cannot run away with the walk.
#pragma once

#include <vector>

#include "host/gauge_records.h"

namespace panelhost {

// The root element of a gauge, or null when its header names none.
ELEMENT_HEADER* rootElement(const GAUGEHDR* gauge);
// The root's children in child order (the null-terminated `next_element` list).
std::vector<ELEMENT_HEADER*> childElements(const ELEMENT_HEADER* element);
// Every element of the tree, the root first, each element before its children.
std::vector<ELEMENT_HEADER*> treeElements(ELEMENT_HEADER* root);
const char* elementKindName(const ELEMENT_HEADER* element);

// Visits every element of the tree in the order of treeElements: the order they are drawn in.
template <typename Visit>
void forEachElement(ELEMENT_HEADER* root, Visit visit) {
  for (ELEMENT_HEADER* element : treeElements(root)) visit(*element);
}

}  // namespace panelhost
