// The renderer this build offers to `render` in scenarios and to `panelhost render`.
#pragma once

#include <optional>
#include <string>

#include "panel/gauge_info.h"
#include "panel/panel_renderer.h"

namespace panelhost {

struct RenderSettings {
  std::optional<std::string> resourcesFolder;  // --resources DIR: MODULE.rc and its bitmaps
  bool panelLights = false;                    // --lights on
};

PanelRenderer builtInRenderer(const RenderSettings& settings = {});

// Each gauge's own size from the module's bitmaps, for `info`.
GaugeSizer builtInSizer(const std::string& modulePath, const RenderSettings& settings = {});

}  // namespace panelhost
