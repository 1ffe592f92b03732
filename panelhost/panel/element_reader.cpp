#include "panel/element_reader.h"

#include "abi/host_layouts.h"

namespace panelhost {

std::string ModuleElementValues::text(const ElementRecord& element) {
  if (element.text.callback == 0 || element.text.buffer == 0) return "";
  module_.callElement(element.text.callback, element);
  return module_.textBuffer(element);
}

double ModuleElementValues::iconFrame(const ElementRecord& element) {
  return element.icon.callback ? module_.callElement(element.icon.callback, element) : -1.0;
}

double ModuleElementValues::movingX(const ElementRecord& element) {
  return element.moving.xCallback ? module_.callElement(element.moving.xCallback, element)
                                  : element.moving.minX;
}

double ModuleElementValues::movingY(const ElementRecord& element) {
  return element.moving.yCallback ? module_.callElement(element.moving.yCallback, element)
                                  : element.moving.minY;
}

void callEveryElement(LoadedModule& module, const ElementTree& tree) {
  for (const ElementRecord& element : tree.elements) {
    switch (element.kind) {
      case hostabi::kString:
        if (element.text.callback && element.text.buffer) {
          module.callElement(element.text.callback, element);
        }
        break;
      case hostabi::kIcon:
        if (element.icon.callback) module.callElement(element.icon.callback, element);
        break;
      case hostabi::kMovingImage:
        if (element.moving.xCallback) module.callElement(element.moving.xCallback, element);
        if (element.moving.yCallback) module.callElement(element.moving.yCallback, element);
        break;
      default:
        break;
    }
  }
}

}  // namespace panelhost
