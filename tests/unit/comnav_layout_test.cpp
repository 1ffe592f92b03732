// The "Com1Nav1" gauge as the host reads it: header, element tree and mouse table.
#include "gauges/comnav/comnav_layout.h"

#include "comnav_fixture.h"
#include "gauges/comnav/comnav_state.h"
#include "layout_expectations.h"
#include "panel/element_reader.h"

namespace {

class ComNavLayoutTest : public ComNavFixture {
 protected:
  const panelhost::GaugeRecord& gauge = *module.gauge("Com1Nav1");
};

TEST_F(ComNavLayoutTest, HeaderNamesTheGaugeItsCallbackAndItsTable) {
  EXPECT_EQ(gauge.address, at(&comNavGaugeHeader));
  EXPECT_EQ(gauge.callback, at(comNavGaugeCallback));
  EXPECT_EQ(gauge.sizeXmm, 417u);
  EXPECT_EQ(gauge.sizeYmm, 0u);
}

TEST_F(ComNavLayoutTest, AFaceplateWithFourDisplaysAndTwoKnobs) {
  const std::vector<std::pair<std::uint32_t, std::uint32_t>> displayFailures = {
      {14, 3}, {20, 3}, {21, 3}};
  // clang-format off
  expectElements(gauge, {
      // kind                     bitmap                         x    y  flags  failures
      {ELEMENT_TYPE_STATIC_IMAGE, bitmap::kComNavFaceplate.id,    0,   0, 0x1, {}},
      {ELEMENT_TYPE_STRING,       kNoBitmapId,                   10,  32, 0x7, displayFailures},
      {ELEMENT_TYPE_STRING,       kNoBitmapId,                  112,  32, 0x7, displayFailures},
      {ELEMENT_TYPE_STRING,       kNoBitmapId,                  222,  32, 0x7, displayFailures},
      {ELEMENT_TYPE_STRING,       kNoBitmapId,                  324,  32, 0x7, displayFailures},
      {ELEMENT_TYPE_ICON,         bitmap::kComNavPowerKnob.id,   46, 121, 0x0, {}},
      {ELEMENT_TYPE_ICON,         bitmap::kComNavIdentKnob.id,  231, 120, 0x0, {}},
  });
  // clang-format on
}

TEST_F(ComNavLayoutTest, TheFourDisplaysAreAlikeButForTheirCallbacks) {
  const std::uint64_t callbacks[] = {at(comActiveText), at(comStandbyText), at(navActiveText),
                                     at(navStandbyText)};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const panelhost::TextFields& text = gauge.tree.elements[1 + i].text;
    EXPECT_EQ(text.box.x, 78);
    EXPECT_EQ(text.box.y, 26);
    EXPECT_EQ(text.foreground, 0x003D3FC3u);
    EXPECT_EQ(text.background, 0x00000000u);
    EXPECT_EQ(text.highlight, 0x005C5C5Cu);
    EXPECT_EQ(text.fontName, "Quartz");
    EXPECT_EQ(text.fontWeight, 400);
    EXPECT_EQ(text.fontCharset, 1u);
    EXPECT_EQ(text.fontSize, 37);
    EXPECT_EQ(text.drawTextFlags, 6u);
    EXPECT_EQ(text.characters, 8u) << "seven characters and the terminator";
    EXPECT_EQ(text.highlightList, 0u);
    EXPECT_EQ(text.callback, callbacks[i]);
  }
}

TEST_F(ComNavLayoutTest, TheKnobIconsHaveTwoFramesAndShowTheirSwitches) {
  panelhost::ModuleElementValues values(module);
  const panelhost::ElementRecord& power = gauge.tree.elements[5];
  const panelhost::ElementRecord& ident = gauge.tree.elements[6];
  for (const auto* icon : {&power, &ident}) {
    EXPECT_EQ(icon->icon.frames, 2);
    EXPECT_EQ(icon->icon.switchType, 0);
    EXPECT_EQ(icon->icon.scale, 0.0);
    EXPECT_EQ(icon->icon.offset, 0);
  }
  EXPECT_EQ(power.icon.callback, at(powerSwitchIcon));
  EXPECT_EQ(ident.icon.callback, at(navIdentIcon));
  startOn();
  navIdentClick(&point, MOUSE_LEFTSINGLE);
  EXPECT_EQ(values.iconFrame(power), 1.0);
  EXPECT_EQ(values.iconFrame(ident), 1.0);
}

TEST_F(ComNavLayoutTest, EveryMouseEntryStandsAsPanelsWereDrawnAgainstIt) {
  // clang-format off
  expectMouseTable(gauge, {
      {P,   0,   0,  0,  0, kNone, 0,          0,                    nullptr},
      {P,  64,  87, 58, 60, kNone, 0,          0,                    nullptr},
      {U,   0,   0,  0,  0, kNone, 0,          0,                    "COM/NAV on/off"},
      {E,   0,   0,  0,  0, kNone, 0,          0,                    nullptr},
      {C,  64,  87, 58, 60, kHand, 0x20000000, at(powerSwitchClick), nullptr},
      {P, 148,  80, 56, 53, kNone, 0,          0,                    nullptr},
      {U,   0,   0,  0,  0, kNone, 0,          0,                    "COM Frequency Select"},
      {E,   0,   0,  0,  0, kNone, 0,          0,                    nullptr},
      {C, 176,  89, 15, 35, kUp,   0x20206000, at(comKnobUp25),      nullptr},
      {C, 192,  80, 12, 53, kUp,   0x20206000, at(comKnobUp1000),    nullptr},
      {C, 160,  89, 15, 35, kDown, 0x20206000, at(comKnobDown25),    nullptr},
      {C, 148,  80, 12, 53, kDown, 0x20206000, at(comKnobDown1000),  nullptr},
      {P, 107,  77, 27, 26, kNone, 0,          0,                    nullptr},
      {U,   0,   0,  0,  0, kNone, 0,          0,                    "COM Frequency swap"},
      {E,   0,   0,  0,  0, kNone, 0,          0,                    nullptr},
      {C, 107,  77, 27, 26, kHand, 0x20000000, at(comSwapClick),     nullptr},
      {P, 239, 125, 22, 21, kNone, 0,          0,                    nullptr},
      {U,   0,   0,  0,  0, kNone, 0,          0,                    "NAV ident"},
      {E,   0,   0,  0,  0, kNone, 0,          0,                    nullptr},
      {C, 239, 125, 22, 21, kHand, 0x20000000, at(navIdentClick),    nullptr},
      {P, 300,  61, 75, 67, kNone, 0,          0,                    nullptr},
      {U,   0,   0,  0,  0, kNone, 0,          0,                    "NAV Frequency Select"},
      {E,   0,   0,  0,  0, kNone, 0,          0,                    nullptr},
      {C, 350,  91, 15, 35, kUp,   0x20206000, at(navKnobUp25),      nullptr},
      {C, 366,  82, 12, 53, kUp,   0x20206000, at(navKnobUp1000),    nullptr},
      {C, 334,  91, 15, 35, kDown, 0x20206000, at(navKnobDown25),    nullptr},
      {C, 322,  91, 12, 53, kDown, 0x20206000, at(navKnobDown1000),  nullptr},
      {P, 281,  78, 27, 26, kNone, 0,          0,                    nullptr},
      {U,   0,   0,  0,  0, kNone, 0,          0,                    "NAV Frequency swap"},
      {E,   0,   0,  0,  0, kNone, 0,          0,                    nullptr},
      {C, 281,  78, 27, 26, kHand, 0x20000000, at(navSwapClick),     nullptr},
      {E,   0,   0,  0,  0, kNone, 0,          0,                    nullptr},
      {L,   0,   0,  0,  0, kNone, 0,          0,                    nullptr},
  });
  // clang-format on
}

TEST_F(ComNavLayoutTest, EachControlIsReachedWhereItsPartIsDrawn) {
  const struct {
    int x, y;
    std::uint64_t expected;
  } points[] = {
      // clang-format off
      { 93, 117, at(powerSwitchClick)}, {110, 100, at(powerSwitchClick)},  // over the COM swap
      {128,  82, at(comSwapClick)},     {110,  80, at(comSwapClick)},
      {153, 106, at(comKnobDown1000)},  {167, 106, at(comKnobDown25)},
      {183, 106, at(comKnobUp25)},      {197, 106, at(comKnobUp1000)},
      {153,  82, at(comKnobDown1000)},  {197, 131, at(comKnobUp1000)},     {183,  88, 0},
      {250, 135, at(navIdentClick)},    {294,  90, at(navSwapClick)},
      {327, 108, at(navKnobDown1000)},  {341, 108, at(navKnobDown25)},
      {357, 108, at(navKnobUp25)},      {371, 108, at(navKnobUp1000)},
      {327, 143, at(navKnobDown1000)},  {377,  82, at(navKnobUp1000)},     {327,  90, 0},
      {349, 108, 0},                    {175, 106, 0},  // the seams between fine columns
      { 30,  20, 0},
      // clang-format on
  };
  for (const auto& p : points) {
    EXPECT_EQ(handlerAt(gauge, p.x, p.y, MOUSE_LEFTSINGLE), p.expected) << p.x << ", " << p.y;
  }
}

TEST_F(ComNavLayoutTest, ButtonsTakeClicksOnlyAndKnobsTakeEverything) {
  for (FLAGS event : {MOUSE_DOWN_REPEAT, MOUSE_WHEEL_UP, MOUSE_WHEEL_DOWN, MOUSE_LEFTRELEASE}) {
    for (auto [x, y] : {std::pair{93, 117}, {128, 82}, {250, 135}, {294, 90}}) {
      EXPECT_EQ(handlerAt(gauge, x, y, event), 0u) << x << ", " << y << " event " << event;
    }
  }
  for (FLAGS event : {MOUSE_LEFTSINGLE, MOUSE_DOWN_REPEAT, MOUSE_WHEEL_UP, MOUSE_WHEEL_DOWN}) {
    EXPECT_EQ(handlerAt(gauge, 183, 106, event), at(comKnobUp25));
    EXPECT_EQ(handlerAt(gauge, 327, 108, event), at(navKnobDown1000));
  }
}

}  // namespace
