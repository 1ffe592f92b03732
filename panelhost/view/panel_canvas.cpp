#include "view/panel_canvas.h"

#include <algorithm>
#include <cmath>

#include "render/render_error.h"
#include "support/host_error.h"

namespace panelhost {

namespace {

int scaledExtent(int extent, double scale) {
  return std::max(1, static_cast<int>(std::lround(extent * scale)));
}

std::unique_ptr<PanelPicture> pictureFor(const CanvasSettings& settings) {
  PictureSettings picture;
  picture.resourcesFolder = settings.resourcesFolder;
  picture.options.panelLights = settings.panelLights;
  return std::make_unique<PanelPicture>(picture);
}

}  // namespace

PanelCanvas::PanelCanvas(const PanelLayout& layout, std::vector<PlacedGauge> gauges,
                         CanvasSettings settings)
    : layout_(layout),
      gauges_(std::move(gauges)),
      settings_(std::move(settings)),
      picture_(pictureFor(settings_)) {
  for (const PlacedGauge& placed : gauges_) {
    values_.push_back(std::make_unique<ModuleElementValues>(*placed.module));
  }
  try {
    // The renderer knows where each module keeps its bitmaps, and so each gauge's own size.
    geometry_ = picture_->layOut(placements());
  } catch (const RenderError& failure) {
    throw HostError(failure.what());
  }
  panel_ = {layout_.widthPx, layout_.heightPx};
  if (panel_.width <= 0 || panel_.height <= 0) {
    // A panel file without size_mm is as large as its gauges reach.
    panel_ = {1, 1};
    for (const GaugeOnPanel& p : geometry_) {
      panel_.width = std::max(panel_.width, p.rect.x + p.rect.width);
      panel_.height = std::max(panel_.height, p.rect.y + p.rect.height);
    }
  }
  if (panel_.width > kLargestPanelPx || panel_.height > kLargestPanelPx) {
    throw HostError("the panel is " + std::to_string(panel_.width) + " x " +
                    std::to_string(panel_.height) + " pixels; expected at most " +
                    std::to_string(kLargestPanelPx) + " each way");
  }
  scaled_ = {scaledExtent(panel_.width, settings_.scale),
             scaledExtent(panel_.height, settings_.scale)};
}

std::vector<PicturePlacement> PanelCanvas::placements() const {
  std::vector<PicturePlacement> all;
  for (std::size_t i = 0; i < gauges_.size(); ++i) {
    const PlacedGauge& placed = gauges_[i];
    all.push_back(PicturePlacement{placed.placement, placed.gauge, values_[i].get(),
                                   placed.module->path(), &placed.module->image()});
  }
  return all;
}

void PanelCanvas::setPanelLights(bool on) {
  if (on == settings_.panelLights) return;
  settings_.panelLights = on;
  picture_ = pictureFor(settings_);
}

Image PanelCanvas::draw() {
  Image panel;
  try {
    panel = picture_->draw(panel_, placements());
  } catch (const RenderError& failure) {
    throw HostError(failure.what());
  }
  if (scaled_ == panel.size()) return panel;
  Image scaled(scaled_.width, scaled_.height);
  for (int y = 0; y < scaled_.height; ++y) {
    const int py = gaugeCoordinate(y, panel.height(), scaled_.height);
    for (int x = 0; x < scaled_.width; ++x) {
      scaled.set(x, y, panel.at(gaugeCoordinate(x, panel.width(), scaled_.width), py));
    }
  }
  return scaled;
}

std::optional<PointedGauge> PanelCanvas::gaugeAt(int windowX, int windowY) const {
  if (windowX < 0 || windowY < 0 || windowX >= scaled_.width || windowY >= scaled_.height) {
    return std::nullopt;
  }
  const int px = gaugeCoordinate(windowX, panel_.width, scaled_.width);
  const int py = gaugeCoordinate(windowY, panel_.height, scaled_.height);
  const std::optional<GaugePoint> point = gaugePointAt(geometry_, px, py);
  if (!point) return std::nullopt;
  return PointedGauge{&gauges_[point->placement], point->x, point->y};
}

}  // namespace panelhost
