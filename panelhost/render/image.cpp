#include "render/image.h"

#include <stdexcept>

namespace panelhost {

Image::Image(int width, int height, Rgba fill) : width_(width), height_(height) {
  if (width < 0 || height < 0) throw std::invalid_argument("Image: negative size");
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

Rgba blendOver(Rgba dst, Rgba src) {
  if (src.a == 255) return src;
  if (src.a == 0) return dst;
  const int sa = src.a;
  const int da = dst.a * (255 - sa) / 255;
  const int outA = sa + da;
  auto channel = [&](int s, int d) {
    return static_cast<std::uint8_t>((s * sa + d * da + outA / 2) / outA);
  };
  return Rgba{channel(src.r, dst.r), channel(src.g, dst.g), channel(src.b, dst.b),
              static_cast<std::uint8_t>(outA)};
}

}  // namespace panelhost
