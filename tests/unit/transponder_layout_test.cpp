// The "Transponder" gauge as the host reads it: the element tree it draws and the mouse table it
// hit-tests.
#include "layout_expectations.h"
#include "panel/element_reader.h"
#include "transponder_fixture.h"

namespace {

class TransponderLayout : public TransponderFixture {
 protected:
  const panelhost::GaugeRecord& gauge = *module.gauge("Transponder");
  panelhost::ModuleElementValues values{module};
};

bool overlap(const panelhost::hostabi::Box& a, const panelhost::hostabi::Box& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

TEST_F(TransponderLayout, HeaderNamesTheGaugeAndItsCallback) {
  EXPECT_EQ(gauge.address, at(&transponderGaugeHeader));
  EXPECT_EQ(gauge.callback, at(transponderGaugeCallback));
  EXPECT_EQ(gauge.sizeXmm, 417u);
}

TEST_F(TransponderLayout, AFacePlateWithFourDrumsTheKnobAndTheLamp) {
  // clang-format off
  expectElements(gauge, {
      // kind                     bitmap                      x   y flags failures
      {ELEMENT_TYPE_STATIC_IMAGE, bitmap::kXpdrFacePlate.id,    0,  0, 0x1, {}},
      {ELEMENT_TYPE_MOVING_IMAGE, bitmap::kXpdrDigitStrip.id, 154, 32, 0x3, {}},
      {ELEMENT_TYPE_MOVING_IMAGE, bitmap::kXpdrDigitStrip.id, 221, 32, 0x3, {}},
      {ELEMENT_TYPE_MOVING_IMAGE, bitmap::kXpdrDigitStrip.id, 287, 32, 0x3, {}},
      {ELEMENT_TYPE_MOVING_IMAGE, bitmap::kXpdrDigitStrip.id, 352, 32, 0x3, {}},
      {ELEMENT_TYPE_ICON,         bitmap::kXpdrModeKnob.id,     0, 36, 0x0, {}},
      // The reply lamp's list names key 21 twice, as the panels it was made for have it.
      {ELEMENT_TYPE_ICON,         bitmap::kXpdrReplyLamp.id,   32,  0, 0x3, {{17, 3}, {21, 3},
                                                                            {21, 3}}},
  });
  // clang-format on
}

TEST_F(TransponderLayout, EachDrumShowsItsDigitOverEightCells) {
  const std::uint64_t stripX[] = {at(xpdrStripX0), at(xpdrStripX1), at(xpdrStripX2),
                                  at(xpdrStripX3)};
  const std::uint64_t stripY[] = {at(xpdrStripY0), at(xpdrStripY1), at(xpdrStripY2),
                                  at(xpdrStripY3)};
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    const panelhost::ElementRecord& drum = gauge.tree.elements[1 + k];
    EXPECT_EQ(drum.moving.minX, 0.0);
    EXPECT_EQ(drum.moving.maxX, 0.0);
    EXPECT_EQ(drum.moving.minY, 0.0);
    EXPECT_EQ(drum.moving.maxY, 7.0);  // eight values over the 160-pixel strip: 20-pixel cells
    EXPECT_EQ(drum.moving.xCallback, stripX[k]);
    EXPECT_EQ(drum.moving.yCallback, stripY[k]);
    transponderState.digit[k] = 5;
    EXPECT_EQ(values.movingY(drum), 5.0);
    EXPECT_EQ(values.movingX(drum), 0.0);
  }
}

TEST_F(TransponderLayout, TheKnobHasFourFramesAndTheLampOneShownWhileLit) {
  const panelhost::ElementRecord& knob = gauge.tree.elements[5];
  const panelhost::ElementRecord& lamp = gauge.tree.elements[6];
  EXPECT_EQ(knob.icon.frames, 4);
  EXPECT_EQ(lamp.icon.frames, 1);
  modeUp(2);
  EXPECT_EQ(values.iconFrame(knob), 2.0);
  EXPECT_EQ(values.iconFrame(lamp), -1.0);
  update();
  EXPECT_EQ(values.iconFrame(lamp), 0.0);
}

TEST_F(TransponderLayout, EveryMouseEntryHasTheBoxOfItsControl) {
  // clang-format off
  expectMouseTable(gauge, {
      {P,   0,  0,   0,  0, kNone, 0,          0,                   nullptr},
      {P,  44, 39,  41, 46, kNone, 0,          0,                   nullptr},
      {U,   0,  0,   0,  0, kNone, 0,          0,                   "Transponder Mode"},
      {E,   0,  0,   0,  0, kNone, 0,          0,                   nullptr},
      {C,  44, 39,  41, 26, kUp,   0x20000000, at(xpdrModeUp),      nullptr},
      {C,  44, 66,  41, 20, kDown, 0x20000000, at(xpdrModeDown),    nullptr},
      {P, 142, 54, 239, 31, kNone, 0,          0,                   nullptr},
      {U,   0,  0,   0,  0, kNone, 0,          0,                   "Transponder Code select"},
      {E,   0,  0,   0,  0, kNone, 0,          0,                   nullptr},
      {C, 142, 54,  20, 31, kDown, 0x20206000, at(xpdrDigit0Down),  nullptr},
      {C, 163, 54,  20, 31, kUp,   0x20206000, at(xpdrDigit0Up),    nullptr},
      {C, 209, 54,  20, 31, kDown, 0x20206000, at(xpdrDigit1Down),  nullptr},
      {C, 230, 54,  20, 31, kUp,   0x20206000, at(xpdrDigit1Up),    nullptr},
      {C, 275, 54,  20, 31, kDown, 0x20206000, at(xpdrDigit2Down),  nullptr},
      {C, 296, 54,  20, 31, kUp,   0x20206000, at(xpdrDigit2Up),    nullptr},
      {C, 340, 54,  20, 31, kDown, 0x20206000, at(xpdrDigit3Down),  nullptr},
      {C, 361, 54,  20, 31, kUp,   0x20206000, at(xpdrDigit3Up),    nullptr},
      {P, 101, 80,  22, 21, kNone, 0,          0,                   nullptr},
      {U,   0,  0,   0,  0, kNone, 0,          0,                   "Test Mode"},
      {E,   0,  0,   0,  0, kNone, 0,          0,                   nullptr},
      {C, 101, 80,  22, 21, kHand, 0x20020000, at(xpdrTestButton),  nullptr},
      {P, 104, 11,  24, 21, kNone, 0,          0,                   nullptr},
      {U,   0,  0,   0,  0, kNone, 0,          0,                   "Squawk Ident"},
      {E,   0,  0,   0,  0, kNone, 0,          0,                   nullptr},
      {C, 104, 11,  24, 21, kHand, 0x20000000, at(xpdrIdentButton), nullptr},
      {E,   0,  0,   0,  0, kNone, 0,          0,                   nullptr},
      {L,   0,  0,   0,  0, kNone, 0,          0,                   nullptr},
  });
  // clang-format on
}

TEST_F(TransponderLayout, NoTwoChildBoxesOverlap) {
  std::vector<panelhost::hostabi::Box> children;
  for (const auto& entry : gauge.mouse) {
    if (entry.kind == MOUSE_RECT_CHILD) children.push_back(entry.box);
  }
  ASSERT_EQ(children.size(), 12u);
  for (std::size_t i = 0; i < children.size(); ++i) {
    for (std::size_t j = i + 1; j < children.size(); ++j) {
      EXPECT_FALSE(overlap(children[i], children[j])) << i << ", " << j;
    }
  }
}

}  // namespace
