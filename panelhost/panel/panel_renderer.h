// The seam between the panel host and whatever draws the panel. The session hands the renderer
// the placed gauges and the element reader (callbacks are called while drawing, as a host does).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/gauge_records.h"
#include "loader/loaded_module.h"
#include "panel/element_reader.h"
#include "panel/panel_file.h"

namespace panelhost {

struct PlacedGauge {
  const GaugePlacement* placement;  // position and size on the panel
  GAUGEHDR* header;
  const LoadedModule* module;  // its path names the folder that holds the module's bitmaps
};

struct PanelView {
  const PanelLayout& layout;
  std::vector<PlacedGauge> gauges;  // in panel order
  ElementReader& elements;
};

// Draws the whole panel into a PNG file; throws HostError saying why when it cannot.
using PanelRenderer = std::function<void(PanelView& panel, const std::string& pngPath)>;

}  // namespace panelhost
