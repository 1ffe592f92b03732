#include "render/gauge_renderer.h"

#include <cmath>
#include <cstring>
#include <sstream>

#include "abi/host_layouts.h"
#include "abi/record_decoder.h"
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
                 Image& layer, const RenderOptions& options)
      : bitmaps_(bitmaps), values_(values), painter_(painter), layer_(layer), options_(options) {}

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

 private:
  Rgba shade(Rgba p) const {
    if (lit_) return p;
    auto dim = [](std::uint8_t c) {
      return static_cast<std::uint8_t>(std::lround(c * kUnlitShare));
    };
    return Rgba{dim(p.r), dim(p.g), dim(p.b), p.a};
  }

  void drawBitmap(const Image& bitmap, hostabi::Point at, bool transparent) {
    for (int y = 0; y < bitmap.height(); ++y) {
      for (int x = 0; x < bitmap.width(); ++x) {
        const Rgba p = bitmap.at(x, y);
        if (transparent && isPureBlack(p)) continue;
        layer_.put(at.x + x, at.y + y, shade(p));
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
    for (int y = 0; y < window.height(); ++y) {
      for (int x = 0; x < window.width(); ++x) {
        if (isPureBlack(window.at(x, y))) continue;
        if (!strip.contains(offsetX + x, offsetY + y)) continue;
        const Rgba p = strip.at(offsetX + x, offsetY + y);
        if (transparent && isPureBlack(p)) continue;
        layer_.put(element.position.x + x, element.position.y + y, shade(p));
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
      for (int y = box.y; y < box.y + box.height; ++y) {
        for (int x = box.x; x < box.x + box.width; ++x) layer_.put(x, y, shade(background));
      }
    }
    const std::string text = values_.text(element);
    TextStyle style;
    style.face = t.fontName;
    style.weight = t.fontWeight;
    style.colour = shade(fromColorref(t.foreground));
    style.drawTextFlags = t.drawTextFlags;
    painter_.draw(layer_, box, text, style);
  }

  const BitmapLibrary& bitmaps_;
  ElementValues& values_;
  TextPainter& painter_;
  Image& layer_;
  const RenderOptions& options_;
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
    const std::string where = describeElement(gauge, index++, element);
    auto need = [&](std::uint32_t id) -> const Image& {
      if (!bitmaps.contains(id)) {
        throw RenderError(where + ": " + bitmaps.missing(id));
      }
      return bitmaps.image(id);
    };
    auto fail = [&](std::uint32_t id, const std::string& what) {
      throw RenderError(where + ": " + bitmaps.describe(id) + ": " + what);
    };
    switch (element.kind) {
      case hostabi::kStaticImage:
        need(element.resourceId);
        break;
      case hostabi::kString: {
        const TextFields& text = element.text;
        if (text.box.x <= 0 || text.box.y <= 0) {
          throw RenderError(where + ": text box " + std::to_string(text.box.x) + " x " +
                            std::to_string(text.box.y) + "; expected a positive size");
        }
        break;
      }
      case hostabi::kIcon: {
        const IconFields& icon = element.icon;
        if (icon.frames < 1) {
          throw RenderError(where + ": " + std::to_string(icon.frames) +
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
          throw RenderError(where + ": ranges x " + std::to_string(moving.minX) + ".." +
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
        throw RenderError(where + ": element kind " + std::to_string(element.kind) +
                          "; expected 0, 2, 4 or 5");
    }
  }
}

Size GaugeRenderer::gaugeSize(const GaugeRecord& gauge) const {
  return gaugeOwnSize(gauge, bitmaps_);
}

void GaugeRenderer::check(const GaugeRecord& gauge) const { checkGauge(gauge, bitmaps_); }

Image GaugeRenderer::draw(const GaugeRecord& gauge, const RenderOptions& options) {
  const Size size = gaugeSize(gauge);
  Image layer(size.width, size.height);
  ElementPainter painter(bitmaps_, values_, painter_, layer, options);
  for (const ElementRecord& element : gauge.tree.elements) painter.draw(element);
  return layer;
}

}  // namespace panelhost
