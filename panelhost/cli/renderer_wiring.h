// The renderer this build offers to `render` in scenarios and to `panelhost render`.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "panel/gauge_info.h"
#include "panel/panel_renderer.h"

namespace panelhost {

struct RenderSettings {
  std::optional<std::string> resourcesFolder;  // --resources DIR: MODULE.rc and its bitmaps
  bool panelLights = false;                    // --lights on
};

// `drawn`, when given, is called once the picture is drawn, before its file is written; it may
// throw HostError to end the command.
PanelRenderer builtInRenderer(const RenderSettings& settings = {},
                              std::function<void()> drawn = {});

// Each gauge's own size from the module's bitmaps, for `info`.
GaugeSizer builtInSizer(const std::string& modulePath, const RenderSettings& settings = {});

}  // namespace panelhost
