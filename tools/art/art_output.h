#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "art/canvas.h"
#include "resources/bitmaps.h"

namespace art {

// Where generated bitmaps go: <resourceDir>/bitmaps/<id>.bmp for the module, beside them the
// resource script <resourceDir>/bitmaps.rc that numbers them, and optionally <previewDir>/<id>.png
// for people to look at. Directories are created when missing.
class ArtOutput {
 public:
  ArtOutput(std::string resourceDir, std::optional<std::string> previewDir);

  // Writes frame `frame` of `bitmap` in the record's depth. Throws std::runtime_error naming the
  // resource id when the canvas is not the record's size, the record has no such frame, or the
  // file cannot be written.
  void save(const BitmapRecord& bitmap, const Canvas& c, int frame = 0);

  // Writes the resource script: one line for every frame of `table`, in its order. Throws
  // std::runtime_error naming the id when a frame of the table was not saved or a saved bitmap is
  // not in the table.
  void saveResourceScript(const std::vector<const BitmapRecord*>& table);

 private:
  std::string resourceDir_;
  std::optional<std::string> previewDir_;
  std::set<std::uint32_t> saved_;
};

}  // namespace art
