// `panelhost view`: its command line, and the viewer run with it. A build without SDL2 has the
// command too, and says what it lacks.
#pragma once

#include <string>
#include <vector>

namespace panelhost {

// Exit status 0 when the pilot quit and the module unloaded cleanly, 1 when a module timer
// outlived the unload, 2 on bad input or when no window could be opened.
int viewCommand(const std::vector<std::string>& args);

}  // namespace panelhost
