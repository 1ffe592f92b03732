#include "art/lettering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <stdexcept>

#include "test_files.h"

namespace {

using art::Align;
using art::Canvas;
using art::Rgb;
using art::Weight;

constexpr Rgb kPanel{30, 30, 34};
constexpr Rgb kInk{250, 250, 250};

struct Ink {
  int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN;
  int touched = 0;
  int solid = 0;  // pixels exactly the ink colour: the strokes are crisp, not smeared
};

Ink inkOf(const Canvas& c) {
  Ink ink;
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      const Rgb p = c.pixel(x, y);
      if (p == kPanel) continue;
      ++ink.touched;
      if (p == kInk) ++ink.solid;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ink.top = std::min(ink.top, y);
      ink.bottom = std::max(ink.bottom, y);
    }
  }
  return ink;
}

struct AlignCase {
  const char* name;
  Align align;
  int anchor;
};

class TextPlacement : public ::testing::TestWithParam<AlignCase> {};

INSTANTIATE_TEST_SUITE_P(Alignments, TextPlacement,
                         ::testing::Values(AlignCase{"left", Align::Left, 20},
                                           AlignCase{"center", Align::Center, 100},
                                           AlignCase{"right", Align::Right, 180}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(TextPlacement, InkStaysInTheExpectedBox) {
  const auto [name, align, anchor] = GetParam();
  const int px = 24, baseline = 50;
  const std::string text = "NAV 1";
  const int width = art::textWidth(text, px);
  const int left = align == Align::Left     ? anchor
                   : align == Align::Center ? anchor - width / 2
                                            : anchor - width;
  Canvas c(200, 80, kPanel);
  art::drawText(c, text, anchor, baseline, px, kInk, align);
  const Ink ink = inkOf(c);
  ASSERT_GT(ink.touched, 0) << "nothing drawn";
  EXPECT_GT(ink.solid, 20) << "strokes should reach the full colour";
  EXPECT_GE(ink.left, left - 1);
  EXPECT_LE(ink.left, left + 4) << "the first letter starts near the left edge";
  EXPECT_LE(ink.right, left + width + 1);
  EXPECT_GE(ink.right, left + width - 6) << "the last letter ends near the advance width";
  EXPECT_LE(ink.bottom, baseline) << "capitals and digits sit on the baseline";
  EXPECT_GE(ink.bottom, baseline - 1);
  EXPECT_GE(ink.top, baseline - px);
  EXPECT_LE(ink.top, baseline - art::capHeight(px) + 1);
}

TEST(Lettering, DescendersGoBelowTheBaseline) {
  Canvas c(100, 60, kPanel);
  art::drawText(c, "gy", 10, 30, 20, kInk, Align::Left, Weight::Regular);
  const Ink ink = inkOf(c);
  EXPECT_GT(ink.bottom, 30);
  EXPECT_LE(ink.bottom, 30 + 20 / 3);
}

TEST(Lettering, WidthScalesWithSizeAndWeight) {
  EXPECT_EQ(0, art::textWidth("", 20));
  const int small = art::textWidth("ADF 1234", 12);
  const int large = art::textWidth("ADF 1234", 24);
  EXPECT_NEAR(2.0, static_cast<double>(large) / small, 0.2);
  EXPECT_GT(art::textWidth("ADF 1234", 24, Weight::Bold),
            art::textWidth("ADF 1234", 24, Weight::Regular));
  const int capital = art::capHeight(100);
  EXPECT_GE(capital, 70);
  EXPECT_LE(capital, 76);
}

TEST(Lettering, BadInputIsReportedNotDrawn) {
  Canvas c(40, 40, kPanel);
  EXPECT_THROW(art::drawText(c, "X", 0, 20, 0, kInk), std::invalid_argument);
  EXPECT_THROW(art::textWidth("X", -3), std::invalid_argument);
  // A stray byte from a mis-encoded label draws a replacement mark rather than crashing.
  art::drawText(c, "A\xff", 2, 30, 16, kInk);
  EXPECT_GT(inkOf(c).touched, 0);
}

TEST(Lettering, NonAsciiLabelsRender) {
  Canvas c(60, 40, kPanel);
  art::drawText(c, "°", 10, 30, 24, kInk);
  const Ink ink = inkOf(c);
  ASSERT_GT(ink.touched, 0);
  EXPECT_LT(ink.bottom, 30 - 8) << "a degree sign sits high, unlike a missing-glyph box";
}

}  // namespace
