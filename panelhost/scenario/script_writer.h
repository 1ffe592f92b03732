// Commands written in the scenario syntax, as parseScript reads them back: what the viewer
// records, and anything else that writes scenarios, goes through here.
#pragma once

#include <optional>
#include <string>

#include "scenario/scenario_script.h"

namespace panelhost {

// The command's line; nothing when it names a text with a double quote, which a script cannot
// write, or a number a script cannot hold exactly.
std::optional<std::string> commandLine(const ScriptAction& action);

}  // namespace panelhost
