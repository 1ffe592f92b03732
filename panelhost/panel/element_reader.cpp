#include "panel/element_reader.h"

namespace panelhost {

std::string ModuleElementValues::text(const ElementRecord& element) {
  if (element.text.callback == 0 || element.text.buffer == 0) return "";
  return module_.elementText(element);
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

}  // namespace panelhost
