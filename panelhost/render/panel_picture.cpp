#include "render/panel_picture.h"

#include "render/panel_painter.h"
#include "render/png_writer.h"

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

Image PanelPicture::draw(Size panelSize, const std::vector<PicturePlacement>& placements,
                         ElementValues& values) {
  Image panel(panelSize.width, panelSize.height, opaque(0, 0, 0));
  for (const PicturePlacement& p : placements) {
    const BitmapLibrary& bitmaps = bitmapsFor(p.moduleFile);
    PanelPainter painter(bitmaps, values, settings_.fonts);
    const Placement placement =
        painter.place(*p.gauge, p.x, p.y, p.width > 0 ? std::optional<int>(p.width) : std::nullopt,
                      p.height > 0 ? std::optional<int>(p.height) : std::nullopt);
    painter.check({placement});
    composite(panel, painter.gauges().draw(*p.gauge, settings_.options), placement.rect);
  }
  return panel;
}

void PanelPicture::render(Size panelSize, const std::vector<PicturePlacement>& placements,
                          ElementValues& values, const std::filesystem::path& png) {
  writePng(draw(panelSize, placements, values), png);
}

}  // namespace panelhost
