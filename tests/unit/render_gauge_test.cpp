// Drawing gauges from element records, checked pixel by pixel against the bitmaps they come from.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>

#include "abi/host_layouts.h"
#include "render/frame_painter.h"
#include "render/gauge_renderer.h"
#include "render/png_writer.h"
#include "render/render_error.h"
#include "render_test_support.h"

using namespace panelhost;
using ::testing::HasSubstr;

namespace {

const Rgba kFace = opaque(90, 90, 90);
const Rgba kRed = opaque(195, 63, 61);  // COLORREF 0x003D3FC3
constexpr std::uint32_t kFaceId = 100;
constexpr int kFaceWidth = 120;
constexpr int kFaceHeight = 60;
constexpr std::uint32_t kTransparent = 0x1;
constexpr std::uint32_t kTransparentErase = 0x3;

// What the elements' callbacks would answer, set by each test.
struct StubValues : ElementValues {
  double frame = 0;
  double drum = 0;
  std::string shown;
  std::string text(const ElementRecord&) override { return shown; }
  double iconFrame(const ElementRecord&) override { return frame; }
  double movingX(const ElementRecord&) override { return 0; }
  double movingY(const ElementRecord&) override { return drum; }
};

ElementRecord element(std::uint32_t kind, std::uint32_t id, int x, int y, std::uint32_t flags) {
  ElementRecord e;
  e.kind = kind;
  e.resourceId = id;
  e.position = {x, y};
  e.imageFlags = flags;
  e.depth = 1;
  return e;
}

ElementRecord icon(std::uint32_t id, int frames, int x, int y, std::uint32_t flags) {
  ElementRecord e = element(panelhost::hostabi::kIcon, id, x, y, flags);
  e.icon.frames = frames;
  e.icon.callback = 1;
  return e;
}

ElementRecord drum(std::uint32_t strip, int x, int y, double minY, double maxY) {
  ElementRecord e = element(panelhost::hostabi::kMovingImage, strip, x, y, kTransparentErase);
  e.moving.minY = minY;
  e.moving.maxY = maxY;
  return e;
}

ElementRecord display(int x, int y, std::uint32_t flags = 0x7) {
  ElementRecord e =
      element(panelhost::hostabi::kString, static_cast<std::uint32_t>(-1), x, y, flags);
  e.text.box = {78, 26};
  e.text.foreground = 0x003D3FC3;
  e.text.background = 0x00000000;
  e.text.highlight = 0x005C5C5C;
  e.text.fontName = "Quartz";
  e.text.fontWeight = 400;
  e.text.fontCharset = 1;
  e.text.fontSize = 37;
  e.text.drawTextFlags = 6;
  e.text.characters = 8;
  return e;
}

// A gauge of one face plate and the children a test gives it.
class GaugeDrawing : public ::testing::Test {
 protected:
  GaugeDrawing() {
    gauge.name = "Test";
    setChildren({});
    bitmaps.add(kFaceId, Image(kFaceWidth, kFaceHeight, kFace), "face.bmp");
  }

  void setChildren(std::vector<ElementRecord> children) {
    gauge.tree.elements.assign(
        1, element(panelhost::hostabi::kStaticImage, kFaceId, 0, 0, kTransparent));
    gauge.tree.elements.front().depth = 0;
    for (ElementRecord& child : children) {
      gauge.tree.elements.front().children.push_back(gauge.tree.elements.size());
      gauge.tree.elements.push_back(std::move(child));
    }
  }

  // The gauge alone on a layer of its own size, as the frame painter draws a scaled gauge.
  Image draw(RenderOptions options = {}) {
    TextPainter text(FontFiles::system());
    GaugeRenderer renderer(bitmaps, values, text);
    renderer.check(gauge);
    return renderer.draw(gauge, options);
  }

  std::string checkError() {
    try {
      checkGauge(gauge, bitmaps);
    } catch (const RenderError& e) {
      return e.what();
    }
    return "(no error)";
  }

  // Every pixel of the w x h area at (x, y) is the face plate's.
  static bool showsFace(const Image& layer, int x, int y, int w, int h) {
    for (int j = y; j < y + h; ++j) {
      for (int i = x; i < x + w; ++i) {
        if (layer.at(i, j) != kFace) return false;
      }
    }
    return true;
  }

  BitmapLibrary bitmaps;
  StubValues values;
  GaugeRecord gauge;
};

TEST_F(GaugeDrawing, ADrumWindowShowsExactlyTheStripCellOfItsDigit) {
  const Image strip = rendertest::patterned(16, 160);
  bitmaps.add(200, strip, "strip.bmp");
  bitmaps.add(201, Image(16, 20, opaque(255, 255, 255)), "window.bmp");
  setChildren({drum(200, 30, 12, 0, 7)});
  for (int value = 0; value <= 7; ++value) {
    values.drum = value;
    const Image layer = draw();
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 16; ++x) {
        ASSERT_EQ(layer.at(30 + x, 12 + y), strip.at(x, value * 20 + y))
            << "digit " << value << " at " << x << ", " << y;
      }
    }
    EXPECT_EQ(layer.at(29, 12), kFace);
    EXPECT_EQ(layer.at(30, 32), kFace) << "nothing below the window";
  }
}

TEST_F(GaugeDrawing, ARangeStartingAboveZeroCountsCellsFromItsMinimum) {
  // The hundreds drum of an ADF: groups 1 to 18 in cells of 27, seen through a 25-high window.
  const Image strip = rendertest::patterned(36, 486, 3);
  bitmaps.add(300, strip, "hundreds.bmp");
  bitmaps.add(301, Image(36, 25, opaque(40, 40, 40)), "hundreds_window.bmp");
  setChildren({drum(300, 5, 5, 1, 18)});
  for (int value : {1, 2, 18}) {
    values.drum = value;
    const Image layer = draw();
    EXPECT_EQ(layer.at(5, 5), strip.at(0, (value - 1) * 27)) << value;
    EXPECT_EQ(layer.at(40, 29), strip.at(35, (value - 1) * 27 + 24)) << value;
  }
}

TEST_F(GaugeDrawing, ADrumShowsNothingOutsideItsRangeOrWhereItsWindowIsBlack) {
  bitmaps.add(200, rendertest::patterned(16, 160), "strip.bmp");
  Image window(16, 20, opaque(255, 255, 255));
  for (int y = 0; y < 20; ++y) window.set(0, y, opaque(0, 0, 0));
  bitmaps.add(201, window, "window.bmp");
  setChildren({drum(200, 30, 12, 0, 7)});
  for (double value : {-1.0, 7.5, 8.0, 100.0}) {
    values.drum = value;
    EXPECT_TRUE(showsFace(draw(), 30, 12, 16, 20)) << value;
  }
  values.drum = 3;
  const Image layer = draw();
  EXPECT_TRUE(showsFace(layer, 30, 12, 1, 20)) << "black window column";
  EXPECT_FALSE(showsFace(layer, 31, 12, 15, 20));
}

TEST_F(GaugeDrawing, ATransparentElementLeavesThePixelsUnderItsBlack) {
  Image lamp(10, 10, opaque(0, 0, 0));
  for (int y = 0; y < 10; ++y) {
    for (int x = 5; x < 10; ++x) lamp.set(x, y, opaque(255, 200, 0));
  }
  bitmaps.add(400, lamp, "lamp.bmp");
  setChildren({icon(400, 1, 10, 10, kTransparent), icon(400, 1, 40, 10, 0)});
  values.frame = 0;
  const Image layer = draw();
  EXPECT_TRUE(showsFace(layer, 10, 10, 5, 10));
  EXPECT_EQ(layer.at(15, 10), opaque(255, 200, 0));
  EXPECT_EQ(layer.at(40, 10), opaque(0, 0, 0)) << "without the flag black is drawn";
  EXPECT_EQ(layer.at(45, 10), opaque(255, 200, 0));
}

TEST_F(GaugeDrawing, AnIconDrawsTheBitmapOfItsFrameAndNothingAtMinusOneOrPastItsFrames) {
  bitmaps.add(500, Image(8, 6, opaque(10, 200, 10)), "off.bmp");
  bitmaps.add(501, Image(8, 6, opaque(10, 10, 200)), "on.bmp");
  setChildren({icon(500, 2, 20, 20, 0)});
  const struct {
    double frame;
    bool drawn;
    Rgba colour;
  } cases[] = {{0, true, opaque(10, 200, 10)},
               {1, true, opaque(10, 10, 200)},
               {-1, false, {}},
               {2, false, {}}};
  for (const auto& c : cases) {
    values.frame = c.frame;
    const Image layer = draw();
    if (c.drawn) {
      EXPECT_EQ(layer.at(20, 20), c.colour) << c.frame;
      EXPECT_EQ(layer.at(27, 25), c.colour) << c.frame;
    } else {
      EXPECT_TRUE(showsFace(layer, 20, 20, 8, 6)) << c.frame;
    }
  }
}

int countRed(const Image& layer, int x, int y, int w, int h) {
  int n = 0;
  for (int j = y; j < y + h; ++j) {
    for (int i = x; i < x + w; ++i) {
      const Rgba p = layer.at(i, j);
      if (p.r > 120 && p.g < 80 && p.b < 80) ++n;
    }
  }
  return n;
}

TEST_F(GaugeDrawing, ADisplayIsBlankWhileThePowerIsOffAndRedWhenOn) {
  setChildren({display(10, 20)});
  values.shown = "";
  EXPECT_TRUE(showsFace(draw(), 0, 0, kFaceWidth, kFaceHeight));

  values.shown = "123.420";
  const Image layer = draw();
  EXPECT_GT(countRed(layer, 10, 20, 78, 26), 150);
  EXPECT_EQ(countRed(layer, 0, 0, kFaceWidth, kFaceHeight), countRed(layer, 10, 20, 78, 26))
      << "nothing drawn outside the box";

  // Right-aligned and vertically centred: the figures end near the box's right edge, and the
  // rows above and below them are alike.
  int left = 1000, right = -1, top = 1000, bottom = -1;
  for (int y = 20; y < 46; ++y) {
    for (int x = 10; x < 88; ++x) {
      if (countRed(layer, x, y, 1, 1) == 0) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  EXPECT_GE(right, 88 - 5);
  EXPECT_NEAR(top - 20, 45 - bottom, 1);
  EXPECT_GE(bottom - top + 1, 26 * 3 / 4) << "the figures fill the box's height";
}

TEST_F(GaugeDrawing, AnOpaqueTextBackgroundFillsTheBox) {
  ElementRecord label = display(10, 20, 0);
  label.text.background = 0x00102030;
  setChildren({label});
  const Image layer = draw();
  EXPECT_EQ(layer.at(10, 20), opaque(0x30, 0x20, 0x10));
  EXPECT_EQ(layer.at(87, 45), opaque(0x30, 0x20, 0x10));
  EXPECT_EQ(layer.at(88, 45), kFace);
}

TEST_F(GaugeDrawing, PanelLightsKeepBrightElementsFullAndDimTheRest) {
  setChildren({display(10, 20, 0x7)});
  values.shown = "123.420";
  const Image day = draw(RenderOptions{false});
  EXPECT_EQ(day.at(0, 0), kFace);
  const Image night = draw(RenderOptions{true});
  EXPECT_EQ(night.at(0, 0), opaque(27, 27, 27));
  auto fullRed = [](const Image& layer) {
    return std::count(layer.pixels().begin(), layer.pixels().end(), kRed);
  };
  EXPECT_GT(fullRed(night), 100);
  EXPECT_EQ(fullRed(night), fullRed(day)) << "the figures glow as they are by day";
}

TEST_F(GaugeDrawing, BitmapsOfTheWrongSizeOrMissingNameTheResourceIdAndFile) {
  const ElementRecord knob = icon(500, 2, 0, 0, 0);
  const ElementRecord digit = drum(200, 0, 0, 0, 7);
  ElementRecord text = display(0, 0);
  text.text.box = {0, 26};
  const ElementRecord unknown = element(3, 0, 0, 0, 0);
  const struct {
    const char* what;
    std::function<void(BitmapLibrary&)> setUp;
    const ElementRecord& child;
    const char* expected;
  } cases[] = {
      {"icon frames differ",
       [](BitmapLibrary& t) {
         t.add(500, Image(8, 6), "off.bmp");
         t.add(501, Image(9, 6), "on.bmp");
       },
       knob, "element 1 (icon at 0, 0): bitmap 501 (on.bmp): 9 x 6; expected 8 x 6"},
      {"icon frame missing", [](BitmapLibrary& t) { t.add(500, Image(8, 6), "off.bmp"); }, knob,
       "bitmap 501: the module's resource script names no bitmap"},
      {"strip not whole cells",
       [](BitmapLibrary& t) {
         t.add(200, Image(16, 161), "strip.bmp");
         t.add(201, Image(16, 20), "window.bmp");
       },
       digit, "bitmap 200 (strip.bmp): strip of 16 x 161; expected a whole number of cells"},
      {"window taller than a cell",
       [](BitmapLibrary& t) {
         t.add(200, Image(16, 160), "strip.bmp");
         t.add(201, Image(16, 21), "window.bmp");
       },
       digit, "bitmap 201 (window.bmp): window of 16 x 21; expected at most one cell"},
      {"window wider than the strip",
       [](BitmapLibrary& t) {
         t.add(200, Image(16, 160), "strip.bmp");
         t.add(201, Image(17, 20), "window.bmp");
       },
       digit, "window of 17 x 20"},
      {"text box empty", [](BitmapLibrary&) {}, text, "text box 0 x 26"},
      {"unknown kind", [](BitmapLibrary&) {}, unknown, "element kind 3; expected 0, 2, 4 or 5"},
  };
  for (const auto& c : cases) {
    bitmaps = BitmapLibrary();
    bitmaps.add(kFaceId, Image(kFaceWidth, kFaceHeight, kFace), "face.bmp");
    c.setUp(bitmaps);
    setChildren({c.child});
    EXPECT_THAT(checkError(), HasSubstr(c.expected)) << c.what;
  }
  bitmaps = BitmapLibrary();
  EXPECT_THAT(checkError(), HasSubstr("gauge \"Test\", root static image at 0, 0: bitmap 100"));
}

TEST(PanelPlacement, AClickAtAScaledPointReachesTheChildDrawnThere) {
  // Two gauges side by side, the first drawn at twice its size; a mouse table of two children.
  const GaugeRecord first, second;
  const std::vector<GaugeOnPanel> placements = {
      {&first, nullptr, nullptr, {100, 50}, placementRect({100, 50}, 10, 20, 200)},
      {&second, nullptr, nullptr, {100, 50}, placementRect({100, 50}, 210, 20)},
  };
  EXPECT_EQ(placements[0].rect.height, 100) << "the height follows the aspect";
  const panelhost::hostabi::Box children[] = {{0, 0, 50, 50}, {50, 0, 50, 50}};
  auto childAt = [&](int x, int y) {
    for (int i = 0; i < 2; ++i) {
      const panelhost::hostabi::Box& b = children[i];
      if (x >= b.x && x < b.x + b.width && y >= b.y && y < b.y + b.height) return i;
    }
    return -1;
  };
  const struct {
    int px, py;
    std::size_t placement;
    int gx, gy, child;
  } cases[] = {
      {10 + 2 * 49 + 1, 20 + 2 * 10, 0, 49, 10, 0},  // last panel pixel of gauge pixel 49
      {10 + 2 * 50, 20 + 2 * 10, 0, 50, 10, 1},
      {209, 119, 0, 99, 49, 1},
      {210, 20, 1, 0, 0, 0},
      {260, 69, 1, 50, 49, 1},
  };
  for (const auto& c : cases) {
    const auto hit = gaugePointAt(placements, c.px, c.py);
    ASSERT_TRUE(hit) << c.px << ", " << c.py;
    EXPECT_EQ(hit->placement, c.placement) << c.px << ", " << c.py;
    EXPECT_EQ(hit->x, c.gx) << c.px << ", " << c.py;
    EXPECT_EQ(hit->y, c.gy) << c.px << ", " << c.py;
    EXPECT_EQ(childAt(hit->x, hit->y), c.child) << c.px << ", " << c.py;
  }
  EXPECT_FALSE(gaugePointAt(placements, 9, 20));
  EXPECT_FALSE(gaugePointAt(placements, 100, 120));
  EXPECT_FALSE(gaugePointAt(placements, 260, 70));
}

TEST(PanelPlacement, AScaledGaugeShowsUnderEachPointTheGaugePixelAClickThereReaches) {
  const Image layer = rendertest::patterned(30, 20);
  Image panel(200, 100, opaque(0, 0, 0));
  const GaugeRecord gauge;
  const std::vector<GaugeOnPanel> placements = {
      {&gauge, nullptr, nullptr, layer.size(), placementRect(layer.size(), 7, 3, 75, 50)}};
  composite(panel, layer, placements[0].rect);
  for (int y = 3; y < 53; ++y) {
    for (int x = 7; x < 82; ++x) {
      const auto hit = gaugePointAt(placements, x, y);
      ASSERT_TRUE(hit);
      ASSERT_EQ(panel.at(x, y), layer.at(hit->x, hit->y)) << x << ", " << y;
    }
  }
  EXPECT_EQ(panel.at(82, 3), opaque(0, 0, 0));
}

// However a frame is drawn (a gauge's layer where it lands, or a layer of its own), it shows each
// gauge as its layer put over the panel, in panel order: over black, over an earlier gauge,
// scaled, cut by the panel's edge, lit or not.
TEST_F(GaugeDrawing, AFrameShowsEachGaugeAsItsLayerPutOverThePanel) {
  // A face with a black display window that the transparent root leaves undrawn, the figures
  // blended over it.
  Image face(kFaceWidth, kFaceHeight, kFace);
  for (int y = 18; y < 48; ++y) {
    for (int x = 8; x < 90; ++x) face.set(x, y, opaque(0, 0, 0));
  }
  bitmaps.add(kFaceId, face, "face.bmp");
  setChildren({display(10, 20), display(40, 30)});
  values.shown = "88.888";
  const Size own{kFaceWidth, kFaceHeight};
  const struct {
    const char* what;
    std::vector<Rect> rects;
    bool lights;
  } cases[] = {
      {"alone", {{0, 0, kFaceWidth, kFaceHeight}}, false},
      {"side by side, lit",
       {{0, 0, kFaceWidth, kFaceHeight}, {kFaceWidth, 5, kFaceWidth, kFaceHeight}},
       true},
      {"over an earlier one",
       {{0, 0, kFaceWidth, kFaceHeight}, {30, 25, kFaceWidth, kFaceHeight}},
       false},
      {"scaled",
       {{5, 5, 2 * kFaceWidth, 2 * kFaceHeight}, {7, 9, kFaceWidth / 2, kFaceHeight / 3}},
       false},
      {"cut by the edges",
       {{-20, -7, kFaceWidth, kFaceHeight}, {200, 100, kFaceWidth, kFaceHeight}},
       false},
  };
  FramePainter painter(FontFiles::system());
  for (const auto& c : cases) {
    RenderOptions options;
    options.panelLights = c.lights;
    std::vector<GaugeOnPanel> gauges;
    Image expected(260, 140, opaque(0, 0, 0));
    for (const Rect& rect : c.rects) {
      gauges.push_back({&gauge, &bitmaps, &values, own, rect});
      composite(expected, draw(options), rect);
    }
    // Twice, so that a frame drawn over the last one is drawn afresh.
    painter.draw({260, 140}, gauges, options);
    const Image& frame = painter.draw({260, 140}, gauges, options);
    EXPECT_EQ(frame.pixels(), expected.pixels()) << c.what;
  }
}

TEST_F(GaugeDrawing, APanelDrawsItsPlacementsAndWritesThemAsPng) {
  rendertest::ScratchDir dir;
  const Size own{kFaceWidth, kFaceHeight};
  const std::vector<GaugeOnPanel> gauges = {
      {&gauge, &bitmaps, &values, own, placementRect(own, 0, 0)},
      {&gauge, &bitmaps, &values, own, placementRect(own, 0, 60, 60)}};
  EXPECT_EQ(gauges[1].rect.height, 30);
  FramePainter painter(FontFiles::system());
  const Image panel = painter.draw({kFaceWidth, 100}, gauges, {});
  EXPECT_EQ(panel.at(0, 0), kFace);
  EXPECT_EQ(panel.at(59, 89), kFace);
  EXPECT_EQ(panel.at(60, 89), opaque(0, 0, 0)) << "the panel shows where no gauge lies";
  writePng(panel, dir.path() / "panel.png");
  EXPECT_EQ(readPng(dir.path() / "panel.png").pixels(), panel.pixels());
  EXPECT_THROW(writePng(panel, dir.path() / "no/such/folder/panel.png"), RenderError);
}

}  // namespace
