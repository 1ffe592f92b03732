// What `render FILE.png` and `panelhost render` need in one piece: each module's bitmaps, loaded
// once from the resource script beside the module (or in the --resources folder), and the panel
// drawn from the placed gauges and written as PNG.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "loader/module_image.h"
#include "panel/panel_file.h"
#include "render/bitmap_library.h"
#include "render/element_values.h"
#include "render/frame_painter.h"
#include "render/gauge_renderer.h"
#include "render/image.h"
#include "render/png_writer.h"
#include "render/text_painter.h"

namespace panelhost {

// Beyond this a panel picture would take gigabytes.
constexpr int kLargestPanelPx = 8192;

struct PictureSettings {
  // --resources DIR; otherwise the folder of each module. The script is MODULE.rc there.
  std::optional<std::filesystem::path> resourcesFolder;
  RenderOptions options;  // --lights on|off
  FontFiles fonts = FontFiles::system();
};

// A gauge to draw where a panel file line puts it.
struct PicturePlacement {
  const GaugePlacement* at = nullptr;  // the line: where, how large, and where it stands
  const GaugeRecord* gauge = nullptr;
  ElementValues* values = nullptr;   // its module's callbacks
  std::filesystem::path moduleFile;  // the loaded module (radios.so), which names its script
  // The module itself, when it carries its bitmaps inside (the emulated .gau); they are drawn
  // from there rather than from a resource script beside it.
  const ModuleImage* image = nullptr;
};

class PanelPicture {
 public:
  explicit PanelPicture(PictureSettings settings)
      : settings_(std::move(settings)), frame_(settings_.fonts) {}

  // The resource script that serves `moduleFile`.
  std::filesystem::path scriptFor(const std::filesystem::path& moduleFile) const;

  // Where each placed gauge lands on the panel, in panel order: valid until the next call or
  // draw. Loads the bitmaps of each gauge's module and checks its tree against them, so that a
  // bad bitmap shows before anything is drawn. Throws RenderError.
  const std::vector<GaugeOnPanel>& layOut(const std::vector<PicturePlacement>& placements);

  // The panel as it stands now (element callbacks called now through each placement's values),
  // into a frame kept for the next picture: valid until the next draw.
  const Image& draw(Size panelSize, const std::vector<PicturePlacement>& placements);
  // draw, then written to `png`. Throws RenderError naming what failed.
  void render(Size panelSize, const std::vector<PicturePlacement>& placements,
              const std::filesystem::path& png) {
    write(draw(panelSize, placements), png);
  }
  // A picture written to `png` with the room kept from the last. Throws RenderError.
  void write(const Image& picture, const std::filesystem::path& png) { png_.write(picture, png); }

 private:
  // The panel as large as the laid-out gauges reach, for a panel file that gives no size.
  Size extentOf(const std::vector<PicturePlacement>& placements) const;
  const BitmapLibrary& bitmapsFor(const PicturePlacement& placement);

  PictureSettings settings_;
  std::map<std::filesystem::path, BitmapLibrary> libraries_;  // by resource script
  std::map<std::filesystem::path, BitmapLibrary> carried_;    // by module, from its resources
  FramePainter frame_;                                        // fonts and glyphs, frame, layer
  std::vector<GaugeOnPanel> gauges_;                          // this picture's, room kept
  PngWriter png_;                                             // its room kept too
};

}  // namespace panelhost
