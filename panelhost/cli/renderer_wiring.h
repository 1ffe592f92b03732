// The renderer this build offers to `render` in scenarios and to `panelhost render`.
#pragma once

#include <optional>
#include <string>

#include "panel/panel_renderer.h"

namespace panelhost {

struct RenderSettings {
  std::optional<std::string> resourcesFolder;  // --resources DIR: MODULE.rc and its bitmaps
  bool panelLights = false;                    // --lights on
};

PanelRenderer builtInRenderer(const RenderSettings& settings = {});

}  // namespace panelhost
