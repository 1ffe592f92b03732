#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "art/canvas.h"

namespace art {

// A canvas reduced to at most 256 colours. Entry 0 is always pure black and only pure black
// pixels use it, because the simulator treats (0,0,0) as transparent: a dark grey that drifted
// to black during quantisation would punch a hole in the panel.
struct IndexedImage {
  int width = 0;
  int height = 0;
  std::array<Rgb, 256> palette{};
  int usedEntries = 1;           // entries [0, usedEntries) are meaningful
  std::vector<uint8_t> indices;  // row-major, top row first
};

// Exact when the canvas has at most 255 colours besides black, otherwise a weighted median cut.
// Deterministic: the same canvas always gives the same palette and indices.
IndexedImage quantise(const Canvas& canvas);

}  // namespace art
