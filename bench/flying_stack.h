// The radio stack as a pilot flies it, for every benchmark: COM/NAV on, the transponder at ALT
// (its reply lamp blinking), the ADF on, six seconds after start so the COM/NAV radio has settled.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "panel/panel_session.h"

namespace bench {

// `module`: the module to load for every gauge (--module PATH); the build's radios.so otherwise.
// `placements`: 3 is the radio stack; 1 its COM/NAV radio alone; more, the stack placed again and
// again (every placement of a radio shows the one radio the module keeps).
std::unique_ptr<panelhost::PanelSession> flyingStack(const std::optional<std::string>& module,
                                                     int placements = 3);

// "--module PATH" among a program's arguments, taken out of them.
std::optional<std::string> takeModuleOption(int& argc, char** argv);

}  // namespace bench
