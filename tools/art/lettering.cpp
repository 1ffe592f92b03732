#include "art/lettering.h"

#include <stdexcept>
#include <vector>

#include "art/font_faces.h"

namespace art {
namespace {

// Malformed bytes become U+FFFD so a typo in a label shows up in the picture, not as a crash.
std::vector<char32_t> decodeUtf8(const std::string& text) {
  std::vector<char32_t> out;
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const int extra = lead < 0x80             ? 0
                      : (lead & 0xE0) == 0xC0 ? 1
                      : (lead & 0xF0) == 0xE0 ? 2
                      : (lead & 0xF8) == 0xF0 ? 3
                                              : -1;
    if (extra < 0 || i + extra >= text.size()) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    char32_t cp = extra == 0 ? lead : lead & (0x3F >> extra);
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      const auto cont = static_cast<unsigned char>(text[i + k]);
      ok = ok && (cont & 0xC0) == 0x80;
      cp = (cp << 6) | (cont & 0x3F);
    }
    out.push_back(ok ? cp : 0xFFFD);
    i += ok ? extra + 1 : 1;
  }
  return out;
}

void setSize(FT_Face face, int pixelHeight) {
  if (pixelHeight <= 0) {
    throw std::invalid_argument("lettering: pixel height " + std::to_string(pixelHeight) +
                                " must be > 0");
  }
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight)) != 0) {
    throw std::runtime_error("lettering: cannot set pixel height " + std::to_string(pixelHeight));
  }
}

// Walks the text laying out glyphs; visit(glyphSlot, penX) is called after each glyph is
// rendered, with the pen position in 26.6 fixed point. Returns the final pen position.
template <typename Visit>
long layout(FT_Face face, const std::vector<char32_t>& codepoints, bool render, Visit visit) {
  long pen = 0;
  FT_UInt previous = 0;
  const bool kerning = FT_HAS_KERNING(face);
  for (char32_t cp : codepoints) {
    const FT_UInt index = FT_Get_Char_Index(face, cp);
    if (kerning && previous != 0 && index != 0) {
      FT_Vector delta{0, 0};
      FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &delta);
      pen += delta.x;
    }
    if (FT_Load_Glyph(face, index, render ? FT_LOAD_RENDER : FT_LOAD_DEFAULT) != 0) {
      throw std::runtime_error("lettering: cannot load glyph U+" + std::to_string(cp));
    }
    visit(face->glyph, pen);
    pen += face->glyph->advance.x;
    previous = index;
  }
  return pen;
}

int toPixels(long fixed26_6) { return static_cast<int>((fixed26_6 + 32) >> 6); }

}  // namespace

int textWidth(const std::string& text, int pixelHeight, Weight weight) {
  FontFaces& faces = FontFaces::instance();
  auto guard = faces.lock();
  FT_Face face = faces.face(weight);
  setSize(face, pixelHeight);
  return toPixels(layout(face, decodeUtf8(text), false, [](FT_GlyphSlot, long) {}));
}

int capHeight(int pixelHeight, Weight weight) {
  FontFaces& faces = FontFaces::instance();
  auto guard = faces.lock();
  FT_Face face = faces.face(weight);
  setSize(face, pixelHeight);
  if (FT_Load_Char(face, 'H', FT_LOAD_DEFAULT) != 0) {
    throw std::runtime_error("lettering: cannot load glyph 'H'");
  }
  return toPixels(face->glyph->metrics.horiBearingY);
}

void drawText(Canvas& canvas, const std::string& text, int x, int baselineY, int pixelHeight,
              Rgb colour, Align align, Weight weight) {
  const auto codepoints = decodeUtf8(text);
  int left = x;
  if (align != Align::Left) {
    const int width = textWidth(text, pixelHeight, weight);
    left = align == Align::Center ? x - width / 2 : x - width;
  }
  FontFaces& faces = FontFaces::instance();
  auto guard = faces.lock();
  FT_Face face = faces.face(weight);
  setSize(face, pixelHeight);
  layout(face, codepoints, true, [&](FT_GlyphSlot glyph, long pen) {
    const FT_Bitmap& bitmap = glyph->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return;
    const double levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
    const int originX = left + toPixels(pen) + glyph->bitmap_left;
    const int originY = baselineY - glyph->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      const unsigned char* src = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
      for (unsigned col = 0; col < bitmap.width; ++col) {
        if (src[col] != 0) {
          canvas.blend(originX + static_cast<int>(col), originY + static_cast<int>(row), colour,
                       src[col] / levels);
        }
      }
    }
  });
}

}  // namespace art
