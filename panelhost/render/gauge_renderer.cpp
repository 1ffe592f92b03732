#include "render/gauge_renderer.h"

#include <cmath>
#include <cstring>
#include <sstream>

#include "panel/element_tree.h"
#include "render/render_error.h"

namespace panelhost {

namespace {

std::string gaugeName(const GAUGEHDR& gauge) {
  return gauge.gauge_name == nullptr ? std::string("(unnamed)") : std::string(gauge.gauge_name);
}

std::string describeElement(const GAUGEHDR& gauge, int index, const ELEMENT_HEADER& element) {
  std::ostringstream m;
  m << "gauge \"" << gaugeName(gauge) << "\", ";
  if (index == 0) {
    m << "root ";
  } else {
    m << "element " << index << " (";
  }
  m << elementKindName(&element) << " at " << element.position.x << ", " << element.position.y
    << (index == 0 ? "" : ")");
  return m.str();
}

std::string sizeText(Size s) { return std::to_string(s.width) + " x " + std::to_string(s.height); }

// Number of values a moving image's range holds: max - min + 1, counting whole steps.
long valuesInRange(double minimum, double maximum) { return std::lround(maximum - minimum) + 1; }

bool isTransparent(const ELEMENT_HEADER& e) {
  return (e.image_flags & IMAGE_USE_TRANSPARENCY) != 0;
}

class ElementPainter {
 public:
  ElementPainter(const BitmapLibrary& bitmaps, ElementValues& values, TextPainter& painter,
                 Image& layer, const RenderOptions& options)
      : bitmaps_(bitmaps), values_(values), painter_(painter), layer_(layer), options_(options) {}

  void draw(ELEMENT_HEADER& element) {
    lit_ = !options_.panelLights || (element.image_flags & IMAGE_USE_BRIGHT) != 0;
    switch (element.element_type) {
      case ELEMENT_TYPE_STATIC_IMAGE:
        drawBitmap(bitmaps_.image(element.resource_id), element.position, isTransparent(element));
        break;
      case ELEMENT_TYPE_ICON:
        drawIcon(static_cast<ELEMENT_ICON&>(element));
        break;
      case ELEMENT_TYPE_MOVING_IMAGE:
        drawMovingImage(static_cast<ELEMENT_MOVING_IMAGE&>(element));
        break;
      case ELEMENT_TYPE_STRING:
        drawText(static_cast<ELEMENT_STRING&>(element));
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

  void drawBitmap(const Image& bitmap, PIXPOINT at, bool transparent) {
    for (int y = 0; y < bitmap.height(); ++y) {
      for (int x = 0; x < bitmap.width(); ++x) {
        const Rgba p = bitmap.at(x, y);
        if (transparent && isPureBlack(p)) continue;
        layer_.put(at.x + x, at.y + y, shade(p));
      }
    }
  }

  void drawIcon(ELEMENT_ICON& icon) {
    const double value = values_.iconFrame(icon);
    if (!std::isfinite(value)) return;
    const long frame = std::lround(value);
    if (frame < 0 || frame >= icon.num_icons) return;
    drawBitmap(bitmaps_.image(icon.resource_id + static_cast<ID>(frame)), icon.position,
               isTransparent(icon));
  }

  // The strip shows through the window where the window is not pure black; value v brings the
  // cell v - minimum to the window's top edge.
  void drawMovingImage(ELEMENT_MOVING_IMAGE& element) {
    const double vx = values_.movingX(element);
    const double vy = values_.movingY(element);
    auto inRange = [](double v, double lo, double hi) {
      return std::isfinite(v) && v >= lo && v <= hi;
    };
    if (!inRange(vx, element.min_x, element.max_x) || !inRange(vy, element.min_y, element.max_y)) {
      return;
    }
    const Image& strip = bitmaps_.image(element.resource_id);
    const Image& window = bitmaps_.image(element.resource_id + 1);
    const long columns = valuesInRange(element.min_x, element.max_x);
    const long rows = valuesInRange(element.min_y, element.max_y);
    if (columns <= 0 || rows <= 0) return;
    const double cellWidth = static_cast<double>(strip.width()) / static_cast<double>(columns);
    const double cellHeight = static_cast<double>(strip.height()) / static_cast<double>(rows);
    const int offsetX = static_cast<int>(std::lround((vx - element.min_x) * cellWidth));
    const int offsetY = static_cast<int>(std::lround((vy - element.min_y) * cellHeight));
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

  static Rgba fromColorref(COLORREF_HOST c) {
    return opaque(static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
                  static_cast<std::uint8_t>((c >> 16) & 0xFF));
  }

  // The background fills the box unless it is the transparent colour of a transparent element,
  // which is how the displays let the dark window of the face plate show behind the figures.
  void drawText(ELEMENT_STRING& element) {
    const TextBox box{element.position.x, element.position.y, element.box_size.x,
                      element.box_size.y};
    const Rgba background = fromColorref(element.bg_color);
    if (!(isTransparent(element) && isPureBlack(background))) {
      for (int y = box.y; y < box.y + box.height; ++y) {
        for (int x = box.x; x < box.x + box.width; ++x) layer_.put(x, y, shade(background));
      }
    }
    const std::string text = values_.text(element);
    TextStyle style;
    style.face = std::string(element.font_face, strnlen(element.font_face, FONT_FACE_SIZE));
    style.weight = element.font_weight;
    style.colour = shade(fromColorref(element.fg_color));
    style.drawTextFlags = element.draw_text_flags;
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

Size gaugeOwnSize(const GAUGEHDR& gauge, const BitmapLibrary& bitmaps) {
  const ELEMENT_HEADER* root = rootElement(&gauge);
  if (root == nullptr) {
    throw RenderError("gauge \"" + gaugeName(gauge) + "\": its element list holds no root element");
  }
  if (root->element_type != ELEMENT_TYPE_STATIC_IMAGE) {
    throw RenderError(describeElement(gauge, 0, *root) + ": expected a static image as the root");
  }
  if (!bitmaps.contains(root->resource_id)) {
    throw RenderError(describeElement(gauge, 0, *root) + ": " + bitmaps.missing(root->resource_id));
  }
  return bitmaps.image(root->resource_id).size();
}

void checkGauge(const GAUGEHDR& gauge, const BitmapLibrary& bitmaps) {
  gaugeOwnSize(gauge, bitmaps);
  int index = 0;
  forEachElement(rootElement(&gauge), [&](ELEMENT_HEADER& element) {
    const std::string where = describeElement(gauge, index++, element);
    auto need = [&](ID id) -> const Image& {
      if (!bitmaps.contains(id)) {
        throw RenderError(where + ": " + bitmaps.missing(id));
      }
      return bitmaps.image(id);
    };
    auto fail = [&](ID id, const std::string& what) {
      throw RenderError(where + ": " + bitmaps.describe(id) + ": " + what);
    };
    switch (element.element_type) {
      case ELEMENT_TYPE_STATIC_IMAGE:
        need(element.resource_id);
        break;
      case ELEMENT_TYPE_STRING: {
        const auto& text = static_cast<const ELEMENT_STRING&>(element);
        if (text.box_size.x <= 0 || text.box_size.y <= 0) {
          throw RenderError(where + ": text box " + std::to_string(text.box_size.x) + " x " +
                            std::to_string(text.box_size.y) + "; expected a positive size");
        }
        break;
      }
      case ELEMENT_TYPE_ICON: {
        const auto& icon = static_cast<const ELEMENT_ICON&>(element);
        if (icon.num_icons < 1) {
          throw RenderError(where + ": " + std::to_string(icon.num_icons) +
                            " frames; expected at least 1");
        }
        const Size first = need(icon.resource_id).size();
        for (SINT32 frame = 1; frame < icon.num_icons; ++frame) {
          const ID id = icon.resource_id + static_cast<ID>(frame);
          const Size size = need(id).size();
          if (size != first) {
            fail(id, sizeText(size) + "; expected " + sizeText(first) + " like the first frame " +
                         std::to_string(icon.resource_id));
          }
        }
        break;
      }
      case ELEMENT_TYPE_MOVING_IMAGE: {
        const auto& moving = static_cast<const ELEMENT_MOVING_IMAGE&>(element);
        const Image& strip = need(moving.resource_id);
        const Image& window = need(moving.resource_id + 1);
        auto validRange = [](double lo, double hi) {
          return std::isfinite(lo) && std::isfinite(hi) && hi >= lo && hi - lo < 1e6;
        };
        if (!validRange(moving.min_x, moving.max_x) || !validRange(moving.min_y, moving.max_y)) {
          throw RenderError(where + ": ranges x " + std::to_string(moving.min_x) + ".." +
                            std::to_string(moving.max_x) + ", y " + std::to_string(moving.min_y) +
                            ".." + std::to_string(moving.max_y) +
                            "; expected each maximum at least its minimum");
        }
        const long columns = valuesInRange(moving.min_x, moving.max_x);
        const long rows = valuesInRange(moving.min_y, moving.max_y);
        if (strip.width() % columns != 0 || strip.height() % rows != 0) {
          fail(moving.resource_id,
               "strip of " + sizeText(strip.size()) + "; expected a whole number of cells, " +
                   std::to_string(columns) + " across and " + std::to_string(rows) + " down");
        }
        const Size cell{static_cast<int>(strip.width() / columns),
                        static_cast<int>(strip.height() / rows)};
        if (window.width() > cell.width || window.height() > cell.height) {
          fail(moving.resource_id + 1, "window of " + sizeText(window.size()) +
                                           "; expected at most one cell of its strip, " +
                                           sizeText(cell));
        }
        break;
      }
      default:
        throw RenderError(where + ": element kind " + std::to_string(element.element_type) +
                          "; expected 0, 2, 4 or 5");
    }
  });
}

Size GaugeRenderer::gaugeSize(const GAUGEHDR& gauge) const { return gaugeOwnSize(gauge, bitmaps_); }

void GaugeRenderer::check(const GAUGEHDR& gauge) const { checkGauge(gauge, bitmaps_); }

Image GaugeRenderer::draw(GAUGEHDR& gauge, const RenderOptions& options) {
  const Size size = gaugeSize(gauge);
  Image layer(size.width, size.height);
  ElementPainter painter(bitmaps_, values_, painter_, layer, options);
  forEachElement(rootElement(&gauge), [&](ELEMENT_HEADER& element) { painter.draw(element); });
  return layer;
}

}  // namespace panelhost
