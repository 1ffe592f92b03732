// Draws text elements with FreeType. The face "Quartz", a seven-segment face on the simulator's
// machines, is drawn with DSEG7 Classic; any other face with DejaVu Sans.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "render/canvas.h"
#include "render/image.h"

namespace panelhost {

struct FontFiles {
  std::filesystem::path sevenSegment;
  std::filesystem::path sevenSegmentBold;
  std::filesystem::path fallback;
  std::filesystem::path fallbackBold;

  // Where Debian's fonts-dseg and fonts-dejavu-core put them.
  static FontFiles system();
};

struct TextBox {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct TextStyle {
  std::string face;
  int weight = 400;
  Rgba colour;
  std::uint32_t drawTextFlags = 0;  // Windows DrawText: DT_CENTER 1, DT_RIGHT 2, DT_VCENTER 4,
                                    // DT_BOTTOM 8; left and top otherwise
};

class TextPainter {
 public:
  explicit TextPainter(FontFiles files = FontFiles::system());
  ~TextPainter();
  TextPainter(TextPainter&&) noexcept;
  TextPainter& operator=(TextPainter&&) noexcept;

  // Draws `text` into `box` of `canvas`, clipped to the box. The size is chosen so that a figure
  // fills the box's height (less a small margin), smaller if the text would not fit its width.
  // Each face is opened once and each glyph rendered once per size, then drawn from the cache.
  // Throws RenderError when the font file cannot be loaded.
  void draw(Canvas& canvas, const TextBox& box, const std::string& text, const TextStyle& style);
  // The same onto a whole picture.
  void draw(Image& layer, const TextBox& box, const std::string& text, const TextStyle& style);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace panelhost
