#include "art/bitmap_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "test_files.h"

namespace {

using art::Canvas;
using art::Rgb;
using art_test::freshDir;
using art_test::le16;
using art_test::le32;
using art_test::readBytes;

// Every pixel different and no pixel black, so a swapped channel, flipped row or lost padding
// byte shows up as a mismatch.
Canvas richPattern(int w, int h) {
  Canvas c(w, h, Rgb{0, 0, 0});
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      c.setPixel(x, y,
                 Rgb{static_cast<uint8_t>(x * 7 + 1), static_cast<uint8_t>(y * 13 + 2),
                     static_cast<uint8_t>((x + y) * 3 + 5)});
    }
  }
  return c;
}

// Exactly `colours` distinct colours, one of which is pure black.
Canvas fewColours(int w, int h, int colours) {
  Canvas c(w, h, Rgb{0, 0, 0});
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int i = (x + y * w) % colours;
      c.setPixel(x, y,
                 i == 0 ? Rgb{0, 0, 0}
                        : Rgb{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                              static_cast<uint8_t>(i * 3)});
    }
  }
  return c;
}

void expectSamePixels(const Canvas& expected, const Canvas& actual) {
  ASSERT_EQ(expected.width(), actual.width());
  ASSERT_EQ(expected.height(), actual.height());
  for (int y = 0; y < expected.height(); ++y) {
    for (int x = 0; x < expected.width(); ++x) {
      const Rgb e = expected.pixel(x, y), a = actual.pixel(x, y);
      ASSERT_TRUE(e == a) << "pixel (" << x << "," << y << ") expected " << int(e.r) << ","
                          << int(e.g) << "," << int(e.b) << " got " << int(a.r) << "," << int(a.g)
                          << "," << int(a.b);
    }
  }
}

struct Size {
  int w, h;
};

class BmpRoundTrip : public ::testing::TestWithParam<Size> {};

// Widths cover every row-padding remainder for both depths.
INSTANTIATE_TEST_SUITE_P(Sizes, BmpRoundTrip,
                         ::testing::Values(Size{1, 1}, Size{2, 3}, Size{3, 2}, Size{4, 4},
                                           Size{29, 7}, Size{417, 5}, Size{6, 31}));

TEST_P(BmpRoundTrip, TwentyFourBitKeepsEveryPixel) {
  const auto [w, h] = GetParam();
  const auto path = (freshDir() / "rgb.bmp").string();
  const Canvas original = richPattern(w, h);
  art::writeBmp24(path, original);
  expectSamePixels(original, art::readBmp(path));
}

TEST_P(BmpRoundTrip, PalettedIsExactForFewColours) {
  const auto [w, h] = GetParam();
  const auto path = (freshDir() / "pal.bmp").string();
  const Canvas original = fewColours(w, h, 256);  // black plus the 255 others that fit
  art::writeBmp8(path, original);
  expectSamePixels(original, art::readBmp(path));
}

TEST_P(BmpRoundTrip, FileSizeAndHeadersMatchTheImage) {
  const auto [w, h] = GetParam();
  const auto dir = freshDir();
  for (int bits : {8, 24}) {
    SCOPED_TRACE("bits " + std::to_string(bits));
    const auto path = dir / ("h" + std::to_string(bits) + ".bmp");
    if (bits == 8) {
      art::writeBmp8(path.string(), richPattern(w, h));
    } else {
      art::writeBmp24(path.string(), richPattern(w, h));
    }
    const auto b = readBytes(path);
    const uint32_t stride = ((w * bits + 31) / 32) * 4;
    const uint32_t paletteBytes = bits == 8 ? 256 * 4 : 0;
    ASSERT_GE(b.size(), 54u);
    EXPECT_EQ('B', b[0]);
    EXPECT_EQ('M', b[1]);
    EXPECT_EQ(b.size(), le32(b, 2)) << "bfSize";
    EXPECT_EQ(54 + paletteBytes, le32(b, 10)) << "bfOffBits";
    EXPECT_EQ(40u, le32(b, 14)) << "biSize";
    EXPECT_EQ(uint32_t(w), le32(b, 18));
    EXPECT_EQ(uint32_t(h), le32(b, 22)) << "positive height: bottom-up rows";
    EXPECT_EQ(1, le16(b, 26)) << "biPlanes";
    EXPECT_EQ(bits, le16(b, 28)) << "biBitCount";
    EXPECT_EQ(0u, le32(b, 30)) << "biCompression";
    EXPECT_EQ(stride * h, le32(b, 34)) << "biSizeImage";
    EXPECT_EQ(bits == 8 ? 256u : 0u, le32(b, 46)) << "biClrUsed";
    EXPECT_EQ(54 + paletteBytes + stride * h, b.size());
  }
}

TEST(BmpLayout, BottomRowIsStoredFirst) {
  const auto path = (freshDir() / "rows.bmp").string();
  Canvas c(2, 2, Rgb{10, 20, 30});
  c.setPixel(0, 1, Rgb{200, 100, 50});
  art::writeBmp24(path, c);
  const auto b = readBytes(path);
  // First stored pixel is the bottom-left one, in blue-green-red order.
  EXPECT_EQ(50, b[54]);
  EXPECT_EQ(100, b[55]);
  EXPECT_EQ(200, b[56]);
}

TEST(BmpTransparency, OnlyPureBlackUsesPaletteEntryZero) {
  const auto path = freshDir() / "black.bmp";
  // Thousands of colours force quantisation, with near-blacks crowded by a dark gradient, which
  // is where a careless median cut would average them into black.
  Canvas c(300, 40, Rgb{0, 0, 0});
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 300; ++x) {
      c.setPixel(x, y,
                 Rgb{static_cast<uint8_t>(x % 12), static_cast<uint8_t>(y % 9),
                     static_cast<uint8_t>((x * y) % 251)});
    }
  }
  const Rgb nearBlacks[] = {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}, {2, 2, 2}, {1, 1, 1}};
  for (int i = 0; i < 5; ++i) c.setPixel(i, 0, nearBlacks[i]);
  c.setPixel(10, 10, Rgb{0, 0, 0});
  c.setPixel(299, 39, Rgb{0, 0, 0});
  art::writeBmp8(path.string(), c);

  const auto b = readBytes(path);
  EXPECT_EQ(0, b[54]);
  EXPECT_EQ(0, b[55]);
  EXPECT_EQ(0, b[56]) << "palette entry 0 must be black";
  for (int i = 1; i < 256; ++i) {
    const size_t at = 54 + i * 4;
    EXPECT_FALSE(b[at] == 0 && b[at + 1] == 0 && b[at + 2] == 0)
        << "palette entry " << i << " is black too";
  }
  const Canvas back = art::readBmp(path.string());
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      const bool wasBlack = c.pixel(x, y) == Rgb{0, 0, 0};
      const bool isBlack = back.pixel(x, y) == Rgb{0, 0, 0};
      ASSERT_EQ(wasBlack, isBlack) << "pixel (" << x << "," << y << ")";
    }
  }
}

TEST(BmpQuantise, RichGradientHasSmallError) {
  const auto path = (freshDir() / "gradient.bmp").string();
  Canvas c(256, 96, Rgb{0, 0, 0});
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 256; ++x) {
      c.setPixel(x, y,
                 Rgb{static_cast<uint8_t>(x), static_cast<uint8_t>(255 - y * 2),
                     static_cast<uint8_t>(40 + (x + y) / 4)});
    }
  }
  art::writeBmp8(path, c);
  const Canvas back = art::readBmp(path);
  double total = 0;
  int worst = 0;
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 256; ++x) {
      const Rgb a = c.pixel(x, y), q = back.pixel(x, y);
      const int e = std::abs(a.r - q.r) + std::abs(a.g - q.g) + std::abs(a.b - q.b);
      total += e;
      worst = std::max(worst, e);
    }
  }
  EXPECT_LT(total / (256 * 96), 12.0) << "mean summed channel error";
  EXPECT_LT(worst, 48) << "worst summed channel error";
}

TEST(BmpQuantise, SameImageGivesSameBytes) {
  const auto dir = freshDir();
  const Canvas c = richPattern(120, 50);
  art::writeBmp8((dir / "a.bmp").string(), c);
  art::writeBmp8((dir / "b.bmp").string(), c);
  EXPECT_EQ(readBytes(dir / "a.bmp"), readBytes(dir / "b.bmp"));
}

struct Corruption {
  const char* name;
  size_t offset;
  std::vector<uint8_t> bytes;  // empty: truncate the file at offset
  const char* expectedInMessage;
};

class BmpReadErrors : public ::testing::TestWithParam<Corruption> {};

INSTANTIATE_TEST_SUITE_P(Cases, BmpReadErrors,
                         ::testing::Values(Corruption{"signature", 0, {'X', 'Y'}, "BM"},
                                           Corruption{"bits32", 28, {32, 0}, "bits per pixel"},
                                           Corruption{"rle", 30, {1, 0, 0, 0}, "compression"},
                                           Corruption{"zeroWidth", 18, {0, 0, 0, 0}, "size"},
                                           Corruption{"truncatedPixels", 70, {}, "pixel data"},
                                           Corruption{"truncatedHeader", 20, {}, "at least 54"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_P(BmpReadErrors, NamesTheFileAndTheProblem) {
  const Corruption& k = GetParam();
  const auto path = freshDir() / "broken.bmp";
  art::writeBmp24(path.string(), richPattern(9, 4));
  auto b = readBytes(path);
  if (k.bytes.empty()) {
    b.resize(k.offset);
  } else {
    std::copy(k.bytes.begin(), k.bytes.end(), b.begin() + static_cast<long>(k.offset));
  }
  art_test::writeBytes(path, b);
  try {
    art::readBmp(path.string());
    FAIL() << "expected an error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find(k.expectedInMessage), std::string::npos) << e.what();
  }
}

TEST(BmpErrors, MissingFileIsNamed) {
  const auto path = (freshDir() / "absent.bmp").string();
  try {
    art::readBmp(path);
    FAIL() << "expected an error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
  }
}

TEST(BmpErrors, WritersNameTheUnwritablePath) {
  const auto path = (freshDir() / "no" / "such" / "dir" / "x").string();
  const Canvas c(4, 4, Rgb{9, 9, 9});
  using Writer = void (*)(const std::string&, const Canvas&);
  for (Writer write : {Writer{art::writeBmp8}, Writer{art::writeBmp24}, Writer{art::writePng}}) {
    try {
      write(path, c);
      ADD_FAILURE() << "expected an error";
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
  }
}

TEST(Png, WritesAPngOfTheRightWidth) {
  const auto path = freshDir() / "p.png";
  art::writePng(path.string(), richPattern(17, 5));
  const auto b = readBytes(path);
  const std::vector<uint8_t> signature{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  ASSERT_GE(b.size(), 24u);
  EXPECT_TRUE(std::equal(signature.begin(), signature.end(), b.begin()));
  EXPECT_EQ(17u, uint32_t{b[16]} << 24 | uint32_t{b[17]} << 16 | uint32_t{b[18]} << 8 | b[19])
      << "IHDR width";
}

}  // namespace
