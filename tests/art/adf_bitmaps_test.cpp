// The ADF bitmaps as committed: the sizes the gauge's elements expect, 8 bits per pixel, and drum
// strips whose figures stand where the 25-pixel windows show them.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "art/bitmap_file.h"

namespace {

const std::filesystem::path kBitmaps =
    std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "resources" / "bitmaps";

std::string pathOf(int id) { return (kBitmaps / (std::to_string(id) + ".bmp")).string(); }

int bitsPerPixel(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char header[30] = {};
  in.read(reinterpret_cast<char*>(header), sizeof header);
  return header[28] | header[29] << 8;
}

// A figure pixel: light, as the figures are painted on a dark drum.
bool light(art::Rgb c) { return c.r > 128 && c.g > 128 && c.b > 128; }

bool anyLight(const art::Canvas& c, int top, int rows) {
  for (int y = top; y < top + rows; ++y)
    for (int x = 0; x < c.width(); ++x)
      if (light(c.pixel(x, y))) return true;
  return false;
}

struct Size {
  int id, width, height;
};

TEST(AdfBitmapsTest, EachBitmapHasItsSizeAndEightBitsPerPixel) {
  const Size sizes[] = {{12288, 417, 165}, {12544, 98, 87},  {12545, 98, 87}, {12546, 98, 87},
                        {12547, 98, 87},   {12800, 80, 73},  {12801, 80, 73}, {13056, 36, 486},
                        {13057, 36, 25},   {13312, 18, 297}, {13313, 18, 25}};
  for (const Size& s : sizes) {
    SCOPED_TRACE(pathOf(s.id));
    const art::Canvas c = art::readBmp(pathOf(s.id));
    EXPECT_EQ(c.width(), s.width);
    EXPECT_EQ(c.height(), s.height);
    EXPECT_EQ(bitsPerPixel(pathOf(s.id)), 8);
  }
}

TEST(AdfBitmapsTest, FiguresStandInTheTop25RowsOfEachCell) {
  const art::Canvas hundreds = art::readBmp(pathOf(13056));
  for (int cell = 0; cell < 18; ++cell) {
    SCOPED_TRACE("hundreds cell " + std::to_string(cell));
    const bool blank = cell == 0 || cell == 17;  // groups 1 and 18
    EXPECT_EQ(anyLight(hundreds, cell * 27, 25), !blank);
    EXPECT_FALSE(anyLight(hundreds, cell * 27 + 25, 2));
  }
  const art::Canvas digits = art::readBmp(pathOf(13312));
  for (int cell = 0; cell < 11; ++cell) {
    SCOPED_TRACE("digit cell " + std::to_string(cell));
    EXPECT_TRUE(anyLight(digits, cell * 27, 25));
    EXPECT_FALSE(anyLight(digits, cell * 27 + 25, 2));
  }
  // The digit strip ends on 0 again, so that 9 rolls over onto a figure.
  for (int y = 0; y < 27; ++y)
    for (int x = 0; x < 18; ++x) ASSERT_EQ(digits.pixel(x, y), digits.pixel(x, 270 + y));
}

TEST(AdfBitmapsTest, DrumWindowsAreOneColourThatShowsTheStrip) {
  for (int id : {13057, 13313}) {
    SCOPED_TRACE(pathOf(id));
    const art::Canvas c = art::readBmp(pathOf(id));
    const art::Rgb first = c.pixel(0, 0);
    EXPECT_NE(first, (art::Rgb{0, 0, 0}));
    for (int y = 0; y < c.height(); ++y)
      for (int x = 0; x < c.width(); ++x) ASSERT_EQ(c.pixel(x, y), first);
  }
}

}  // namespace
