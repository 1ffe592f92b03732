#include "render/panel_picture.h"

#include <algorithm>

#include "render/render_error.h"

namespace panelhost {

std::filesystem::path PanelPicture::scriptFor(const std::filesystem::path& moduleFile) const {
  const std::filesystem::path folder = settings_.resourcesFolder.value_or(moduleFile.parent_path());
  return folder / moduleFile.stem().concat(".rc");
}

const BitmapLibrary& PanelPicture::bitmapsFor(const std::filesystem::path& moduleFile) {
  const std::filesystem::path script = scriptFor(moduleFile);
  auto found = libraries_.find(script);
  if (found == libraries_.end()) {
    found = libraries_.emplace(script, BitmapLibrary::loadScript(script)).first;
  }
  return found->second;
}

void PanelPicture::check(const std::vector<PicturePlacement>& placements) {
  for (const PicturePlacement& p : placements) {
    checkGauge(*p.gauge, bitmapsFor(p.moduleFile));
  }
}

Size PanelPicture::extentOf(const std::vector<PicturePlacement>& placements) {
  Size extent;
  for (const PicturePlacement& p : placements) {
    const Rect rect = placementRect(gaugeOwnSize(*p.gauge, bitmapsFor(p.moduleFile)), p.x, p.y,
                                    p.width > 0 ? std::optional<int>(p.width) : std::nullopt,
                                    p.height > 0 ? std::optional<int>(p.height) : std::nullopt);
    extent.width = std::max(extent.width, rect.x + rect.width);
    extent.height = std::max(extent.height, rect.y + rect.height);
  }
  if (extent.width > kLargestPanelPx || extent.height > kLargestPanelPx) {
    throw RenderError("the panel file gives no size_mm and its gauges reach " +
                      std::to_string(extent.width) + " x " + std::to_string(extent.height) +
                      " pixels; expected at most " + std::to_string(kLargestPanelPx) + " each way");
  }
  return extent;
}

const Image& PanelPicture::drawFrame(Size panelSize,
                                     const std::vector<PicturePlacement>& placements) {
  // A panel file without size_mm is as large as its gauges reach.
  if (panelSize.width <= 0 || panelSize.height <= 0) panelSize = extentOf(placements);
  gauges_.clear();
  for (const PicturePlacement& p : placements) {
    const BitmapLibrary& bitmaps = bitmapsFor(p.moduleFile);
    checkGauge(*p.gauge, bitmaps);
    const Size own = gaugeOwnSize(*p.gauge, bitmaps);
    const Rect rect =
        placementRect(own, p.x, p.y, p.width > 0 ? std::optional<int>(p.width) : std::nullopt,
                      p.height > 0 ? std::optional<int>(p.height) : std::nullopt);
    gauges_.push_back({p.gauge, &bitmaps, p.values, own, rect});
  }
  return frame_.draw(panelSize, gauges_, settings_.options);
}

void PanelPicture::render(Size panelSize, const std::vector<PicturePlacement>& placements,
                          const std::filesystem::path& png) {
  png_.write(drawFrame(panelSize, placements), png);
}

}  // namespace panelhost
