// `panelhost info --markdown`: what a scenario author needs of each gauge, as Markdown tables read
// from the module's own records: every control with a point that reaches it, its tooltip and
// handler, and every child element that `expect element` can check, with the values it gives.
// docs/scenarios.md holds this output, and a test compares the two.
#pragma once

#include <ostream>

#include "loader/loaded_module.h"
#include "panel/gauge_info.h"

namespace panelhost {

void writeGaugeTables(const LoadedModule& module, std::ostream& out, const GaugeSizer& sizer);

}  // namespace panelhost
