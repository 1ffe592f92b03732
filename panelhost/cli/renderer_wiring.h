// The renderer this build offers to `render` in scenarios; empty when it draws nothing.
#pragma once

#include "panel/panel_renderer.h"

namespace panelhost {

PanelRenderer builtInRenderer();

}  // namespace panelhost
