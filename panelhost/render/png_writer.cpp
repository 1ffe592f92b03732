#include "render/png_writer.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "render/render_error.h"

namespace panelhost {

void writePng(const Image& image, const std::filesystem::path& file) {
  if (image.width() == 0 || image.height() == 0) {
    throw RenderError(file.string() + ": cannot write an empty picture");
  }
  const bool allOpaque =
      std::all_of(image.pixels().begin(), image.pixels().end(), [](Rgba p) { return p.a == 255; });
  const int channels = allOpaque ? 3 : 4;
  std::vector<png_byte> bytes;
  bytes.reserve(image.pixels().size() * static_cast<std::size_t>(channels));
  for (const Rgba& p : image.pixels()) {
    bytes.insert(bytes.end(), {p.r, p.g, p.b});
    if (!allOpaque) bytes.push_back(p.a);
  }

  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(image.width());
  png.height = static_cast<png_uint_32>(image.height());
  png.format = allOpaque ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
  if (png_image_write_to_file(&png, file.string().c_str(), 0, bytes.data(), 0, nullptr) == 0) {
    const std::string reason = png.message;
    png_image_free(&png);
    throw RenderError(file.string() + ": cannot write the PNG file (" + reason + ")");
  }
}

Image readPng(const std::filesystem::path& file) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&png, file.string().c_str()) == 0) {
    const std::string reason = png.message;
    png_image_free(&png);
    throw RenderError(file.string() + ": cannot read the PNG file (" + reason + ")");
  }
  png.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> bytes(PNG_IMAGE_SIZE(png));
  if (png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr) == 0) {
    const std::string reason = png.message;
    png_image_free(&png);
    throw RenderError(file.string() + ": cannot read the PNG file (" + reason + ")");
  }
  Image image(static_cast<int>(png.width), static_cast<int>(png.height));
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const std::size_t at = (static_cast<std::size_t>(y) * png.width + x) * 4;
      image.set(x, y, Rgba{bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]});
    }
  }
  return image;
}

}  // namespace panelhost
