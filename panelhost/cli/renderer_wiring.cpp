#include "cli/renderer_wiring.h"

#include <map>
#include <memory>

#include "panel/element_reader.h"
#include "render/panel_picture.h"
#include "render/render_error.h"
#include "support/host_error.h"

namespace panelhost {

PanelRenderer builtInRenderer(const RenderSettings& settings, std::function<void()> drawn) {
  PictureSettings pictureSettings;
  if (settings.resourcesFolder) pictureSettings.resourcesFolder = *settings.resourcesFolder;
  pictureSettings.options.panelLights = settings.panelLights;
  // Shared by every render of a run, so each module's bitmaps are read once.
  auto picture = std::make_shared<PanelPicture>(pictureSettings);
  return [picture, drawn](PanelView& view, const std::string& pngPath) {
    // One reader per module, so every element of a module is asked through it, and a panel's
    // memory does not grow with its placements.
    std::map<const LoadedModule*, std::unique_ptr<ModuleElementValues>> values;
    std::vector<PicturePlacement> placements;
    placements.reserve(view.gauges.size());
    for (const PlacedGauge& placed : view.gauges) {
      auto& reader = values[placed.module];
      if (!reader) reader = std::make_unique<ModuleElementValues>(*placed.module);
      placements.push_back(PicturePlacement{placed.placement, placed.gauge, reader.get(),
                                            placed.module->path(), &placed.module->image()});
    }
    try {
      const Image& frame = picture->draw({view.layout.widthPx, view.layout.heightPx}, placements);
      if (drawn) drawn();
      picture->write(frame, pngPath);
    } catch (const RenderError& failure) {
      throw HostError(failure.what());
    }
  };
}

GaugeSizer builtInSizer(const std::string& modulePath, const RenderSettings& settings) {
  PictureSettings pictureSettings;
  if (settings.resourcesFolder) pictureSettings.resourcesFolder = *settings.resourcesFolder;
  const std::filesystem::path script = PanelPicture(pictureSettings).scriptFor(modulePath);
  auto bitmaps = std::make_shared<std::optional<BitmapLibrary>>();
  auto failure = std::make_shared<std::string>();
  return [script, bitmaps, failure](const GaugeRecord& gauge) -> GaugePixels {
    try {
      if (!*bitmaps && failure->empty()) *bitmaps = BitmapLibrary::loadScript(script);
      if (!*bitmaps) return GaugePixels{0, 0, *failure};
      const Size size = gaugeOwnSize(gauge, **bitmaps);
      return GaugePixels{size.width, size.height, ""};
    } catch (const RenderError& error) {
      if (!*bitmaps) *failure = error.what();
      return GaugePixels{0, 0, error.what()};
    }
  };
}

}  // namespace panelhost
