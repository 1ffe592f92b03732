#include "cli/renderer_wiring.h"

#include <memory>

#include "panel/element_reader.h"
#include "render/panel_picture.h"
#include "render/render_error.h"
#include "support/host_error.h"

namespace panelhost {

PanelRenderer builtInRenderer(const RenderSettings& settings) {
  PictureSettings pictureSettings;
  if (settings.resourcesFolder) pictureSettings.resourcesFolder = *settings.resourcesFolder;
  pictureSettings.options.panelLights = settings.panelLights;
  // Shared by every render of a run, so each module's bitmaps are read once.
  auto picture = std::make_shared<PanelPicture>(pictureSettings);
  return [picture](PanelView& view, const std::string& pngPath) {
    // One reader per module, so every element of a module is asked through it.
    std::vector<std::unique_ptr<ModuleElementValues>> values;
    std::vector<PicturePlacement> placements;
    for (const PlacedGauge& placed : view.gauges) {
      values.push_back(std::make_unique<ModuleElementValues>(*placed.module));
      placements.push_back(PicturePlacement{
          placed.gauge, values.back().get(), placed.module->path(), placed.placement->x,
          placed.placement->y, placed.placement->width, placed.placement->height});
    }
    try {
      picture->render({view.layout.widthPx, view.layout.heightPx}, placements, pngPath);
    } catch (const RenderError& failure) {
      throw HostError(failure.what());
    }
  };
}

}  // namespace panelhost
