#include "art/art_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "art/bitmap_file.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;
using art::Canvas;
using art::Depth;
using art::Rgb;

TEST(ArtOutput, WritesBitmapAndPreviewNamedByResourceId) {
  const auto dir = art_test::freshDir();
  art::ArtOutput out((dir / "bmp" / "nested").string(), (dir / "png").string());
  Canvas c(31, 9, Rgb{20, 30, 40});
  c.setPixel(3, 3, Rgb{0, 0, 0});
  out.save(1234, c);
  const Canvas back = art::readBmp((dir / "bmp" / "nested" / "1234.bmp").string());
  EXPECT_EQ(31, back.width());
  EXPECT_EQ(9, back.height());
  EXPECT_EQ((Rgb{0, 0, 0}), back.pixel(3, 3));
  EXPECT_EQ((Rgb{20, 30, 40}), back.pixel(0, 0));
  EXPECT_TRUE(fs::exists(dir / "png" / "1234.png"));
}

TEST(ArtOutput, DepthSelectsTheBitCount) {
  const auto dir = art_test::freshDir();
  art::ArtOutput out(dir.string(), std::nullopt);
  out.save(1, Canvas(5, 5, Rgb{1, 2, 3}), Depth::Paletted8);
  out.save(2, Canvas(5, 5, Rgb{1, 2, 3}), Depth::Rgb24);
  EXPECT_EQ(8, art_test::le16(art_test::readBytes(dir / "1.bmp"), 28));
  EXPECT_EQ(24, art_test::le16(art_test::readBytes(dir / "2.bmp"), 28));
  EXPECT_EQ(2, std::distance(fs::directory_iterator(dir), fs::directory_iterator()))
      << "no previews when they are off";
}

TEST(ArtOutput, EmptyCanvasIsRejectedWithItsId) {
  const auto dir = art_test::freshDir();
  art::ArtOutput out(dir.string(), std::nullopt);
  for (auto [w, h] : {std::pair{0, 5}, {5, 0}}) {
    try {
      out.save(4321, Canvas(w, h, Rgb{1, 1, 1}));
      ADD_FAILURE() << "expected an error for " << w << "x" << h;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("4321"), std::string::npos) << e.what();
    }
  }
  EXPECT_FALSE(fs::exists(dir / "4321.bmp"));
}

TEST(ArtOutput, UnusableDirectoryIsNamed) {
  const auto dir = art_test::freshDir();
  art_test::writeBytes(dir / "file", {1});
  art::ArtOutput out((dir / "file" / "sub").string(), std::nullopt);
  try {
    out.save(7, Canvas(2, 2, Rgb{1, 1, 1}));
    FAIL() << "expected an error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find((dir / "file" / "sub").string()), std::string::npos)
        << e.what();
  }
}

}  // namespace
