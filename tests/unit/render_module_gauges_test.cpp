// The module's own gauges drawn from their own element trees with the module's own bitmaps.
#include <gtest/gtest.h>

#include "abi/host_layouts.h"
#include "adf_fixture.h"
#include "gauges/transponder/transponder_layout.h"
#include "gauges/transponder/transponder_state.h"
#include "panel/element_reader.h"
#include "render/gauge_renderer.h"
#include "render/panel_picture.h"
#include "render/png_writer.h"
#include "render/render_error.h"
#include "render_test_support.h"
#include "resources/bitmaps.h"

using namespace panelhost;

namespace {

// A panel file line placing the ADF.
GaugePlacement adfAt(int x, int y, int width = 0, int line = 0) {
  return GaugePlacement{"radios", "ADF", x, y, width, 0, line > 0 ? "p.cfg" : "", line};
}

class ModuleGaugeDrawing : public AdfFixture {
 protected:
  ModuleGaugeDrawing()
      : bitmaps(BitmapLibrary::loadScript(std::filesystem::path(RADIOS_SOURCE_DIR) /
                                          "resources/radios.rc")),
        values(module),
        transponder(*module.gauge("Transponder")),
        adf(*module.gauge("ADF")) {}

  // A gauge drawn alone onto a layer of its own size.
  Image draw(const GaugeRecord& gauge) {
    GaugeRenderer renderer(bitmaps, values, text);
    renderer.check(gauge);
    return renderer.draw(gauge, {});
  }

  BitmapLibrary bitmaps;
  ModuleElementValues values;
  TextPainter text{FontFiles::system()};
  const GaugeRecord& transponder;
  const GaugeRecord& adf;
};

TEST_F(ModuleGaugeDrawing, TheTransponderAndAdfTreesFitTheirBitmaps) {
  for (const GaugeRecord* gauge : {&transponder, &adf}) {
    EXPECT_NO_THROW(checkGauge(*gauge, bitmaps)) << gauge->name;
  }
  EXPECT_EQ(gaugeOwnSize(transponder, bitmaps),
            (Size{bitmap::kXpdrFacePlate.width, bitmap::kXpdrFacePlate.height}));
}

TEST_F(ModuleGaugeDrawing, EachAdfDrumShowsTheStripCellOfItsValue) {
  initialiseWithSimAt(1234.5);
  const Image layer = draw(adf);
  EXPECT_EQ(layer.size(), (Size{bitmap::kAdfFace.width, bitmap::kAdfFace.height}));

  int drumsSeen = 0;
  for (const ElementRecord& drum : adf.tree.elements) {
    if (drum.kind != panelhost::hostabi::kMovingImage) continue;
    const Image& strip = bitmaps.image(drum.resourceId);
    const Image& window = bitmaps.image(drum.resourceId + 1);
    const long cell = std::lround(values.movingY(drum) - drum.moving.minY);
    const int cellHeight =
        strip.height() / static_cast<int>(drum.moving.maxY - drum.moving.minY + 1);
    for (int y = 0; y < window.height(); ++y) {
      for (int x = 0; x < window.width(); ++x) {
        const Rgba shown = strip.at(x, static_cast<int>(cell) * cellHeight + y);
        if (isPureBlack(window.at(x, y)) || isPureBlack(shown)) continue;
        ASSERT_EQ(layer.at(drum.position.x + x, drum.position.y + y), shown)
            << "drum at " << drum.position.x << ", pixel " << x << ", " << y;
      }
    }
    ++drumsSeen;
  }
  EXPECT_EQ(drumsSeen, 4);
}

// Independent of the renderer's own rule: figure k of the transponder strip is the k-th cell from
// the top, one window high, so a digit of 0 shows the top cell and 7 the bottom one.
TEST_F(ModuleGaugeDrawing, TransponderDrumsShowTheirDigitsCellAndTheKnobItsOffFrame) {
  transponderGaugeCallback(&transponderGaugeHeader, PANEL_SERVICE_PRE_INITIALIZE, 0);  // 7000
  transponderState.digit[2] = 3;                                                       // 7030
  const Image layer = draw(transponder);
  const Image& strip = bitmaps.image(bitmap::kXpdrDigitStrip.id);
  const int cell = bitmap::kXpdrDigitWindow.height;
  const int drumX[4] = {154, 221, 287, 352};
  const int figure[4] = {7, 0, 3, 0};
  for (int k = 0; k < 4; ++k) {
    for (int y = 0; y < cell; ++y) {
      for (int x = 0; x < bitmap::kXpdrDigitWindow.width; ++x) {
        const Rgba shown = strip.at(x, figure[k] * cell + y);
        if (isPureBlack(shown)) continue;
        ASSERT_EQ(layer.at(drumX[k] + x, 32 + y), shown)
            << "drum " << k << ", pixel " << x << ", " << y;
      }
    }
  }
  const Image& knobAtOff = bitmaps.image(bitmap::kXpdrModeKnob.id);
  for (int y = 0; y < knobAtOff.height(); ++y)
    for (int x = 0; x < knobAtOff.width(); ++x)
      ASSERT_EQ(layer.at(x, 36 + y), knobAtOff.at(x, y)) << "knob pixel " << x << ", " << y;
}

TEST_F(ModuleGaugeDrawing, APanelPictureFindsTheScriptBesideTheModuleOrInTheResourcesFolder) {
  const std::filesystem::path resources = std::filesystem::path(RADIOS_SOURCE_DIR) / "resources";
  EXPECT_EQ(PanelPicture({}).scriptFor(resources / "radios.so"), resources / "radios.rc");
  PictureSettings elsewhere;
  elsewhere.resourcesFolder = "/opt/art";
  EXPECT_EQ(PanelPicture(elsewhere).scriptFor(resources / "radios.so"), "/opt/art/radios.rc");

  initialiseWithSimAt(350.0);
  PanelPicture picture({});
  const GaugePlacement alone = adfAt(0, 0), twice = adfAt(0, 165, 834);
  const std::vector<PicturePlacement> placements = {
      {&alone, &adf, &values, resources / "radios.so"},
      {&twice, &adf, &values, resources / "radios.so"}};
  EXPECT_NO_THROW(picture.layOut(placements));
  rendertest::ScratchDir dir;
  picture.render({834, 165 + 330}, placements, dir.path() / "stack.png");
  const Image written = readPng(dir.path() / "stack.png");
  EXPECT_EQ(written.size(), (Size{834, 495}));
  const Image own = picture.draw({417, 165}, {placements[0]});
  EXPECT_EQ(written.at(200, 50), own.at(200, 50));
  EXPECT_EQ(written.at(401, 165 + 101), own.at(200, 50)) << "twice the size below";

  const std::vector<PicturePlacement> noScript = {
      {&alone, &adf, &values, dir.path() / "radios.so"}};
  try {
    picture.layOut(noScript);
    ADD_FAILURE() << "no error for a missing resource script";
  } catch (const RenderError& e) {
    EXPECT_NE(std::string(e.what()).find(
                  "radios.rc: cannot read the resource script (No such file or directory)"),
              std::string::npos)
        << e.what();
  }
}

TEST_F(ModuleGaugeDrawing, APanelWithoutASizeIsAsLargeAsItsGaugesReach) {
  const std::filesystem::path resources = std::filesystem::path(RADIOS_SOURCE_DIR) / "resources";
  initialiseWithSimAt(350.0);
  PanelPicture picture({});
  const GaugePlacement at = adfAt(10, 5), below = adfAt(0, 170, 208);
  const std::vector<PicturePlacement> placements = {
      {&at, &adf, &values, resources / "radios.so"},
      {&below, &adf, &values, resources / "radios.so"}};
  EXPECT_EQ(picture.draw({0, 0}, placements).size(), (Size{427, 170 + 82}));

  const GaugePlacement far = adfAt(90000, 0);
  const std::vector<PicturePlacement> farAway = {{&far, &adf, &values, resources / "radios.so"}};
  EXPECT_THROW(picture.draw({0, 0}, farAway), RenderError)
      << "a picture of gigabytes instead of an error";
}

// Gauges wholly left of or above the corner leave a panel without a size nothing to draw: the
// message names the placement that came nearest, and what was expected.
TEST_F(ModuleGaugeDrawing, APanelWhoseGaugesAllLieOutsideItsCornerNamesTheNearestPlacement) {
  const std::filesystem::path module =
      std::filesystem::path(RADIOS_SOURCE_DIR) / "resources/radios.so";
  initialiseWithSimAt(350.0);
  PanelPicture picture({});
  const struct {
    std::vector<GaugePlacement> lines;
    const char* message;
  } cases[] = {
      {{adfAt(-1000, 0, 0, 2), adfAt(-500, 0, 0, 3)},
       "p.cfg:3: the panel file gives no size_mm and every gauge lies left of x = 0, this one "
       "reaching x = -83; expected a gauge reaching into positive x and y, or a size_mm="},
      {{adfAt(0, -200, 0, 2), adfAt(10, -900, 0, 4)},
       "p.cfg:2: the panel file gives no size_mm and every gauge lies above y = 0, this one "
       "reaching y = -35;"},
  };
  for (const auto& c : cases) {
    std::vector<PicturePlacement> placements;
    for (const GaugePlacement& line : c.lines) placements.push_back({&line, &adf, &values, module});
    try {
      picture.draw({0, 0}, placements);
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const RenderError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
    }
  }
}

}  // namespace
