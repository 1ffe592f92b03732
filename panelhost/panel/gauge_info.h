// `panelhost info`: what a module offers, gauge by gauge, as panelhost's own reader decodes its
// records; with `offsets`, every field of every record at its offset, so that the artefact can be
// compared with the layout the simulator reads.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "loader/loaded_module.h"
#include "panel/panel_file.h"

namespace panelhost {

// A gauge's own size in pixels (its root bitmap's), or why it is not known.
struct GaugePixels {
  int width = 0;
  int height = 0;
  std::string unknownBecause;  // set when the size is not known
};
using GaugeSizer = std::function<GaugePixels(const GaugeRecord& gauge)>;

// With a sizer, each gauge's size in pixels and the panel line that places it at that size, as
// `panel` (or else the built-in radio stack) places it where it has the gauge.
void describeModule(const LoadedModule& module, std::ostream& out, bool offsets = false,
                    const GaugeSizer& sizer = nullptr, const PanelLayout* panel = nullptr);

}  // namespace panelhost
