// The module's own gauges drawn from their own element trees with the module's own bitmaps.
#include <gtest/gtest.h>

#include "adf_fixture.h"
#include "render/element_callbacks.h"
#include "render/element_tree.h"
#include "render/panel_painter.h"

using namespace panelhost;

namespace {

class ModuleGaugeDrawing : public AdfFixture {
 protected:
  ModuleGaugeDrawing()
      : bitmaps(BitmapLibrary::loadScript(std::filesystem::path(RADIOS_SOURCE_DIR) /
                                          "resources/radios.rc")) {}

  BitmapLibrary bitmaps;
  ElementCallbacks values;
};

TEST_F(ModuleGaugeDrawing, EachAdfDrumShowsTheStripCellOfItsValue) {
  PanelPainter painter(bitmaps, values);
  ASSERT_NO_THROW(painter.gauges().check(adfGaugeHeader));
  initialiseWithSimAt(1234.5);
  const Image layer = painter.gauges().draw(adfGaugeHeader, {});
  EXPECT_EQ(layer.size(), (Size{417, 165}));

  int drumsSeen = 0;
  forEachElement(gaugeRoot(adfGaugeHeader), [&](ELEMENT_HEADER& element) {
    if (element.element_type != ELEMENT_TYPE_MOVING_IMAGE) return;
    auto& drum = static_cast<ELEMENT_MOVING_IMAGE&>(element);
    const Image& strip = bitmaps.image(drum.resource_id);
    const Image& window = bitmaps.image(drum.resource_id + 1);
    const long cell = std::lround(values.movingY(drum) - drum.min_y);
    const int cellHeight = strip.height() / static_cast<int>(drum.max_y - drum.min_y + 1);
    for (int y = 0; y < window.height(); ++y) {
      for (int x = 0; x < window.width(); ++x) {
        const Rgba shown = strip.at(x, static_cast<int>(cell) * cellHeight + y);
        if (isPureBlack(window.at(x, y)) || isPureBlack(shown)) continue;
        ASSERT_EQ(layer.at(drum.position.x + x, drum.position.y + y), shown)
            << "drum at " << drum.position.x << ", pixel " << x << ", " << y;
      }
    }
    ++drumsSeen;
  });
  EXPECT_EQ(drumsSeen, 4);
}

}  // namespace
