#include "art/art_output.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <utility>

#include "art/bitmap_file.h"

namespace art {
namespace {

namespace fs = std::filesystem;

void ensureDirectory(const fs::path& dir) {
  std::error_code error;
  fs::create_directories(dir, error);
  if (error || !fs::is_directory(dir)) {
    throw std::runtime_error("cannot create output directory '" + dir.string() +
                             "': " + error.message());
  }
}

std::string sizeText(int width, int height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

}  // namespace

ArtOutput::ArtOutput(std::string resourceDir, std::optional<std::string> previewDir)
    : resourceDir_(std::move(resourceDir)), previewDir_(std::move(previewDir)) {}

void ArtOutput::save(const BitmapRecord& bitmap, const Canvas& c, int frame) {
  const std::string id = std::to_string(bitmap.frameId(frame));
  if (frame < 0 || frame >= bitmap.frames) {
    throw std::runtime_error("bitmap " + id + ": frame " + std::to_string(frame) +
                             ", expected 0 to " + std::to_string(bitmap.frames - 1));
  }
  if (c.width() != bitmap.width || c.height() != bitmap.height) {
    throw std::runtime_error("bitmap " + id + ": canvas is " + sizeText(c.width(), c.height()) +
                             ", expected " + sizeText(bitmap.width, bitmap.height));
  }
  const fs::path bitmaps = fs::path(resourceDir_) / "bitmaps";
  ensureDirectory(bitmaps);
  const std::string bmp = (bitmaps / (id + ".bmp")).string();
  if (bitmap.bitsPerPixel == 8) {
    writeBmp8(bmp, c);
  } else if (bitmap.bitsPerPixel == 24) {
    writeBmp24(bmp, c);
  } else {
    throw std::runtime_error("bitmap " + id + ": " + std::to_string(bitmap.bitsPerPixel) +
                             " bits per pixel, expected 8 or 24");
  }
  if (previewDir_) {
    ensureDirectory(*previewDir_);
    writePng((fs::path(*previewDir_) / (id + ".png")).string(), c);
  }
  saved_.insert(bitmap.frameId(frame));
}

void ArtOutput::saveResourceScript(const std::vector<const BitmapRecord*>& table) {
  std::string script =
      "// The module's bitmaps, numbered as resources/bitmaps.h lists them. Written by radios-art\n"
      "// with the bitmaps themselves: run it again rather than edit this file.\n";
  std::set<std::uint32_t> listed;
  for (const BitmapRecord* bitmap : table) {
    for (int frame = 0; frame < bitmap->frames; ++frame) {
      const std::string id = std::to_string(bitmap->frameId(frame));
      if (saved_.count(bitmap->frameId(frame)) == 0) {
        throw std::runtime_error("bitmap " + id + ": in the table but never drawn");
      }
      listed.insert(bitmap->frameId(frame));
      script += id + " BITMAP \"bitmaps/" + id + ".bmp\"\n";
    }
  }
  for (std::uint32_t id : saved_) {
    if (listed.count(id) == 0) {
      throw std::runtime_error("bitmap " + std::to_string(id) + ": drawn but not in the table");
    }
  }
  ensureDirectory(resourceDir_);
  const fs::path file = fs::path(resourceDir_) / "bitmaps.rc";
  std::ofstream out(file, std::ios::binary);
  out << script;
  if (!out.flush()) throw std::runtime_error("cannot write '" + file.string() + "'");
}

}  // namespace art
