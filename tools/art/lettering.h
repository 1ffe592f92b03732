#pragma once

#include <string>

#include "art/canvas.h"

namespace art {

enum class Align { Left, Center, Right };
enum class Weight { Regular, Bold };

// Draws UTF-8 text with its baseline at baselineY; x is the left edge, centre or right edge per
// align. pixelHeight is the font's pixel size (em height). Glyph edges are anti-aliased and
// blended over what is already on the canvas. Throws std::runtime_error if the fonts are missing
// and std::invalid_argument for a pixelHeight <= 0.
void drawText(Canvas& canvas, const std::string& text, int x, int baselineY, int pixelHeight,
              Rgb colour, Align align = Align::Left, Weight weight = Weight::Bold);

// Advance width of the text in pixels: where the pen ends up, which is what alignment uses.
int textWidth(const std::string& text, int pixelHeight, Weight weight = Weight::Bold);

// Height of capital letters above the baseline, in pixels, for centring labels vertically.
int capHeight(int pixelHeight, Weight weight = Weight::Bold);

}  // namespace art
