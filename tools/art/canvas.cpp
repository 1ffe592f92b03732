#include "art/canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace art {
namespace {

double clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }

uint8_t toByte(double v) {
  return static_cast<uint8_t>(std::lround(std::min(255.0, std::max(0.0, v))));
}

// Coverage of a pixel whose centre lies at signed distance sd from an edge (negative = inside).
// A one-pixel linear ramp is what makes edges look smooth without supersampling.
double coverage(double sd) { return clamp01(0.5 - sd); }

// Runs shade(px, py) for every pixel whose square touches [x0, x1] x [y0, y1], clipped; shade
// returns the pixel's coverage, which is used as the blend opacity.
template <typename Shade>
void paintBox(Canvas& canvas, double x0, double y0, double x1, double y1, Rgb c, Shade shade) {
  const int ix0 = std::max(0, static_cast<int>(std::floor(x0)));
  const int iy0 = std::max(0, static_cast<int>(std::floor(y0)));
  const int ix1 = std::min(canvas.width() - 1, static_cast<int>(std::ceil(x1)));
  const int iy1 = std::min(canvas.height() - 1, static_cast<int>(std::ceil(y1)));
  for (int y = iy0; y <= iy1; ++y) {
    for (int x = ix0; x <= ix1; ++x) {
      const double a = shade(x + 0.5, y + 0.5);
      if (a > 0.0) canvas.blend(x, y, c, a);
    }
  }
}

// Signed distance from p to a rounded box given by its centre, half extents and corner radius.
double roundedBoxDistance(double px, double py, double cx, double cy, double hx, double hy,
                          double radius) {
  const double qx = std::abs(px - cx) - hx + radius;
  const double qy = std::abs(py - cy) - hy + radius;
  const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
  const double inside = std::min(std::max(qx, qy), 0.0);
  return outside + inside - radius;
}

}  // namespace

Rgb mix(Rgb a, Rgb b, double t) {
  t = clamp01(t);
  return {toByte(a.r + (b.r - a.r) * t), toByte(a.g + (b.g - a.g) * t),
          toByte(a.b + (b.b - a.b) * t)};
}

Canvas::Canvas(int width, int height, Rgb fill) : width_(width), height_(height) {
  if (width < 0 || height < 0) {
    throw std::invalid_argument("canvas size " + std::to_string(width) + "x" +
                                std::to_string(height) + " is negative");
  }
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
}

Rgb Canvas::pixel(int x, int y) const {
  if (!inside(x, y)) return {0, 0, 0};
  return pixels_[static_cast<size_t>(y) * width_ + x];
}

void Canvas::setPixel(int x, int y, Rgb c) {
  if (inside(x, y)) pixels_[static_cast<size_t>(y) * width_ + x] = c;
}

void Canvas::blend(int x, int y, Rgb c, double alpha) {
  if (!inside(x, y)) return;
  Rgb& p = pixels_[static_cast<size_t>(y) * width_ + x];
  p = mix(p, c, alpha);
}

void Canvas::fillRect(int x, int y, int w, int h, Rgb c) {
  const int x0 = std::max(0, x), y0 = std::max(0, y);
  const int x1 = std::min(width_, x + std::max(0, w)), y1 = std::min(height_, y + std::max(0, h));
  for (int py = y0; py < y1; ++py) {
    std::fill(pixels_.begin() + static_cast<size_t>(py) * width_ + x0,
              pixels_.begin() + static_cast<size_t>(py) * width_ + x1, c);
  }
}

void Canvas::fillRoundedRect(int x, int y, int w, int h, double radius, Rgb c) {
  if (w <= 0 || h <= 0) return;
  const double hx = w / 2.0, hy = h / 2.0;
  const double r = std::min({std::max(0.0, radius), hx, hy});
  const double cx = x + hx, cy = y + hy;
  paintBox(*this, x, y, x + w - 1, y + h - 1, c, [&](double px, double py) {
    return coverage(roundedBoxDistance(px, py, cx, cy, hx, hy, r));
  });
}

void Canvas::strokeRoundedRect(int x, int y, int w, int h, double radius, double thickness, Rgb c) {
  if (w <= 0 || h <= 0 || thickness <= 0.0) return;
  const double hx = w / 2.0, hy = h / 2.0;
  const double r = std::min({std::max(0.0, radius), hx, hy});
  const double cx = x + hx, cy = y + hy;
  paintBox(*this, x, y, x + w - 1, y + h - 1, c, [&](double px, double py) {
    const double sd = roundedBoxDistance(px, py, cx, cy, hx, hy, r);
    return coverage(sd) - coverage(sd + thickness);
  });
}

void Canvas::verticalGradient(int x, int y, int w, int h, Rgb top, Rgb bottom) {
  for (int row = 0; row < h; ++row) {
    const double t = h > 1 ? static_cast<double>(row) / (h - 1) : 0.0;
    fillRect(x, y + row, w, 1, mix(top, bottom, t));
  }
}

void Canvas::fillCircle(double cx, double cy, double r, Rgb c) {
  if (r <= 0.0) return;
  paintBox(*this, cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1, c,
           [&](double px, double py) { return coverage(std::hypot(px - cx, py - cy) - r); });
}

void Canvas::fillRing(double cx, double cy, double rOuter, double rInner, Rgb c) {
  if (rOuter <= 0.0 || rInner >= rOuter) return;
  const double r = rOuter;
  paintBox(*this, cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1, c, [&](double px, double py) {
    const double d = std::hypot(px - cx, py - cy);
    return coverage(d - rOuter) * coverage(rInner - d);
  });
}

void Canvas::shadedDisc(double cx, double cy, double r, Rgb light, Rgb dark) {
  if (r <= 0.0) return;
  const int x0 = static_cast<int>(std::floor(cx - r - 1)),
            x1 = static_cast<int>(std::ceil(cx + r + 1));
  const int y0 = static_cast<int>(std::floor(cy - r - 1)),
            y1 = static_cast<int>(std::ceil(cy + r + 1));
  // The highlight sits up and to the left of centre, where a light above the panel would glint.
  const double hx = cx - 0.38 * r, hy = cy - 0.42 * r;
  const Rgb white{255, 255, 255};
  for (int y = std::max(0, y0); y <= std::min(height_ - 1, y1); ++y) {
    for (int x = std::max(0, x0); x <= std::min(width_ - 1, x1); ++x) {
      const double px = x + 0.5, py = y + 0.5;
      const double edge = coverage(std::hypot(px - cx, py - cy) - r);
      if (edge <= 0.0) continue;
      // Project onto the top-left to bottom-right diagonal: -1 at the lit side, +1 in shadow.
      const double along = ((px - cx) + (py - cy)) / (r * std::sqrt(2.0));
      Rgb shade = mix(light, dark, 0.5 + 0.5 * along);
      const double glintDistance = std::hypot(px - hx, py - hy) / r;
      shade = mix(shade, white, 0.35 * std::exp(-glintDistance * glintDistance * 9.0));
      blend(x, y, shade, edge);
    }
  }
}

void Canvas::line(double x0, double y0, double x1, double y1, double thickness, Rgb c) {
  if (thickness <= 0.0) return;
  const double half = thickness / 2.0;
  const double dx = x1 - x0, dy = y1 - y0;
  const double lengthSquared = dx * dx + dy * dy;
  paintBox(*this, std::min(x0, x1) - half - 1, std::min(y0, y1) - half - 1,
           std::max(x0, x1) + half + 1, std::max(y0, y1) + half + 1, c, [&](double px, double py) {
             const double t = lengthSquared > 0.0
                                  ? clamp01(((px - x0) * dx + (py - y0) * dy) / lengthSquared)
                                  : 0.0;
             const double d = std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
             // Hairlines thinner than a pixel fade out instead of vanishing.
             return std::min(thickness, coverage(d - half));
           });
}

void Canvas::blit(const Canvas& src, int x, int y) {
  for (int sy = 0; sy < src.height(); ++sy) {
    for (int sx = 0; sx < src.width(); ++sx) setPixel(x + sx, y + sy, src.pixel(sx, sy));
  }
}

}  // namespace art
