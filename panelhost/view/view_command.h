// `panelhost view`: the viewer run with its command line's options. A build without SDL2 has the
// command too, and says what it lacks.
#pragma once

#include <optional>
#include <string>

#include "services/host_conditions.h"

namespace panelhost {

// What the command line asked of the viewer.
struct ViewRequest {
  std::optional<std::string> panel;            // --panel FILE; the built-in stack otherwise
  std::optional<std::string> window;           // --window NAME
  std::optional<std::string> module;           // --module PATH
  std::optional<std::string> record;           // --record FILE.scn
  std::optional<std::string> resourcesFolder;  // --resources DIR
  bool panelLights = false;                    // --lights on
  double scale = 1.0;                          // --scale S
  HostConditions conditions;                   // --fpu, --answers
};

// Exit status 0 when the pilot quit and the module unloaded cleanly, 1 when a module timer
// outlived the unload, 2 on bad input or when no window could be opened.
int viewCommand(const ViewRequest& request);

}  // namespace panelhost
