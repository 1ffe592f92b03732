// Any bytes given to the BMP reader are a picture of the size its header gives or a RenderError;
// nothing else.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "render/bmp_reader.h"
#include "render/render_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const panelhost::Image image =
        panelhost::decodeBmp(std::vector<std::uint8_t>(data, data + size), "fuzz.bmp");
    if (image.width() < 1 || image.height() < 1 ||
        image.pixels().size() !=
            static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height())) {
      std::abort();
    }
    for (const panelhost::Rgba& pixel : image.pixels()) {
      if (pixel.a != 255) std::abort();  // a bitmap read from a file is opaque
    }
  } catch (const panelhost::RenderError&) {
  }
  return 0;
}
