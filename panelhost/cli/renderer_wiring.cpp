#include "cli/renderer_wiring.h"

#include <memory>

#include "render/element_values.h"
#include "render/panel_picture.h"
#include "render/render_error.h"
#include "support/host_error.h"

namespace panelhost {

namespace {

// The renderer asks the session's element reader, so a text element keeps the one buffer the
// scenario checks read as well.
class ReaderValues : public ElementValues {
 public:
  explicit ReaderValues(ElementReader& reader) : reader_(reader) {}
  std::string text(ELEMENT_STRING& element) override { return reader_.text(&element); }
  double iconFrame(ELEMENT_ICON& element) override { return reader_.iconFrame(&element); }
  double movingX(ELEMENT_MOVING_IMAGE& element) override { return reader_.movingX(&element); }
  double movingY(ELEMENT_MOVING_IMAGE& element) override { return reader_.movingY(&element); }

 private:
  ElementReader& reader_;
};

}  // namespace

PanelRenderer builtInRenderer(const RenderSettings& settings) {
  PictureSettings pictureSettings;
  if (settings.resourcesFolder) pictureSettings.resourcesFolder = *settings.resourcesFolder;
  pictureSettings.options.panelLights = settings.panelLights;
  // Shared by every render of a run, so each module's bitmaps are read once.
  auto picture = std::make_shared<PanelPicture>(pictureSettings);
  return [picture](PanelView& view, const std::string& pngPath) {
    ReaderValues values(view.elements);
    std::vector<PicturePlacement> placements;
    for (const PlacedGauge& placed : view.gauges) {
      const GaugePlacement& at = *placed.placement;
      placements.push_back(PicturePlacement{placed.header, placed.module->path(), at.x, at.y,
                                            at.width, at.height,
                                            at.file + ":" + std::to_string(at.line)});
    }
    try {
      picture->render({view.layout.widthPx, view.layout.heightPx}, placements, values, pngPath);
    } catch (const RenderError& failure) {
      throw HostError(failure.what());
    }
  };
}

}  // namespace panelhost
