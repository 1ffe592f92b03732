#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <mutex>
#include <string>
#include <type_traits>

#include "art/lettering.h"

namespace art {

// Owns the FreeType library and the two DejaVu faces used for panel lettering. Faces carry a
// current pixel size, so callers hold lock() while they set a size and render.
class FontFaces {
 public:
  // Loaded on first use and kept for the life of the process, because opening a face is slow
  // and every bitmap needs lettering. Throws std::runtime_error naming a missing font file.
  static FontFaces& instance();

  FT_Face face(Weight weight) const {
    return weight == Weight::Bold ? bold_.get() : regular_.get();
  }
  std::unique_lock<std::mutex> lock() { return std::unique_lock<std::mutex>(mutex_); }

  FontFaces(const FontFaces&) = delete;
  FontFaces& operator=(const FontFaces&) = delete;

 private:
  struct LibraryDeleter {
    void operator()(FT_Library lib) const { FT_Done_FreeType(lib); }
  };
  struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
  };
  using Library = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter>;
  using Face = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

  FontFaces();
  static Face open(FT_Library lib, const std::string& path);

  // Declared before the faces so it is destroyed after them.
  Library library_;
  Face regular_;
  Face bold_;
  std::mutex mutex_;
};

}  // namespace art
