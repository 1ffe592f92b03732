// Reads a region of a viewer screenshot for the viewer's tests: how many of its pixels look like
// a lit segment of a red frequency display, their mean brightness, and a digest that changes
// when any pixel does.
//
//   screenshot_probe FILE.png X Y WIDTH HEIGHT   prints "lit N mean M digest D"
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <iostream>

#include "render/png_writer.h"

int main(int argc, char** argv) {
  if (argc != 6) {
    std::cerr << "usage: screenshot_probe FILE.png X Y WIDTH HEIGHT\n";
    return 2;
  }
  try {
    const panelhost::Image image = panelhost::readPng(argv[1]);
    const int x0 = std::atoi(argv[2]);
    const int y0 = std::atoi(argv[3]);
    const int width = std::atoi(argv[4]);
    const int height = std::atoi(argv[5]);
    if (width <= 0 || height <= 0 || !image.contains(x0, y0) ||
        !image.contains(x0 + width - 1, y0 + height - 1)) {
      std::cerr << argv[1] << ": expected the region to lie inside the " << image.width() << " x "
                << image.height() << " picture\n";
      return 2;
    }
    long lit = 0;
    long brightness = 0;
    std::uint64_t digest = 14695981039346656037ull;  // FNV-1a
    for (int y = y0; y < y0 + height; ++y) {
      for (int x = x0; x < x0 + width; ++x) {
        const panelhost::Rgba p = image.at(x, y);
        if (p.r >= 150 && p.g < 110 && p.b < 110) ++lit;
        brightness += p.r + p.g + p.b;
        for (std::uint8_t channel : {p.r, p.g, p.b}) digest = (digest ^ channel) * 1099511628211ull;
      }
    }
    std::cout << "lit " << lit << " mean " << brightness / (3L * width * height) << " digest "
              << digest << "\n";
  } catch (const std::exception& failure) {
    std::cerr << failure.what() << "\n";
    return 2;
  }
  return 0;
}
