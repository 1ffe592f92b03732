#include "view/status_strip.h"

#include <algorithm>
#include <cstdio>

#include "sim/radio_tables.h"

namespace panelhost {

namespace {

constexpr int kMargin = 8;
constexpr int kTextHeight = 15;  // of a line's box; the figures fill all but a pixel of it
const Rgba kStripGround = opaque(24, 24, 28);
const Rgba kStripInk = opaque(220, 220, 210);
const Rgba kTooltipGround = opaque(255, 255, 225);
const Rgba kTooltipEdge = opaque(90, 90, 90);
const Rgba kTooltipInk = opaque(0, 0, 0);

std::string seconds(std::int64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%03lld s", static_cast<long long>(ms / 1000),
                static_cast<long long>(ms % 1000));
  return text;
}

std::string eventLine(const KeyEventRecord& event) {
  char text[48];
  std::snprintf(text, sizeof text, "%u 0x%08X ", event.eventId, event.value);
  return seconds(event.timeMs) + "  " + text +
         RadioSimulation::describeKeyEvent(event.eventId, event.value);
}

void fill(Image& image, int x, int y, int width, int height, Rgba colour) {
  for (int row = y; row < y + height; ++row) {
    for (int column = x; column < x + width; ++column) image.put(column, row, colour);
  }
}

TextStyle plain(Rgba colour) { return TextStyle{"DejaVu Sans", 400, colour, 0}; }

}  // namespace

std::vector<std::string> stripLines(const RadioSimState& state,
                                    const std::deque<KeyEventRecord>& latest, std::uint64_t sent,
                                    const StripStatus& status, int lineCount) {
  std::vector<std::string> lines;
  for (const SimKey& key : simKeys()) {
    const std::string part = withValue(key.strip, simValueText(state, key));
    if (part[0] == ' ' && !lines.empty()) {
      lines.back() += part;
    } else {
      lines.push_back(part);
    }
  }
  lines.push_back("");
  lines.push_back(seconds(status.nowMs) + "   panel lights " + (status.panelLights ? "on" : "off"));
  if (!status.recording.empty()) lines.push_back("recording " + status.recording);
  lines.push_back("key events, the latest last (" + std::to_string(sent) + " in all):");
  const std::vector<std::string> keys = {"", "L lights   S screenshot   Q quit"};
  const int room = lineCount - static_cast<int>(lines.size() + keys.size());
  const std::size_t shown = static_cast<std::size_t>(std::max(0, room));
  const std::size_t first = latest.size() > shown ? latest.size() - shown : 0;
  for (std::size_t i = first; i < latest.size(); ++i) lines.push_back(eventLine(latest[i]));
  for (int i = static_cast<int>(latest.size() - first); i < room; ++i) lines.push_back("");
  lines.insert(lines.end(), keys.begin(), keys.end());
  if (static_cast<int>(lines.size()) > lineCount) lines.resize(std::max(0, lineCount));
  return lines;
}

void StripPainter::drawStrip(Image& window, int left, const std::vector<std::string>& lines) {
  fill(window, left, 0, window.width() - left, window.height(), kStripGround);
  const int width = window.width() - left - 2 * kMargin;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int top = kMargin / 2 + static_cast<int>(i) * kStripLineHeight;
    text_.draw(window, TextBox{left + kMargin, top, width, kTextHeight}, lines[i],
               plain(kStripInk));
  }
}

void StripPainter::drawTooltip(Image& window, int x, int y, const std::string& text) {
  // An estimate of the text's width; the painter narrows a text that would not fit its box.
  const int width = static_cast<int>(text.size()) * 8 + 2 * kMargin;
  const int height = kTextHeight + 6;
  const int left = std::max(0, std::min(x, window.width() - width));
  const int top = std::max(0, std::min(y, window.height() - height));
  fill(window, left, top, width, height, kTooltipEdge);
  fill(window, left + 1, top + 1, width - 2, height - 2, kTooltipGround);
  text_.draw(window, TextBox{left + kMargin, top + 3, width - 2 * kMargin, kTextHeight}, text,
             plain(kTooltipInk));
}

}  // namespace panelhost
