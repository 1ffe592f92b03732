#include "render/gauge_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

#include "abi/host_layouts.h"
#include "abi/record_decoder.h"
#include "render/canvas.h"
#include "render/pixel_runs.h"
#include "render/render_error.h"

namespace panelhost {

namespace {

constexpr std::uint32_t kTransparency = 0x1;
constexpr std::uint32_t kBright = 0x4;

std::string gaugeName(const GaugeRecord& gauge) {
  return gauge.name.empty() ? std::string("(unnamed)") : gauge.name;
}

std::string describeElement(const GaugeRecord& gauge, int index, const ElementRecord& element) {
  std::ostringstream m;
  m << "gauge \"" << gaugeName(gauge) << "\", ";
  if (index == 0) {
    m << "root ";
  } else {
    m << "element " << index << " (";
  }
  m << hostabi::elementKindName(element.kind) << " at " << element.position.x << ", "
    << element.position.y << (index == 0 ? "" : ")");
  return m.str();
}

std::string sizeText(Size s) { return std::to_string(s.width) + " x " + std::to_string(s.height); }

// Number of values a moving image's range holds: max - min + 1, counting whole steps.
long valuesInRange(double minimum, double maximum) { return std::lround(maximum - minimum) + 1; }

bool isTransparent(const ElementRecord& e) { return (e.imageFlags & kTransparency) != 0; }

class ElementPainter {
 public:
  ElementPainter(const BitmapLibrary& bitmaps, ElementValues& values, TextPainter& painter,
                 Canvas& canvas, const RenderOptions& options)
      : bitmaps_(bitmaps), values_(values), painter_(painter), canvas_(canvas), options_(options) {
    if (options.panelLights) {
      for (int c = 0; c < 256; ++c)
        dimmed_[c] = static_cast<std::uint8_t>(std::lround(c * kUnlitShare));
    }
  }

  void draw(const ElementRecord& element) {
    lit_ = !options_.panelLights || (element.imageFlags & kBright) != 0;
    switch (element.kind) {
      case hostabi::kStaticImage:
        drawBitmap(bitmaps_.image(element.resourceId), element.position, isTransparent(element));
        break;
      case hostabi::kIcon:
        drawIcon(element);
        break;
      case hostabi::kMovingImage:
        drawMovingImage(element);
        break;
      case hostabi::kString:
        drawText(element);
        break;
      default:
        break;
    }
  }

  // Makes every pixel of the canvas one where nothing was drawn, then draws the root; in one pass
  // when the root covers the canvas (as it does at (0, 0): the gauge's size is its root's).
  // `overBlack`: the canvas lies over opaque black, so a pixel the root leaves undrawn may be
  // that black already, outside the text boxes, the one place later drawing blends rather than
  // replaces; the caller settles the text boxes over the black afterwards.
  void clearWith(const ElementRecord& root, const std::vector<ElementRecord>& elements,
                 bool overBlack) {
    lit_ = !options_.panelLights || (root.imageFlags & kBright) != 0;
    if (rootCovers(root, bitmaps_, {canvas_.right(), canvas_.bottom()})) {
      const Image& bitmap = bitmaps_.image(root.resourceId);
      const bool transparent = isTransparent(root);
      const Clip all{canvas_.left(), canvas_.top(), canvas_.right(), canvas_.bottom()};
      drawBitmap(bitmap, root.position, transparent, overBlack ? kMakeBlack : kMakeUndrawn, all);
      if (!overBlack || !transparent) return;
      for (const ElementRecord& element : elements) {
        if (element.kind != hostabi::kString) continue;
        const Clip box{element.position.x, element.position.y,
                       element.position.x + element.text.box.x,
                       element.position.y + element.text.box.y};
        drawBitmap(bitmap, root.position, transparent, kMakeUndrawn, box);
      }
      return;
    }
    for (int y = canvas_.top(); y < canvas_.bottom(); ++y) {
      if (canvas_.left() < canvas_.right()) {
        fillPixels(canvas_.at(canvas_.left(), y),
                   static_cast<std::size_t>(canvas_.right() - canvas_.left()), Rgba{});
      }
    }
    draw(root);
  }

 private:
  // What a transparent bitmap leaves where it is pure black.
  enum Undrawn { kLeaveAsIs, kMakeUndrawn, kMakeBlack };
  struct Clip {
    int left, top, right, bottom;
  };

  Rgba shade(Rgba p) const {
    if (lit_) return p;
    return Rgba{dimmed_[p.r], dimmed_[p.g], dimmed_[p.b], p.a};
  }

  void drawBitmap(const Image& bitmap, hostabi::Point at, bool transparent) {
    const Clip all{canvas_.left(), canvas_.top(), canvas_.right(), canvas_.bottom()};
    drawBitmap(bitmap, at, transparent, kLeaveAsIs, all);
  }

  // Row by row, clipped once (to the canvas and `clip`): a bitmap drawn lit is a copy of each
  // row, less its pure black when it is transparent.
  void drawBitmap(const Image& bitmap, hostabi::Point at, bool transparent, Undrawn undrawn,
                  Clip clip) {
    const int x0 = std::max({canvas_.left(), clip.left, at.x});
    const int x1 = std::min({canvas_.right(), clip.right, at.x + bitmap.width()});
    const int y0 = std::max({canvas_.top(), clip.top, at.y});
    const int y1 = std::min({canvas_.bottom(), clip.bottom, at.y + bitmap.height()});
    if (x0 >= x1) return;
    const auto count = static_cast<std::size_t>(x1 - x0);
    const Rgba black = undrawn == kMakeBlack ? opaque(0, 0, 0) : Rgba{};
    for (int y = y0; y < y1; ++y) {
      const Rgba* from = bitmap.row(y - at.y) + (x0 - at.x);
      Rgba* to = canvas_.at(x0, y);
      if (lit_ && !transparent) {
        std::memcpy(to, from, count * sizeof(Rgba));
      } else if (lit_ && undrawn == kLeaveAsIs) {
        copyUnlessBlack(to, from, count);
      } else if (lit_) {
        copyReplacingBlack(to, from, count, black);
      } else {
        for (std::size_t i = 0; i < count; ++i) {
          if (transparent && isPureBlack(from[i])) {
            if (undrawn != kLeaveAsIs) to[i] = black;
            continue;
          }
          to[i] = shade(from[i]);
        }
      }
    }
  }

  void drawIcon(const ElementRecord& icon) {
    const double value = values_.iconFrame(icon);
    if (!std::isfinite(value)) return;
    const long frame = std::lround(value);
    if (frame < 0 || frame >= icon.icon.frames) return;
    drawBitmap(bitmaps_.image(icon.resourceId + static_cast<std::uint32_t>(frame)), icon.position,
               isTransparent(icon));
  }

  // The strip shows through the window where the window is not pure black; value v brings the
  // cell v - minimum to the window's top edge.
  void drawMovingImage(const ElementRecord& element) {
    const MovingImageFields& m = element.moving;
    const double vx = values_.movingX(element);
    const double vy = values_.movingY(element);
    auto inRange = [](double v, double lo, double hi) {
      return std::isfinite(v) && v >= lo && v <= hi;
    };
    if (!inRange(vx, m.minX, m.maxX) || !inRange(vy, m.minY, m.maxY)) return;
    const Image& strip = bitmaps_.image(element.resourceId);
    const Image& window = bitmaps_.image(element.resourceId + 1);
    const long columns = valuesInRange(m.minX, m.maxX);
    const long rows = valuesInRange(m.minY, m.maxY);
    if (columns <= 0 || rows <= 0) return;
    const double cellWidth = static_cast<double>(strip.width()) / static_cast<double>(columns);
    const double cellHeight = static_cast<double>(strip.height()) / static_cast<double>(rows);
    const int offsetX = static_cast<int>(std::lround((vx - m.minX) * cellWidth));
    const int offsetY = static_cast<int>(std::lround((vy - m.minY) * cellHeight));
    const bool transparent = isTransparent(element);
    const hostabi::Point at = element.position;
    // Window pixels (x, y) that land on the canvas and show a pixel of the strip.
    const int x0 = std::max({0, canvas_.left() - at.x, -offsetX});
    const int x1 = std::min({window.width(), canvas_.right() - at.x, strip.width() - offsetX});
    const int y0 = std::max({0, canvas_.top() - at.y, -offsetY});
    const int y1 = std::min({window.height(), canvas_.bottom() - at.y, strip.height() - offsetY});
    for (int y = y0; y < y1; ++y) {
      const Rgba* through = window.row(y);
      const Rgba* from = strip.row(offsetY + y) + offsetX;
      Rgba* to = canvas_.at(at.x, at.y + y);
      for (int x = x0; x < x1; ++x) {
        if (isPureBlack(through[x])) continue;
        const Rgba p = from[x];
        if (transparent && isPureBlack(p)) continue;
        to[x] = shade(p);
      }
    }
  }

  static Rgba fromColorref(std::uint32_t c) {
    return opaque(static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
                  static_cast<std::uint8_t>((c >> 16) & 0xFF));
  }

  // The background fills the box unless it is the transparent colour of a transparent element,
  // which is how the displays let the dark window of the face plate show behind the figures.
  void drawText(const ElementRecord& element) {
    const TextFields& t = element.text;
    const TextBox box{element.position.x, element.position.y, t.box.x, t.box.y};
    const Rgba background = fromColorref(t.background);
    if (!(isTransparent(element) && isPureBlack(background))) {
      const Rgba fill = shade(background);
      const int x0 = std::max(canvas_.left(), box.x);
      const int x1 = std::min(canvas_.right(), box.x + box.width);
      for (int y = std::max(canvas_.top(), box.y);
           y < std::min(canvas_.bottom(), box.y + box.height); ++y) {
        if (x0 < x1) std::fill(canvas_.at(x0, y), canvas_.at(x0, y) + (x1 - x0), fill);
      }
    }
    const std::string text = values_.text(element);
    TextStyle style;
    style.face = t.fontName;
    style.weight = t.fontWeight;
    style.colour = shade(fromColorref(t.foreground));
    style.drawTextFlags = t.drawTextFlags;
    painter_.draw(canvas_, box, text, style);
  }

  const BitmapLibrary& bitmaps_;
  ElementValues& values_;
  TextPainter& painter_;
  Canvas& canvas_;
  const RenderOptions& options_;
  std::uint8_t dimmed_[256] = {};
  bool lit_ = true;
};

}  // namespace

Size gaugeOwnSize(const GaugeRecord& gauge, const BitmapLibrary& bitmaps) {
  const ElementRecord* root = gauge.tree.root();
  if (root == nullptr) {
    throw RenderError("gauge \"" + gaugeName(gauge) + "\": its element list holds no root element");
  }
  if (root->kind != hostabi::kStaticImage) {
    throw RenderError(describeElement(gauge, 0, *root) + ": expected a static image as the root");
  }
  if (!bitmaps.contains(root->resourceId)) {
    throw RenderError(describeElement(gauge, 0, *root) + ": " + bitmaps.missing(root->resourceId));
  }
  return bitmaps.image(root->resourceId).size();
}

void checkGauge(const GaugeRecord& gauge, const BitmapLibrary& bitmaps) {
  gaugeOwnSize(gauge, bitmaps);
  int index = 0;
  for (const ElementRecord& element : gauge.tree.elements) {
    // Described only when something is wrong: a panel is checked before every picture.
    const int at = index++;
    auto where = [&] { return describeElement(gauge, at, element); };
    auto need = [&](std::uint32_t id) -> const Image& {
      if (!bitmaps.contains(id)) {
        throw RenderError(where() + ": " + bitmaps.missing(id));
      }
      return bitmaps.image(id);
    };
    auto fail = [&](std::uint32_t id, const std::string& what) {
      throw RenderError(where() + ": " + bitmaps.describe(id) + ": " + what);
    };
    switch (element.kind) {
      case hostabi::kStaticImage:
        need(element.resourceId);
        break;
      case hostabi::kString: {
        const TextFields& text = element.text;
        if (text.box.x <= 0 || text.box.y <= 0) {
          throw RenderError(where() + ": text box " + std::to_string(text.box.x) + " x " +
                            std::to_string(text.box.y) + "; expected a positive size");
        }
        break;
      }
      case hostabi::kIcon: {
        const IconFields& icon = element.icon;
        if (icon.frames < 1) {
          throw RenderError(where() + ": " + std::to_string(icon.frames) +
                            " frames; expected at least 1");
        }
        const Size first = need(element.resourceId).size();
        for (std::int32_t frame = 1; frame < icon.frames; ++frame) {
          const std::uint32_t id = element.resourceId + static_cast<std::uint32_t>(frame);
          const Size size = need(id).size();
          if (size != first) {
            fail(id, sizeText(size) + "; expected " + sizeText(first) + " like the first frame " +
                         std::to_string(element.resourceId));
          }
        }
        break;
      }
      case hostabi::kMovingImage: {
        const MovingImageFields& moving = element.moving;
        const Image& strip = need(element.resourceId);
        const Image& window = need(element.resourceId + 1);
        auto validRange = [](double lo, double hi) {
          return std::isfinite(lo) && std::isfinite(hi) && hi >= lo && hi - lo < 1e6;
        };
        if (!validRange(moving.minX, moving.maxX) || !validRange(moving.minY, moving.maxY)) {
          throw RenderError(where() + ": ranges x " + std::to_string(moving.minX) + ".." +
                            std::to_string(moving.maxX) + ", y " + std::to_string(moving.minY) +
                            ".." + std::to_string(moving.maxY) +
                            "; expected each maximum at least its minimum");
        }
        const long columns = valuesInRange(moving.minX, moving.maxX);
        const long rows = valuesInRange(moving.minY, moving.maxY);
        if (strip.width() % columns != 0 || strip.height() % rows != 0) {
          fail(element.resourceId,
               "strip of " + sizeText(strip.size()) + "; expected a whole number of cells, " +
                   std::to_string(columns) + " across and " + std::to_string(rows) + " down");
        }
        const Size cell{static_cast<int>(strip.width() / columns),
                        static_cast<int>(strip.height() / rows)};
        if (window.width() > cell.width || window.height() > cell.height) {
          fail(element.resourceId + 1, "window of " + sizeText(window.size()) +
                                           "; expected at most one cell of its strip, " +
                                           sizeText(cell));
        }
        break;
      }
      default:
        throw RenderError(where() + ": element kind " + std::to_string(element.kind) +
                          "; expected 0, 2, 4 or 5");
    }
  }
}

bool rootCovers(const ElementRecord& root, const BitmapLibrary& bitmaps, Size size) {
  if (root.kind != hostabi::kStaticImage || root.position.x != 0 || root.position.y != 0 ||
      !bitmaps.contains(root.resourceId)) {
    return false;
  }
  const Image& bitmap = bitmaps.image(root.resourceId);
  return bitmap.width() >= size.width && bitmap.height() >= size.height;
}

Size GaugeRenderer::gaugeSize(const GaugeRecord& gauge) const {
  return gaugeOwnSize(gauge, bitmaps_);
}

void GaugeRenderer::check(const GaugeRecord& gauge) const { checkGauge(gauge, bitmaps_); }

Image GaugeRenderer::draw(const GaugeRecord& gauge, const RenderOptions& options) {
  const Size size = gaugeSize(gauge);
  Image layer(size.width, size.height);
  Canvas canvas(layer, 0, 0, size);
  draw(gauge, options, canvas);
  return layer;
}

void GaugeRenderer::draw(const GaugeRecord& gauge, const RenderOptions& options, Canvas& canvas,
                         bool overBlack) {
  ElementPainter painter(bitmaps_, values_, painter_, canvas, options);
  const std::vector<ElementRecord>& elements = gauge.tree.elements;
  if (elements.empty()) return;
  painter.clearWith(
      elements.front(), elements,
      overBlack && rootCovers(elements.front(), bitmaps_, {canvas.right(), canvas.bottom()}));
  for (std::size_t i = 1; i < elements.size(); ++i) painter.draw(elements[i]);
}

}  // namespace panelhost
