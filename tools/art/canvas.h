#pragma once

#include <cstdint>
#include <vector>

namespace art {

struct Rgb {
  uint8_t r, g, b;
};

inline bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
inline bool operator!=(Rgb a, Rgb b) { return !(a == b); }

// Linear mix: t = 0 gives a, t = 1 gives b (t is clamped).
Rgb mix(Rgb a, Rgb b, double t);

// An RGB raster with anti-aliased drawing primitives. Coordinates are in pixels; pixel (x, y)
// covers the square [x, x+1) x [y, y+1), so its centre is (x + 0.5, y + 0.5).
class Canvas {
 public:
  // Throws std::invalid_argument for a negative size.
  Canvas(int width, int height, Rgb fill);

  int width() const { return width_; }
  int height() const { return height_; }

  // Out of range: returns black.
  Rgb pixel(int x, int y) const;
  // Out of range: ignored.
  void setPixel(int x, int y, Rgb c);
  // Paints c over the existing pixel with opacity alpha (clamped to 0..1); out of range ignored.
  void blend(int x, int y, Rgb c, double alpha);

  void fillRect(int x, int y, int w, int h, Rgb c);
  void fillRoundedRect(int x, int y, int w, int h, double radius, Rgb c);
  // The stroke lies inside the rectangle, so it never grows the shape's footprint.
  void strokeRoundedRect(int x, int y, int w, int h, double radius, double thickness, Rgb c);
  // The top row is exactly `top` and the bottom row exactly `bottom`.
  void verticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom);
  void fillCircle(double cx, double cy, double r, Rgb c);
  void fillRing(double cx, double cy, double rOuter, double rInner, Rgb c);
  // A dome lit from the top-left: `light` towards the top-left, `dark` towards the bottom-right,
  // with a soft glint of light, as on a machined knob face.
  void shadedDisc(double cx, double cy, double r, Rgb light, Rgb dark);
  // Round-capped, anti-aliased.
  void line(double x0, double y0, double x1, double y1, double thickness, Rgb c);
  // Copies src with its top-left corner at (x, y), clipped to this canvas.
  void blit(const Canvas& src, int x, int y);

 private:
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  int width_;
  int height_;
  std::vector<Rgb> pixels_;
};

}  // namespace art
