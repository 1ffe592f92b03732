#include "render/image.h"

#include <stdexcept>

#include "render/pixel_runs.h"

namespace panelhost {

Image::Image(int width, int height, Rgba fill) : width_(width), height_(height) {
  if (width < 0 || height < 0) throw std::invalid_argument("Image: negative size");
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
}

void Image::reset(int width, int height, Rgba fill) {
  setSize(width, height);
  fillPixels(pixels_.data(), pixels_.size(), fill);
}

void Image::setSize(int width, int height) {
  if (width < 0 || height < 0) throw std::invalid_argument("Image: negative size");
  width_ = width;
  height_ = height;
  pixels_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
}

bool Image::opaque() const { return allOpaque(pixels_.data(), pixels_.size()); }

}  // namespace panelhost
