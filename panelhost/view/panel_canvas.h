// The panel as the viewer shows it: drawn from the session's placed gauges, scaled to the window
// by the same rule that maps the pointer back to a gauge pixel, so that a click lands on what is
// drawn under it.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "panel/element_reader.h"
#include "panel/panel_renderer.h"
#include "render/panel_geometry.h"
#include "render/panel_picture.h"

namespace panelhost {

struct CanvasSettings {
  std::optional<std::filesystem::path> resourcesFolder;  // --resources DIR
  bool panelLights = false;
  double scale = 1.0;  // window pixels per panel pixel
};

// A gauge pixel under the pointer, and the placement it belongs to.
struct PointedGauge {
  const PlacedGauge* placed = nullptr;
  int x = 0;  // gauge pixels at the gauge's own size
  int y = 0;
};

class PanelCanvas {
 public:
  // `gauges` are the session's placements after start; they must outlive the canvas. Throws
  // HostError when a module's bitmaps cannot be used.
  PanelCanvas(const PanelLayout& layout, std::vector<PlacedGauge> gauges, CanvasSettings settings);

  // The panel's size in window pixels.
  Size size() const { return scaled_; }
  bool panelLights() const { return settings_.panelLights; }
  void setPanelLights(bool on);

  // The panel as it stands now, at the window's scale (element callbacks called now).
  Image draw();
  std::optional<PointedGauge> gaugeAt(int windowX, int windowY) const;

 private:
  std::vector<PicturePlacement> placements() const;

  const PanelLayout& layout_;
  std::vector<PlacedGauge> gauges_;
  CanvasSettings settings_;
  std::vector<std::unique_ptr<ModuleElementValues>> values_;  // one per placement
  std::unique_ptr<PanelPicture> picture_;
  std::vector<GaugeOnPanel> geometry_;  // where each placement lies on the panel
  Size panel_;
  Size scaled_;
};

}  // namespace panelhost
