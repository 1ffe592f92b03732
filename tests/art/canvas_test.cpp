#include "art/canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <stdexcept>

#include "test_files.h"

namespace {

using art::Canvas;
using art::Rgb;

constexpr double kPi = 3.14159265358979323846;
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// Painted area in pixels, counting a partly covered pixel by its coverage (white on black).
double paintedArea(const Canvas& c) {
  double sum = 0;
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) sum += c.pixel(x, y).g / 255.0;
  }
  return sum;
}

int partlyCoveredPixels(const Canvas& c) {
  int n = 0;
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      const int g = c.pixel(x, y).g;
      if (g > 0 && g < 255) ++n;
    }
  }
  return n;
}

struct AreaCase {
  const char* name;
  std::function<void(Canvas&)> draw;
  double expectedArea;
  double tolerance;  // fraction of the expected area
};

class ShapeArea : public ::testing::TestWithParam<AreaCase> {};

// Anti-aliased coverage must add up to the true area, or shapes come out fat or thin.
INSTANTIATE_TEST_SUITE_P(
    Shapes, ShapeArea,
    ::testing::Values(
        AreaCase{"circle", [](Canvas& c) { c.fillCircle(30.3, 29.7, 12.5, kWhite); },
                 kPi * 12.5 * 12.5, 0.01},
        AreaCase{"smallCircle", [](Canvas& c) { c.fillCircle(10, 10, 2.5, kWhite); },
                 kPi * 2.5 * 2.5, 0.06},
        AreaCase{"ring", [](Canvas& c) { c.fillRing(30, 30, 20, 14, kWhite); },
                 kPi*(20 * 20 - 14 * 14), 0.01},
        AreaCase{"shadedDisc", [](Canvas& c) { c.shadedDisc(30, 30, 15, kWhite, kWhite); },
                 kPi * 15 * 15, 0.01},
        AreaCase{"squareRect", [](Canvas& c) { c.fillRoundedRect(5, 6, 20, 10, 0, kWhite); }, 200,
                 0.0},
        AreaCase{"roundedRect", [](Canvas& c) { c.fillRoundedRect(5, 5, 40, 20, 6, kWhite); },
                 800 - (4 - kPi) * 36, 0.01},
        AreaCase{"stroke", [](Canvas& c) { c.strokeRoundedRect(5, 5, 40, 20, 0, 2, kWhite); },
                 800 - 36 * 16, 0.01},
        AreaCase{"horizontalLine", [](Canvas& c) { c.line(10, 20.5, 40, 20.5, 3, kWhite); },
                 30 * 3 + kPi * 1.5 * 1.5, 0.03},
        AreaCase{"diagonalLine", [](Canvas& c) { c.line(10, 10, 40, 50, 2, kWhite); }, 50 * 2 + kPi,
                 0.03}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_P(ShapeArea, CoverageMatchesGeometry) {
  Canvas c(64, 64, kBlack);
  GetParam().draw(c);
  const double expected = GetParam().expectedArea;
  EXPECT_NEAR(expected, paintedArea(c), expected * GetParam().tolerance + 1e-9);
}

TEST(Circle, EdgeIsAntiAliasedAndInsideIsSolid) {
  Canvas c(40, 40, kBlack);
  c.fillCircle(20, 20, 10, kWhite);
  EXPECT_EQ(kWhite, c.pixel(20, 20));
  EXPECT_EQ(kWhite, c.pixel(14, 20));
  EXPECT_EQ(kBlack, c.pixel(20, 8));
  EXPECT_EQ(kBlack, c.pixel(2, 2));
  EXPECT_GT(partlyCoveredPixels(c), 30) << "a hard-edged circle would have none";
}

TEST(Ring, LeavesTheHoleAlone) {
  Canvas c(40, 40, Rgb{5, 6, 7});
  c.fillRing(20, 20, 15, 8, kWhite);
  EXPECT_EQ((Rgb{5, 6, 7}), c.pixel(20, 20));
  EXPECT_EQ(kWhite, c.pixel(20, 20 + 11));
}

TEST(RoundedRect, CornersAreCutAndStrokeStaysInside) {
  Canvas c(60, 40, kBlack);
  c.fillRoundedRect(10, 10, 30, 20, 8, kWhite);
  EXPECT_EQ(kBlack, c.pixel(10, 10)) << "corner pixel must be cut away";
  EXPECT_EQ(kWhite, c.pixel(25, 10)) << "straight top edge is solid";
  EXPECT_EQ(kBlack, c.pixel(25, 9));

  Canvas s(60, 40, kBlack);
  s.strokeRoundedRect(10, 10, 30, 20, 4, 2, kWhite);
  EXPECT_EQ(kWhite, s.pixel(25, 10));
  EXPECT_EQ(kWhite, s.pixel(25, 11));
  EXPECT_EQ(kBlack, s.pixel(25, 12)) << "interior stays clear";
  EXPECT_EQ(kBlack, s.pixel(25, 9)) << "stroke never grows the footprint";
  EXPECT_EQ(kBlack, s.pixel(40, 20));
}

TEST(Blend, MixesAndClamps) {
  struct Case {
    double alpha;
    Rgb expected;
  };
  for (const Case& k :
       {Case{0.0, {100, 0, 200}}, Case{1.0, {0, 200, 100}}, Case{0.5, {50, 100, 150}},
        Case{-3.0, {100, 0, 200}}, Case{7.0, {0, 200, 100}}}) {
    Canvas c(1, 1, Rgb{100, 0, 200});
    c.blend(0, 0, Rgb{0, 200, 100}, k.alpha);
    EXPECT_EQ(k.expected, c.pixel(0, 0)) << "alpha " << k.alpha;
  }
}

TEST(Bounds, OutOfRangeIsHarmless) {
  Canvas c(8, 4, Rgb{9, 9, 9});
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {8, 0}, {0, 4}}) {
    c.setPixel(x, y, kWhite);
    c.blend(x, y, kWhite, 1.0);
    EXPECT_EQ(kBlack, c.pixel(x, y));
  }
  c.fillRect(-5, -5, 100, 100, Rgb{1, 2, 3});
  c.fillCircle(-100, -100, 5, kWhite);
  c.line(-50, -50, 50, 50, 3, kWhite);
  EXPECT_EQ(kWhite, c.pixel(1, 1)) << "line through the canvas still draws inside it";
  EXPECT_EQ((Rgb{1, 2, 3}), c.pixel(7, 0));
  EXPECT_THROW(Canvas(-1, 4, kBlack), std::invalid_argument);
}

TEST(Gradient, EndRowsAreExact) {
  Canvas c(4, 10, kBlack);
  c.verticalGradient(1, 0, 2, 10, Rgb{200, 100, 0}, Rgb{0, 100, 200});
  EXPECT_EQ((Rgb{200, 100, 0}), c.pixel(1, 0));
  EXPECT_EQ((Rgb{0, 100, 200}), c.pixel(2, 9));
  EXPECT_EQ(kBlack, c.pixel(0, 5)) << "outside the band";
  EXPECT_GT(c.pixel(1, 3).r, c.pixel(1, 6).r) << "monotonic from top to bottom";
}

TEST(ShadedDisc, LitFromTopLeft) {
  Canvas c(50, 50, kBlack);
  c.shadedDisc(25, 25, 20, Rgb{220, 220, 220}, Rgb{40, 40, 40});
  EXPECT_GT(c.pixel(15, 15).g, c.pixel(35, 35).g + 60);
  EXPECT_EQ(kBlack, c.pixel(2, 2));
}

TEST(Blit, ClipsAtEveryEdge) {
  Canvas src(3, 3, kBlack);
  src.setPixel(0, 0, Rgb{1, 1, 1});
  src.setPixel(2, 2, Rgb{9, 9, 9});
  Canvas dst(4, 4, Rgb{5, 5, 5});
  dst.blit(src, -2, -2);
  EXPECT_EQ((Rgb{9, 9, 9}), dst.pixel(0, 0));
  EXPECT_EQ((Rgb{5, 5, 5}), dst.pixel(1, 1));
  dst.blit(src, 3, 3);
  EXPECT_EQ((Rgb{1, 1, 1}), dst.pixel(3, 3));
}

}  // namespace
