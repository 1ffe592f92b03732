#include "view/view_command.h"

#include <iostream>
#include <optional>

#include "loader/module_files.h"
#include "panel/panel_file.h"
#include "panel/panel_session.h"
#include "support/host_error.h"
#include "view/panel_viewer.h"

namespace panelhost {

namespace {

constexpr int kExitBadInput = 2;

}  // namespace

int viewCommand(const ViewRequest& request) {
  SessionOptions options;
  options.moduleFolder = executableFolder();
  options.moduleOverride = request.module;
  options.conditions = request.conditions;
  options.print = [](const std::string& line) { std::cout << line << std::endl; };
  ViewSettings settings;
  if (request.resourcesFolder) settings.canvas.resourcesFolder = *request.resourcesFolder;
  settings.canvas.panelLights = request.panelLights;
  settings.canvas.scale = request.scale;
  if (request.record) settings.record = *request.record;
  if (request.panel) settings.origin.panelFile = *request.panel;
  settings.origin.module = request.module;
  settings.origin.window = request.window;
  settings.origin.conditions = request.conditions;
  settings.print = options.print;
  try {
    PanelSession session(request.panel ? readPanelFile(*request.panel, request.window)
                                       : builtInPanel(request.window),
                         options);
    PanelViewer viewer(session, settings);
    return viewer.run();
  } catch (const HostError& error) {
    std::cout << "panelhost view: " << error.what() << std::endl;
    return kExitBadInput;
  }
}

}  // namespace panelhost
