// `panelhost info`: what a module offers, gauge by gauge, as panelhost's own reader decodes its
// records; with `offsets`, every field of every record at its offset, so that the artefact can be
// compared with the layout the simulator reads.
#pragma once

#include <ostream>

#include "loader/loaded_module.h"

namespace panelhost {

void describeModule(const LoadedModule& module, std::ostream& out, bool offsets = false);

}  // namespace panelhost
