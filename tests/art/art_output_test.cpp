#include "art/art_output.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "art/bitmap_file.h"
#include "test_files.h"

namespace {

namespace fs = std::filesystem;
using art::Canvas;
using art::Rgb;

std::string errorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(ArtOutput, WritesBitmapAndPreviewNamedByResourceId) {
  const auto dir = art_test::freshDir();
  art::ArtOutput out((dir / "res" / "nested").string(), (dir / "png").string());
  Canvas c(31, 9, Rgb{20, 30, 40});
  c.setPixel(3, 3, Rgb{0, 0, 0});
  out.save({1234, 1, 31, 9, 8}, c);
  const Canvas back = art::readBmp((dir / "res" / "nested" / "bitmaps" / "1234.bmp").string());
  EXPECT_EQ(31, back.width());
  EXPECT_EQ(9, back.height());
  EXPECT_EQ((Rgb{0, 0, 0}), back.pixel(3, 3));
  EXPECT_EQ((Rgb{20, 30, 40}), back.pixel(0, 0));
  EXPECT_TRUE(fs::exists(dir / "png" / "1234.png"));
}

TEST(ArtOutput, TheRecordsDepthSelectsTheBitCountAndItsFramesTheIds) {
  const auto dir = art_test::freshDir();
  art::ArtOutput out(dir.string(), std::nullopt);
  out.save({1, 1, 5, 5, 8}, Canvas(5, 5, Rgb{1, 2, 3}));
  out.save({2, 2, 5, 5, 24}, Canvas(5, 5, Rgb{1, 2, 3}), 1);
  EXPECT_EQ(8, art_test::le16(art_test::readBytes(dir / "bitmaps" / "1.bmp"), 28));
  EXPECT_EQ(24, art_test::le16(art_test::readBytes(dir / "bitmaps" / "3.bmp"), 28));
  EXPECT_EQ(2, std::distance(fs::directory_iterator(dir / "bitmaps"), fs::directory_iterator()))
      << "no previews when they are off";
}

TEST(ArtOutput, ACanvasOrFrameTheRecordDoesNotHaveIsRejectedWithItsId) {
  const auto dir = art_test::freshDir();
  art::ArtOutput out(dir.string(), std::nullopt);
  const BitmapRecord record{4321, 2, 5, 5, 8};
  const struct {
    int width, height, frame;
    const char* expected;
  } cases[] = {{0, 5, 0, "canvas is 0x5, expected 5x5"},
               {5, 6, 1, "bitmap 4322: canvas is 5x6"},
               {5, 5, 2, "frame 2, expected 0 to 1"}};
  for (const auto& c : cases) {
    EXPECT_NE(errorOf([&] {
                out.save(record, Canvas(c.width, c.height, Rgb{1, 1, 1}), c.frame);
              }).find(c.expected),
              std::string::npos)
        << c.expected;
  }
  EXPECT_NE(errorOf([&] {
              out.save({7, 1, 1, 1, 16}, Canvas(1, 1, Rgb{1, 1, 1}));
            }).find("bitmap 7: 16 bits per pixel"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "bitmaps" / "4321.bmp"));
}

TEST(ArtOutput, UnusableDirectoryIsNamed) {
  const auto dir = art_test::freshDir();
  art_test::writeBytes(dir / "file", {1});
  art::ArtOutput out((dir / "file" / "sub").string(), std::nullopt);
  EXPECT_NE(errorOf([&] {
              out.save({7, 1, 2, 2, 8}, Canvas(2, 2, Rgb{1, 1, 1}));
            }).find((dir / "file" / "sub").string()),
            std::string::npos);
}

TEST(ArtOutput, TheResourceScriptNumbersEveryFrameOfTheTableAndOnlyWhatWasDrawn) {
  const auto dir = art_test::freshDir();
  const BitmapRecord face{10, 1, 2, 2, 8}, knob{20, 2, 2, 2, 8}, stray{30, 1, 2, 2, 8};
  art::ArtOutput out(dir.string(), std::nullopt);
  out.save(face, Canvas(2, 2, Rgb{1, 1, 1}));
  out.save(knob, Canvas(2, 2, Rgb{1, 1, 1}), 0);
  EXPECT_NE(errorOf([&] {
              out.saveResourceScript({&face, &knob});
            }).find("bitmap 21: in the table but never drawn"),
            std::string::npos);
  out.save(knob, Canvas(2, 2, Rgb{1, 1, 1}), 1);
  out.save(stray, Canvas(2, 2, Rgb{1, 1, 1}));
  EXPECT_NE(errorOf([&] {
              out.saveResourceScript({&face, &knob});
            }).find("bitmap 30: drawn but not in the table"),
            std::string::npos);
  out.saveResourceScript({&face, &knob, &stray});
  const auto bytes = art_test::readBytes(dir / "bitmaps.rc");
  const std::string script(bytes.begin(), bytes.end());
  EXPECT_NE(script.find("10 BITMAP \"bitmaps/10.bmp\"\n20 BITMAP \"bitmaps/20.bmp\"\n"
                        "21 BITMAP \"bitmaps/21.bmp\"\n30 BITMAP \"bitmaps/30.bmp\"\n"),
            std::string::npos)
      << script;
}

}  // namespace
