// Bitmap files and scratch folders for the renderer's tests: BMPs written byte by byte as Windows
// lays them out, so the reader is tested against the format rather than against itself.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "render/image.h"

namespace rendertest {

inline void putU16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b.at(at) = static_cast<std::uint8_t>(v);
  b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}
inline void putU32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.at(at + i) = static_cast<std::uint8_t>(v >> (8 * i));
}

struct BmpOptions {
  int bitsPerPixel = 24;  // 8: a colour table of the picture's distinct colours
  bool topDown = false;
};

// Encodes `image` as an uncompressed BMP.
inline std::vector<std::uint8_t> encodeBmp(const panelhost::Image& image, BmpOptions options = {}) {
  std::vector<panelhost::Rgba> palette;
  std::vector<std::uint8_t> indices;
  if (options.bitsPerPixel == 8) {
    for (const auto& p : image.pixels()) {
      std::size_t i = 0;
      while (i < palette.size() && palette[i] != p) ++i;
      if (i == palette.size()) palette.push_back(p);
      indices.push_back(static_cast<std::uint8_t>(i));
    }
  }
  const std::size_t rowBytes =
      static_cast<std::size_t>((image.width() * options.bitsPerPixel + 31) / 32 * 4);
  const std::size_t pixelOffset = 14 + 40 + palette.size() * 4;
  std::vector<std::uint8_t> b(pixelOffset + rowBytes * static_cast<std::size_t>(image.height()));
  b[0] = 'B';
  b[1] = 'M';
  putU32(b, 2, static_cast<std::uint32_t>(b.size()));
  putU32(b, 10, static_cast<std::uint32_t>(pixelOffset));
  putU32(b, 14, 40);
  putU32(b, 18, static_cast<std::uint32_t>(image.width()));
  putU32(b, 22, static_cast<std::uint32_t>(options.topDown ? -image.height() : image.height()));
  putU16(b, 26, 1);
  putU16(b, 28, static_cast<std::uint32_t>(options.bitsPerPixel));
  putU32(b, 46, static_cast<std::uint32_t>(palette.size()));
  for (std::size_t i = 0; i < palette.size(); ++i) {
    b[54 + i * 4] = palette[i].b;
    b[54 + i * 4 + 1] = palette[i].g;
    b[54 + i * 4 + 2] = palette[i].r;
  }
  for (int y = 0; y < image.height(); ++y) {
    const int row = options.topDown ? y : image.height() - 1 - y;
    for (int x = 0; x < image.width(); ++x) {
      const std::size_t at = pixelOffset + static_cast<std::size_t>(row) * rowBytes;
      if (options.bitsPerPixel == 8) {
        b[at + x] = indices[static_cast<std::size_t>(y) * image.width() + x];
      } else {
        const auto p = image.at(x, y);
        b[at + x * 3] = p.b;
        b[at + x * 3 + 1] = p.g;
        b[at + x * 3 + 2] = p.r;
      }
    }
  }
  return b;
}

// A picture whose every pixel differs from its neighbours, so a shifted copy shows.
inline panelhost::Image patterned(int width, int height, int seed = 0) {
  panelhost::Image image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.set(x, y,
                panelhost::opaque(static_cast<std::uint8_t>(10 + x * 7 + seed),
                                  static_cast<std::uint8_t>(10 + y),
                                  static_cast<std::uint8_t>(200 - seed)));
    }
  }
  return image;
}

inline panelhost::Image filled(int width, int height, panelhost::Rgba colour) {
  return panelhost::Image(width, height, colour);
}

// A fresh folder under the system's temporary folder, removed with the object.
class ScratchDir {
 public:
  ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("render_test_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
             std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

  std::filesystem::path write(const std::string& name, const std::string& text) const {
    const auto file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }
  std::filesystem::path write(const std::string& name,
                              const std::vector<std::uint8_t>& bytes) const {
    return write(name, std::string(bytes.begin(), bytes.end()));
  }

 private:
  std::filesystem::path path_;
};

}  // namespace rendertest
