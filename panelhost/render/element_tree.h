// Walking a gauge's element tree: an element, then the children of its null-terminated list, in
// order.
#pragma once

#include <functional>

#include "host/gauge_records.h"

namespace panelhost {

// Deeper than any gauge's tree; stops a list that leads back into itself.
constexpr int kMaxElementDepth = 8;

// Visits `root` and its descendants in drawing order. Throws RenderError when the tree nests
// deeper than kMaxElementDepth.
void forEachElement(ELEMENT_HEADER* root, const std::function<void(ELEMENT_HEADER&)>& visit);

// The root element of a gauge (what its element list holds), or null.
ELEMENT_HEADER* gaugeRoot(const GAUGEHDR& gauge);

}  // namespace panelhost
