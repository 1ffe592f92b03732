// The bitmaps as committed: every frame of every record at its size and depth, and the ADF drum
// strips with their figures where the windows show them.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "art/bitmap_file.h"
#include "resources/bitmaps.h"

namespace {

const std::filesystem::path kBitmaps = RADIOS_BITMAPS_DIR;

std::string pathOf(std::uint32_t id) { return (kBitmaps / (std::to_string(id) + ".bmp")).string(); }

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

TEST(CommittedBitmapsTest, EachFrameOfEachRecordHasItsSizeAndDepth) {
  for (const BitmapRecord* record : bitmap::kAll) {
    for (int frame = 0; frame < record->frames; ++frame) {
      const std::string path = pathOf(record->frameId(frame));
      SCOPED_TRACE(path);
      const art::Canvas c = art::readBmp(path);
      EXPECT_EQ(c.width(), record->width);
      EXPECT_EQ(c.height(), record->height);
      EXPECT_EQ(bitsPerPixel(path), record->bitsPerPixel);
    }
  }
}

// The ADF strips' cells are 27 pixels high; a window shows the top 25 rows of one.
TEST(CommittedBitmapsTest, AdfFiguresStandInTheTop25RowsOfEachCell) {
  const art::Canvas hundreds = art::readBmp(pathOf(bitmap::kAdfHundredsStrip.id));
  for (int cell = 0; cell < 18; ++cell) {
    SCOPED_TRACE("hundreds cell " + std::to_string(cell));
    const bool blank = cell == 0 || cell == 17;  // groups 1 and 18
    EXPECT_EQ(anyLight(hundreds, cell * 27, 25), !blank);
    EXPECT_FALSE(anyLight(hundreds, cell * 27 + 25, 2));
  }
  const art::Canvas digits = art::readBmp(pathOf(bitmap::kAdfDigitStrip.id));
  for (int cell = 0; cell < 11; ++cell) {
    SCOPED_TRACE("digit cell " + std::to_string(cell));
    EXPECT_TRUE(anyLight(digits, cell * 27, 25));
    EXPECT_FALSE(anyLight(digits, cell * 27 + 25, 2));
  }
  // The digit strip ends on 0 again, so that 9 rolls over onto a figure.
  for (int y = 0; y < 27; ++y)
    for (int x = 0; x < 18; ++x) ASSERT_EQ(digits.pixel(x, y), digits.pixel(x, 270 + y));
}

TEST(CommittedBitmapsTest, AdfDrumWindowsAreOneColourThatShowsTheStrip) {
  for (std::uint32_t id : {bitmap::kAdfHundredsWindow.id, bitmap::kAdfDigitWindow.id}) {
    SCOPED_TRACE(pathOf(id));
    const art::Canvas c = art::readBmp(pathOf(id));
    const art::Rgb first = c.pixel(0, 0);
    EXPECT_NE(first, (art::Rgb{0, 0, 0}));
    for (int y = 0; y < c.height(); ++y)
      for (int x = 0; x < c.width(); ++x) ASSERT_EQ(c.pixel(x, y), first);
  }
}

}  // namespace
