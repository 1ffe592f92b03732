// Panel files in the INI shape panel designers know:
//
//   [Window00]
//   size_mm=417,439
//   gauge00=radios!Com1Nav1, 0, 0, 417
//
// gaugeNN=MODULE!GAUGE, x, y[, width[, height]] places a gauge; size_mm gives the panel's size in
// pixels. Other keys and sections are ignored.
#pragma once

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
  std::string file;  // the file it was read from, or a name for the built-in panel
  int widthPx = 0;
  int heightPx = 0;
  std::vector<GaugePlacement> placements;  // in file order
};

// Reads panel text; throws HostError naming `fileName`, the line and what was expected there.
PanelLayout parsePanelText(const std::string& text, const std::string& fileName);
// Reads a panel file; a missing file is a HostError too.
PanelLayout readPanelFile(const std::string& path);

// The built-in radio stack, the same text as panels/radio-stack.cfg.
const char* builtInPanelText();
PanelLayout builtInPanel();

}  // namespace panelhost
