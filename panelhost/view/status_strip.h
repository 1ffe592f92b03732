// The strip beside the panel: what the simulation holds and the key events the radios sent
// last, and the tooltip box over the panel; text lines drawn with the renderer's text painter.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "render/image.h"
#include "render/text_painter.h"
#include "services/host_services.h"
#include "sim/radio_simulation.h"

namespace panelhost {

struct StripStatus {
  std::int64_t nowMs = 0;
  bool panelLights = false;
  std::string recording;  // the scenario being recorded, or ""
};

constexpr int kStripWidth = 400;
constexpr int kStripLineHeight = 18;

// The strip's text, `lineCount` lines at most: the simulation first, then as many of the latest
// key events as fit, each with its value in hex and what it means, then the keys. `sent` counts
// every event since start, those the host no longer keeps too.
std::vector<std::string> stripLines(const RadioSimState& state,
                                    const std::deque<KeyEventRecord>& latest, std::uint64_t sent,
                                    const StripStatus& status, int lineCount);

class StripPainter {
 public:
  explicit StripPainter(FontFiles fonts = FontFiles::system()) : text_(std::move(fonts)) {}

  // Draws the lines into the strip, whose left edge is at `left` of `window`.
  void drawStrip(Image& window, int left, const std::vector<std::string>& lines);
  // A tooltip box with its top left corner near (x, y), kept inside the window.
  void drawTooltip(Image& window, int x, int y, const std::string& text);

 private:
  TextPainter text_;
};

}  // namespace panelhost
