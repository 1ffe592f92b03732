#include "art/font_faces.h"

#include <filesystem>
#include <stdexcept>

namespace art {
namespace {

const char* const kFontDir = "/usr/share/fonts/truetype/dejavu/";

}  // namespace

FontFaces& FontFaces::instance() {
  static FontFaces faces;
  return faces;
}

FontFaces::FontFaces() {
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) != 0) throw std::runtime_error("lettering: cannot start FreeType");
  library_.reset(lib);
  regular_ = open(lib, std::string(kFontDir) + "DejaVuSans.ttf");
  bold_ = open(lib, std::string(kFontDir) + "DejaVuSans-Bold.ttf");
}

FontFaces::Face FontFaces::open(FT_Library lib, const std::string& path) {
  if (!std::filesystem::is_regular_file(path)) {
    throw std::runtime_error("lettering: font file '" + path +
                             "' not found; expected the DejaVu fonts (Debian package "
                             "fonts-dejavu-core)");
  }
  FT_Face face = nullptr;
  if (FT_New_Face(lib, path.c_str(), 0, &face) != 0) {
    throw std::runtime_error("lettering: font file '" + path + "' is not a font FreeType can read");
  }
  return Face(face);
}

}  // namespace art
