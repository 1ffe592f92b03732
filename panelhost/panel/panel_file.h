// Panel files in the INI shape panel designers know:
//
//   [Window00]
//   size_mm=417,439
//   gauge00=radios!Com1Nav1, 0, 0, 417
//
// gaugeNN=MODULE!GAUGE, x, y[, width[, height]] places a gauge; size_mm gives the panel's size in
// pixels. Every [WindowNN] section is read, and one of them is the panel. A key or section that
// stands twice is reported, and the first kept. Other keys and sections are ignored.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace panelhost {

struct GaugePlacement {
  std::string moduleName;  // file name without extension
  std::string gaugeName;
  int x = 0;
  int y = 0;
  int width = 0;   // 0: the gauge's own width
  int height = 0;  // 0: follows the width, keeping the gauge's aspect
  std::string file;
  int line = 0;  // where the placement stands, for messages
};

struct PanelLayout {
  std::string file;    // the file it was read from, or a name for the built-in panel
  std::string window;  // the section it was read from, "Window00"
  int widthPx = 0;
  int heightPx = 0;
  std::vector<GaugePlacement> placements;  // in file order
  // What whoever uses the panel tells the user: keys and sections that stand twice, and which
  // window it is when several place gauges.
  std::vector<std::string> notes;
};

// Reads panel text: the window named `window` (its section name, Window01 or [Window01], or its
// title in [Window Titles]), or else the first in the file that places gauges. Throws HostError
// naming `fileName`, the line and what was expected there.
PanelLayout parsePanelText(const std::string& text, const std::string& fileName,
                           const std::optional<std::string>& window = std::nullopt);
// Reads a panel file; a file that cannot be read is a HostError too.
PanelLayout readPanelFile(const std::string& path,
                          const std::optional<std::string>& window = std::nullopt);

// The built-in radio stack, the same text as panels/radio-stack.cfg.
const char* builtInPanelText();
PanelLayout builtInPanel(const std::optional<std::string>& window = std::nullopt);

}  // namespace panelhost
