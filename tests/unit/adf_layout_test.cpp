// The "ADF" gauge as the host reads it: header, element tree and mouse table.
#include "adf_fixture.h"
#include "layout_expectations.h"

namespace {

class AdfLayoutTest : public AdfFixture {
 protected:
  const panelhost::GaugeRecord& gauge = *module.gauge("ADF");
};

constexpr FLAGS KNOB = 0x20206000;
constexpr FLAGS CLICK = 0x20000000;

TEST_F(AdfLayoutTest, TheMouseTableStandsEntryForEntryAsDrawnUp) {
  // clang-format off
  expectMouseTable(gauge, {
      {P,   0,   0,   0,  0, kNone, 0,     0,                   nullptr},
      {P,  24,  24,  44, 42, kNone, 0,     0,                   nullptr},
      {U,   0,   0,   0,  0, kNone, 0,     0,                   "ADF Mode"},
      {E,   0,   0,   0,  0, kNone, 0,     0,                   nullptr},
      {C,  24,  24,  22, 42, kDown, CLICK, at(adfModeDown),     nullptr},
      {C,  47,  24,  22, 42, kUp,   CLICK, at(adfModeUp),       nullptr},
      {P,  27, 112,  36, 37, kNone, 0,     0,                   nullptr},
      {U,   0,   0,   0,  0, kNone, 0,     0,                   "ADF Ident"},
      {E,   0,   0,   0,  0, kNone, 0,     0,                   nullptr},
      {C,  27, 112,  36, 37, kHand, CLICK, at(adfIdentToggle),  nullptr},
      {P, 102,  50, 197, 87, kNone, 0,     0,                   nullptr},
      {U,   0,   0,   0,  0, kNone, 0,     0,                   "ADF Frequency select"},
      {E,   0,   0,   0,  0, kNone, 0,     0,                   nullptr},
      {C, 102,  50,  23, 87, kDown, KNOB,  at(adfHundredsDown), nullptr},
      {C, 174,  50,  23, 87, kUp,   KNOB,  at(adfHundredsUp),   nullptr},
      {C, 126,  67,  23, 53, kDown, KNOB,  at(adfTensDown),     nullptr},
      {C, 150,  67,  23, 53, kUp,   KNOB,  at(adfTensUp),       nullptr},
      {P, 299,  50, 197, 87, kNone, 0,     0,                   nullptr},
      {U,   0,   0,   0,  0, kNone, 0,     0,                   "ADF Frequency select"},
      {E,   0,   0,   0,  0, kNone, 0,     0,                   nullptr},
      {C, 299,  50,  23, 87, kDown, KNOB,  at(adfUnitsDown),    nullptr},
      {C, 370,  50,  23, 87, kUp,   KNOB,  at(adfUnitsUp),      nullptr},
      {C, 323,  67,  23, 53, kDown, KNOB,  at(adfTenthsDown),   nullptr},
      {C, 346,  67,  23, 53, kUp,   KNOB,  at(adfTenthsUp),     nullptr},
      {E,   0,   0,   0,  0, kNone, 0,     0,                   nullptr},
      {L,   0,   0,   0,  0, kNone, 0,     0,                   nullptr},
  });
  // clang-format on
}

TEST_F(AdfLayoutTest, TheHeaderNamesTheGaugeAndItsCallback) {
  EXPECT_EQ(gauge.name, "ADF");
  EXPECT_EQ(gauge.callback, at(adfGaugeCallback));
  EXPECT_EQ(gauge.version, 0x320u);
  EXPECT_EQ(gauge.sizeXmm, 417u);
}

TEST_F(AdfLayoutTest, TheBackgroundCarriesTheKnobsAndDrumsInOrder) {
  // clang-format off
  expectElements(gauge, {
      // kind                     bitmap                        x   y  flags  failures
      {ELEMENT_TYPE_STATIC_IMAGE, bitmap::kAdfFace.id,            0,  0, 0x1, {}},
      {ELEMENT_TYPE_ICON,         bitmap::kAdfModeKnob.id,        0,  0, 0x0, {}},
      {ELEMENT_TYPE_ICON,         bitmap::kAdfIdentKnob.id,       0, 92, 0x0, {}},
      {ELEMENT_TYPE_MOVING_IMAGE, bitmap::kAdfHundredsStrip.id, 193, 40, 0x3, {}},
      {ELEMENT_TYPE_MOVING_IMAGE, bitmap::kAdfDigitStrip.id,    229, 40, 0x3, {}},
      {ELEMENT_TYPE_MOVING_IMAGE, bitmap::kAdfDigitStrip.id,    247, 40, 0x3, {}},
      {ELEMENT_TYPE_MOVING_IMAGE, bitmap::kAdfDigitStrip.id,    275, 40, 0x3, {}},
  });
  // clang-format on
}

TEST_F(AdfLayoutTest, TheIconsAskForTheirFramesFromTheKnobs) {
  const panelhost::IconFields& mode = gauge.tree.elements[1].icon;
  const panelhost::IconFields& ident = gauge.tree.elements[2].icon;
  EXPECT_EQ(mode.frames, 4);
  EXPECT_EQ(mode.callback, at(adfModeIcon));
  EXPECT_EQ(ident.frames, 2);
  EXPECT_EQ(ident.callback, at(adfIdentIcon));
  for (const auto* icon : {&mode, &ident}) {
    EXPECT_EQ(icon->switchType, 0);
    EXPECT_EQ(icon->scale, 0.0);
    EXPECT_EQ(icon->offset, 0);
  }
}

TEST_F(AdfLayoutTest, TheDrumsMoveOnlyVerticallyOverTheirStripsRanges) {
  const struct {
    double minY, maxY;
    std::uint64_t y;
  } drums[] = {{1.0, 18.0, at(adfHundredsStripY)},
               {0.0, 10.0, at(adfTensStripY)},
               {0.0, 10.0, at(adfUnitsStripY)},
               {0.0, 10.0, at(adfTenthsStripY)}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE("drum " + std::to_string(i));
    const panelhost::MovingImageFields& drum = gauge.tree.elements[3 + i].moving;
    EXPECT_EQ(drum.minX, 0.0);
    EXPECT_EQ(drum.maxX, 0.0);
    EXPECT_EQ(drum.xCallback, at(adfStripX));
    EXPECT_EQ(drum.minY, drums[i].minY);
    EXPECT_EQ(drum.maxY, drums[i].maxY);
    EXPECT_EQ(drum.yCallback, drums[i].y);
  }
}

}  // namespace
