#include "art/art_output.h"

#include <filesystem>
#include <stdexcept>
#include <utility>

#include "art/bitmap_file.h"

namespace art {
namespace {

namespace fs = std::filesystem;

void ensureDirectory(const std::string& dir) {
  std::error_code error;
  fs::create_directories(dir, error);
  if (error || !fs::is_directory(dir)) {
    throw std::runtime_error("cannot create output directory '" + dir + "': " + error.message());
  }
}

}  // namespace

ArtOutput::ArtOutput(std::string bitmapDir, std::optional<std::string> previewDir)
    : bitmapDir_(std::move(bitmapDir)), previewDir_(std::move(previewDir)) {}

void ArtOutput::save(int resourceId, const Canvas& c, Depth depth) {
  const std::string id = std::to_string(resourceId);
  if (c.width() <= 0 || c.height() <= 0) {
    throw std::runtime_error("bitmap " + id + ": canvas is " + std::to_string(c.width()) + "x" +
                             std::to_string(c.height()) + ", expected width and height > 0");
  }
  ensureDirectory(bitmapDir_);
  const std::string bmp = (fs::path(bitmapDir_) / (id + ".bmp")).string();
  if (depth == Depth::Paletted8) {
    writeBmp8(bmp, c);
  } else {
    writeBmp24(bmp, c);
  }
  if (previewDir_) {
    ensureDirectory(*previewDir_);
    writePng((fs::path(*previewDir_) / (id + ".png")).string(), c);
  }
}

}  // namespace art
