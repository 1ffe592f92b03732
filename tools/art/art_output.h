#pragma once

#include <optional>
#include <string>

#include "art/canvas.h"

namespace art {

enum class Depth { Paletted8, Rgb24 };

// Where generated bitmaps go: <bitmapDir>/<id>.bmp for the module, and optionally
// <previewDir>/<id>.png for people to look at. Both directories are created when missing.
class ArtOutput {
 public:
  ArtOutput(std::string bitmapDir, std::optional<std::string> previewDir);

  // Throws std::runtime_error naming the resource id and file on an empty canvas or a write
  // failure.
  void save(int resourceId, const Canvas& c, Depth depth = Depth::Paletted8);

 private:
  std::string bitmapDir_;
  std::optional<std::string> previewDir_;
};

}  // namespace art
