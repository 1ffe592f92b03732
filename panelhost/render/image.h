// A picture in memory: RGBA pixels, row by row from the top. Alpha is the "drawn" mask of a layer
// (0 where nothing was drawn); bitmaps read from files are opaque.
#pragma once

#include <cstdint>
#include <vector>

namespace panelhost {

struct Rgba {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 0;

  bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
  bool operator!=(const Rgba& o) const { return !(*this == o); }
};

// The transparent colour of bitmaps drawn with the transparency flag.
inline bool isPureBlack(Rgba p) { return p.r == 0 && p.g == 0 && p.b == 0; }

inline Rgba opaque(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return Rgba{r, g, b, 255}; }

// Puts `src` over `dst` by src's alpha (straight, not premultiplied). Inline: drawing calls it
// for every pixel of a glyph and of a layer put onto the panel.
inline Rgba blendOver(Rgba dst, Rgba src) {
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

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size& o) const { return width == o.width && height == o.height; }
  bool operator!=(const Size& o) const { return !(*this == o); }
};

class Image {
 public:
  Image() = default;
  Image(int width, int height, Rgba fill = {});

  int width() const { return width_; }
  int height() const { return height_; }
  Size size() const { return {width_, height_}; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  Rgba at(int x, int y) const { return pixels_[index(x, y)]; }
  void set(int x, int y, Rgba p) { pixels_[index(x, y)] = p; }
  // Ignores points outside the picture, so drawing clips at its edges.
  void put(int x, int y, Rgba p) {
    if (contains(x, y)) set(x, y, p);
  }
  void blend(int x, int y, Rgba p) {
    if (contains(x, y)) set(x, y, blendOver(at(x, y), p));
  }

  const std::vector<Rgba>& pixels() const { return pixels_; }
  // Row y, for drawing a run of pixels at a time.
  Rgba* row(int y) { return pixels_.data() + index(0, y); }
  const Rgba* row(int y) const { return pixels_.data() + index(0, y); }
  // Every pixel `fill`, at the size given; the storage is kept when it is large enough, so a
  // picture redrawn each frame is not allocated each frame.
  void reset(int width, int height, Rgba fill);
  // The same without the fill: what the pixels hold is left to the caller to draw over.
  void setSize(int width, int height);
  // No pixel is partly or wholly transparent.
  bool opaque() const;

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<Rgba> pixels_;
};

}  // namespace panelhost
