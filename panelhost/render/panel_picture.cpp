#include "render/panel_picture.h"

#include <algorithm>

#include "abi/host_layouts.h"
#include "render/render_error.h"
#include "support/host_error.h"

namespace panelhost {

std::filesystem::path PanelPicture::scriptFor(const std::filesystem::path& moduleFile) const {
  const std::filesystem::path folder = settings_.resourcesFolder.value_or(moduleFile.parent_path());
  return folder / moduleFile.stem().concat(".rc");
}

namespace {

// Every bitmap id the gauge's tree names: each image, each frame, each strip and its window.
std::vector<std::uint32_t> bitmapIdsOf(const GaugeRecord& gauge) {
  std::vector<std::uint32_t> ids;
  for (const ElementRecord& e : gauge.tree.elements) {
    if (e.kind == hostabi::kStaticImage) ids.push_back(e.resourceId);
    if (e.kind == hostabi::kIcon) {
      for (std::int32_t frame = 0; frame < e.icon.frames && frame < 1024; ++frame) {
        ids.push_back(e.resourceId + static_cast<std::uint32_t>(frame));
      }
    }
    if (e.kind == hostabi::kMovingImage) {
      ids.push_back(e.resourceId);
      ids.push_back(e.resourceId + 1);
    }
  }
  return ids;
}

}  // namespace

const BitmapLibrary& PanelPicture::bitmapsFor(const PicturePlacement& placement) {
  const std::filesystem::path& moduleFile = placement.moduleFile;
  const GaugeRecord* gauge = placement.gauge;
  const ModuleImage* image = placement.image;
  const ElementRecord* root = gauge ? gauge->tree.root() : nullptr;
  if (image != nullptr && root != nullptr && image->bitmapResource(root->resourceId)) {
    BitmapLibrary& carried = carried_[moduleFile];
    carried.addResources(moduleFile, bitmapIdsOf(*gauge),
                         [image](std::uint32_t id) { return image->bitmapResource(id); });
    return carried;
  }
  const std::filesystem::path script = scriptFor(moduleFile);
  auto found = libraries_.find(script);
  if (found == libraries_.end()) {
    found = libraries_.emplace(script, BitmapLibrary::loadScript(script)).first;
  }
  return found->second;
}

const std::vector<GaugeOnPanel>& PanelPicture::layOut(
    const std::vector<PicturePlacement>& placements) {
  gauges_.clear();
  for (const PicturePlacement& p : placements) {
    const BitmapLibrary& bitmaps = bitmapsFor(p);
    checkGauge(*p.gauge, bitmaps);
    const Size own = gaugeOwnSize(*p.gauge, bitmaps);
    const GaugePlacement& at = *p.at;
    const Rect rect =
        placementRect(own, at.x, at.y, at.width > 0 ? std::optional<int>(at.width) : std::nullopt,
                      at.height > 0 ? std::optional<int>(at.height) : std::nullopt);
    gauges_.push_back({p.gauge, &bitmaps, p.values, own, rect});
  }
  return gauges_;
}

Size PanelPicture::extentOf(const std::vector<PicturePlacement>& placements) const {
  Size extent;
  // The placements that reach furthest right and down: when the panel is empty one way, the
  // lines to look at.
  const PicturePlacement* right = nullptr;
  const PicturePlacement* down = nullptr;
  for (std::size_t i = 0; i < gauges_.size(); ++i) {
    const Rect& rect = gauges_[i].rect;
    if (right == nullptr || rect.x + rect.width > extent.width) {
      right = &placements[i];
      extent.width = rect.x + rect.width;
    }
    if (down == nullptr || rect.y + rect.height > extent.height) {
      down = &placements[i];
      extent.height = rect.y + rect.height;
    }
  }
  // The panel spans from its corner (0, 0) to where its gauges reach, so gauges wholly left of or
  // above that corner leave nothing to draw.
  if (right != nullptr && (extent.width <= 0 || extent.height <= 0)) {
    const bool across = extent.width <= 0;
    const GaugePlacement& line = *(across ? right : down)->at;
    const std::string message =
        "the panel file gives no size_mm and every gauge lies " +
        std::string(across ? "left of x = 0" : "above y = 0") + ", this one reaching " +
        (across ? "x = " + std::to_string(extent.width) : "y = " + std::to_string(extent.height)) +
        "; expected a gauge reaching into positive x and y, or a size_mm=WIDTH,HEIGHT line";
    throw RenderError(line.file.empty() ? message : at(line.file, line.line, message));
  }
  if (extent.width > kLargestPanelPx || extent.height > kLargestPanelPx) {
    throw RenderError("the panel file gives no size_mm and its gauges reach " +
                      std::to_string(extent.width) + " x " + std::to_string(extent.height) +
                      " pixels; expected at most " + std::to_string(kLargestPanelPx) + " each way");
  }
  return extent;
}

const Image& PanelPicture::draw(Size panelSize, const std::vector<PicturePlacement>& placements) {
  layOut(placements);
  // A panel file without size_mm is as large as its gauges reach.
  if (panelSize.width <= 0 || panelSize.height <= 0) panelSize = extentOf(placements);
  return frame_.draw(panelSize, gauges_, settings_.options);
}

}  // namespace panelhost
