// The one source of element values: a module's element callbacks, called through the module as a
// host calls them, with text read from the buffer the host lent the element.
#pragma once

#include "abi/module_records.h"
#include "loader/loaded_module.h"
#include "render/element_values.h"

namespace panelhost {

class ModuleElementValues : public ElementValues {
 public:
  explicit ModuleElementValues(LoadedModule& module) : module_(module) {}

  std::string text(const ElementRecord& element) override;
  double iconFrame(const ElementRecord& element) override;
  double movingX(const ElementRecord& element) override;
  double movingY(const ElementRecord& element) override;

 private:
  LoadedModule& module_;
};

}  // namespace panelhost
