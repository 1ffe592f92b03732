// `panelhost info`: what a module offers, gauge by gauge, as the host sees it.
#pragma once

#include <ostream>

#include "loader/loaded_module.h"

namespace panelhost {

void describeModule(const LoadedModule& module, std::ostream& out);

}  // namespace panelhost
