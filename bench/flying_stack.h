// The radio stack as a pilot flies it, for every benchmark: COM/NAV on, the transponder at ALT
// (its reply lamp blinking), the ADF on, six seconds after start so the COM/NAV radio has settled.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "panel/panel_session.h"

namespace bench {

// `module`: the module to load for every gauge (--module PATH); the build's radios.so otherwise.
std::unique_ptr<panelhost::PanelSession> flyingStack(const std::optional<std::string>& module);

// "--module PATH" among a program's arguments, taken out of them.
std::optional<std::string> takeModuleOption(int& argc, char** argv);

}  // namespace bench
