// The seam between the panel host and whatever draws the panel. The session hands the renderer
// the placed gauges; element callbacks are called while drawing, as a host does.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "abi/module_records.h"
#include "loader/loaded_module.h"
#include "panel/panel_file.h"

namespace panelhost {

struct PlacedGauge {
  const GaugePlacement* placement;  // position and size on the panel
  const GaugeRecord* gauge;
  LoadedModule* module;  // whose callbacks draw it, and where its bitmaps are
};

struct PanelView {
  const PanelLayout& layout;
  std::vector<PlacedGauge> gauges;  // in panel order
};

// Draws the whole panel into a PNG file; throws HostError saying why when it cannot.
using PanelRenderer = std::function<void(PanelView& panel, const std::string& pngPath)>;

}  // namespace panelhost
