#include "art/knob.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "test_files.h"

namespace {

using art::Canvas;
using art::Rgb;

constexpr Rgb kPanel{42, 42, 46};

struct PointerCase {
  double degrees;
  int dx, dy;  // unit step towards where the pointer should be
};

class KnobPointer : public ::testing::TestWithParam<PointerCase> {};

// 0 is up and angles grow clockwise; a sign slip would mirror every pointer on the panel.
INSTANTIATE_TEST_SUITE_P(Angles, KnobPointer,
                         ::testing::Values(PointerCase{0, 0, -1}, PointerCase{90, 1, 0},
                                           PointerCase{180, 0, 1}, PointerCase{270, -1, 0},
                                           PointerCase{-90, -1, 0}));

TEST_P(KnobPointer, PointsWhereTheAngleSays) {
  const auto [degrees, dx, dy] = GetParam();
  Canvas c(101, 101, kPanel);
  drawKnob(c, 50.5, 50.5, 40, art::blackPlasticKnob(), degrees);
  const Rgb towards = c.pixel(50 + dx * 18, 50 + dy * 18);
  const Rgb away = c.pixel(50 - dx * 18, 50 - dy * 18);
  EXPECT_GT(towards.g, 200) << "pointer should be bright";
  EXPECT_LT(away.g, 150) << "no pointer on the opposite side";
}

TEST(Knob, NoPointerWhenNotAsked) {
  Canvas c(101, 101, kPanel);
  drawKnob(c, 50.5, 50.5, 40, art::blackPlasticKnob(), std::nullopt);
  for (int r = 8; r < 25; ++r) EXPECT_LT(c.pixel(50, 50 - r).g, 200) << "r " << r;
}

TEST(Knob, GripMarksAlternateRoundTheEdge) {
  Canvas plain(101, 101, kPanel), gripped(101, 101, kPanel);
  art::KnobStyle style = art::metalKnob();
  style.gripMarks = 0;
  drawKnob(plain, 50.5, 50.5, 40, style, std::nullopt);
  style.gripMarks = 24;
  drawKnob(gripped, 50.5, 50.5, 40, style, std::nullopt);
  // Walk round the skirt: each notch differs from the smooth knob, the gaps between them do not.
  int changes = 0;
  bool wasDark = false;
  for (int i = 0; i < 720; ++i) {
    const double a = i * 3.14159265358979 / 360;
    const int x = static_cast<int>(50.5 + 33 * std::sin(a));
    const int y = static_cast<int>(50.5 - 33 * std::cos(a));
    const bool dark = std::abs(gripped.pixel(x, y).g - plain.pixel(x, y).g) > 12;
    if (i > 0 && dark != wasDark) ++changes;
    wasDark = dark;
  }
  EXPECT_GE(changes, 2 * 20) << "expected about 24 marks";
}

using Part = std::function<void(Canvas&)>;

struct PartCase {
  const char* name;
  Part draw;
  int left, top, right, bottom;  // everything drawn must stay inside, shadows included
};

class PanelParts : public ::testing::TestWithParam<PartCase> {};

INSTANTIATE_TEST_SUITE_P(
    All, PanelParts,
    ::testing::Values(
        PartCase{"knob", [](Canvas& c) { drawKnob(c, 60, 50, 30, art::blackPlasticKnob(), 30.0); },
                 29, 19, 93, 84},
        PartCase{"dualKnob",
                 [](Canvas& c) {
                   drawDualKnob(c, 60, 50, 36, 20, art::blackPlasticKnob(), art::metalKnob());
                 },
                 23, 13, 99, 90},
        PartCase{"button", [](Canvas& c) { drawPushButton(c, 20, 30, 70, 28, "IDENT", 13); }, 20,
                 30, 90, 58},
        PartCase{"window", [](Canvas& c) { drawDisplayWindow(c, 10, 10, 100, 40); }, 10, 10, 109,
                 49},
        PartCase{"screw", [](Canvas& c) { drawScrew(c, 60, 50, 7); }, 52, 42, 68, 58}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(PanelParts, StayInTheirFootprint) {
  const PartCase& k = GetParam();
  Canvas c(120, 100, kPanel);
  k.draw(c);
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      if (x >= k.left && x <= k.right && y >= k.top && y <= k.bottom) continue;
      ASSERT_EQ(kPanel, c.pixel(x, y)) << "stray paint at (" << x << "," << y << ")";
    }
  }
}

// Pure black is the transparent colour, so a part that paints it would show holes in the panel.
TEST_P(PanelParts, NeverPaintPureBlack) {
  Canvas c(120, 100, kPanel);
  GetParam().draw(c);
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      ASSERT_NE((Rgb{0, 0, 0}), c.pixel(x, y)) << "at (" << x << "," << y << ")";
    }
  }
}

TEST(PushButton, LabelIsCentredAndWhite) {
  Canvas c(120, 60, kPanel);
  drawPushButton(c, 10, 10, 100, 40, "I", 20);
  int left = 1000, right = -1, top = 1000, bottom = -1;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 120; ++x) {
      const Rgb p = c.pixel(x, y);
      if (p.r > 220 && p.g > 220 && p.b > 220) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
    }
  }
  ASSERT_GE(right, 0) << "no white label";
  EXPECT_NEAR(60, (left + right + 1) / 2.0, 2.0);
  EXPECT_NEAR(30, (top + bottom + 1) / 2.0, 2.0);
}

}  // namespace
