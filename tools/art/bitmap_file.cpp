#include "art/bitmap_file.h"

#include <png.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "art/palette.h"

namespace art {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dpi, what paint programs write

using Bytes = std::vector<uint8_t>;

void put16(Bytes& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(Bytes& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

uint32_t rowStride(int width, int bitsPerPixel) {
  return ((static_cast<uint32_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

Bytes headers(const Canvas& c, uint16_t bitsPerPixel, uint32_t paletteEntries) {
  const uint32_t imageSize = rowStride(c.width(), bitsPerPixel) * static_cast<uint32_t>(c.height());
  const uint32_t offset = kFileHeaderSize + kInfoHeaderSize + paletteEntries * 4;
  Bytes out;
  out.push_back('B');
  out.push_back('M');
  put32(out, offset + imageSize);
  put32(out, 0);  // reserved
  put32(out, offset);
  put32(out, kInfoHeaderSize);
  put32(out, static_cast<uint32_t>(c.width()));
  put32(out, static_cast<uint32_t>(c.height()));  // positive: rows stored bottom-up
  put16(out, 1);                                  // planes
  put16(out, bitsPerPixel);
  put32(out, 0);  // BI_RGB
  put32(out, imageSize);
  put32(out, static_cast<uint32_t>(kPixelsPerMetre));
  put32(out, static_cast<uint32_t>(kPixelsPerMetre));
  put32(out, paletteEntries);
  put32(out, 0);  // all colours important
  return out;
}

void checkWritable(const std::string& path, const Canvas& c) {
  if (c.width() <= 0 || c.height() <= 0) {
    throw std::runtime_error("cannot write '" + path + "': image is " + std::to_string(c.width()) +
                             "x" + std::to_string(c.height()) + ", expected a non-empty image");
  }
}

void writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
  out.close();
  if (!out) {
    throw std::runtime_error("cannot write '" + path + "': " + std::strerror(errno));
  }
}

[[noreturn]] void badBmp(const std::string& path, const std::string& what) {
  throw std::runtime_error("'" + path + "' is not a usable BMP: " + what);
}

uint32_t get32(const Bytes& in, size_t at) {
  return uint32_t{in[at]} | uint32_t{in[at + 1]} << 8 | uint32_t{in[at + 2]} << 16 |
         uint32_t{in[at + 3]} << 24;
}

uint16_t get16(const Bytes& in, size_t at) {
  return static_cast<uint16_t>(in[at] | in[at + 1] << 8);
}

}  // namespace

void writeBmp8(const std::string& path, const Canvas& c) {
  checkWritable(path, c);
  const IndexedImage image = quantise(c);
  Bytes out = headers(c, 8, 256);
  for (const Rgb& entry : image.palette) {
    out.insert(out.end(), {entry.b, entry.g, entry.r, 0});
  }
  const uint32_t stride = rowStride(c.width(), 8);
  for (int y = c.height() - 1; y >= 0; --y) {
    const auto row = image.indices.begin() + static_cast<long>(y) * c.width();
    out.insert(out.end(), row, row + c.width());
    out.resize(out.size() + (stride - static_cast<uint32_t>(c.width())), 0);
  }
  writeFile(path, out);
}

void writeBmp24(const std::string& path, const Canvas& c) {
  checkWritable(path, c);
  Bytes out = headers(c, 24, 0);
  const uint32_t padding = rowStride(c.width(), 24) - static_cast<uint32_t>(c.width()) * 3;
  for (int y = c.height() - 1; y >= 0; --y) {
    for (int x = 0; x < c.width(); ++x) {
      const Rgb p = c.pixel(x, y);
      out.insert(out.end(), {p.b, p.g, p.r});
    }
    out.resize(out.size() + padding, 0);
  }
  writeFile(path, out);
}

void writePng(const std::string& path, const Canvas& c) {
  checkWritable(path, c);
  Bytes rgb;
  rgb.reserve(static_cast<size_t>(c.width()) * c.height() * 3);
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      const Rgb p = c.pixel(x, y);
      rgb.insert(rgb.end(), {p.r, p.g, p.b});
    }
  }
  // The simplified API reports errors through the struct, so no setjmp crosses C++ frames.
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(c.width());
  image.height = static_cast<png_uint_32>(c.height());
  image.format = PNG_FORMAT_RGB;
  const int ok = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr);
  const std::string message = image.message;
  png_image_free(&image);
  if (!ok) throw std::runtime_error("cannot write '" + path + "': " + message);
}

Canvas readBmp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open '" + path + "': " + std::strerror(errno));
  const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

  if (bytes.size() < kFileHeaderSize + kInfoHeaderSize) {
    badBmp(path, "file has " + std::to_string(bytes.size()) + " bytes, expected at least 54");
  }
  if (bytes[0] != 'B' || bytes[1] != 'M') badBmp(path, "expected the signature 'BM'");
  const uint32_t offset = get32(bytes, 10);
  const uint32_t infoSize = get32(bytes, 14);
  if (infoSize < kInfoHeaderSize) {
    badBmp(path, "info header is " + std::to_string(infoSize) + " bytes, expected at least 40");
  }
  const auto width = static_cast<int32_t>(get32(bytes, 18));
  const auto rawHeight = static_cast<int32_t>(get32(bytes, 22));
  const uint16_t bits = get16(bytes, 28);
  const uint32_t compression = get32(bytes, 30);
  uint32_t colours = get32(bytes, 46);
  if (bits != 8 && bits != 24) {
    badBmp(path, std::to_string(bits) + " bits per pixel, expected 8 or 24");
  }
  if (compression != 0) {
    badBmp(path, "compression " + std::to_string(compression) + ", expected 0 (uncompressed)");
  }
  if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) {
    badBmp(path, "size " + std::to_string(width) + "x" + std::to_string(rawHeight) +
                     ", expected a positive width and a non-zero height");
  }
  const bool bottomUp = rawHeight > 0;
  const int height = bottomUp ? rawHeight : -rawHeight;

  std::vector<Rgb> palette;
  if (bits == 8) {
    if (colours == 0) colours = 256;
    if (colours > 256) badBmp(path, std::to_string(colours) + " palette entries, expected <= 256");
    const size_t at = kFileHeaderSize + infoSize;
    if (at + colours * 4 > bytes.size()) badBmp(path, "palette runs past the end of the file");
    for (uint32_t i = 0; i < colours; ++i) {
      palette.push_back({bytes[at + i * 4 + 2], bytes[at + i * 4 + 1], bytes[at + i * 4]});
    }
  }

  const uint64_t stride = rowStride(width, bits);
  if (offset + stride * static_cast<uint64_t>(height) > bytes.size()) {
    badBmp(path, "pixel data needs " + std::to_string(stride * height) + " bytes from offset " +
                     std::to_string(offset) + " but the file has " + std::to_string(bytes.size()));
  }
  Canvas canvas(width, height, Rgb{0, 0, 0});
  for (int row = 0; row < height; ++row) {
    const size_t start = offset + stride * static_cast<size_t>(row);
    const int y = bottomUp ? height - 1 - row : row;
    for (int x = 0; x < width; ++x) {
      if (bits == 24) {
        const size_t p = start + static_cast<size_t>(x) * 3;
        canvas.setPixel(x, y, {bytes[p + 2], bytes[p + 1], bytes[p]});
      } else {
        const uint8_t index = bytes[start + static_cast<size_t>(x)];
        if (index >= palette.size()) {
          badBmp(path, "pixel (" + std::to_string(x) + "," + std::to_string(y) + ") uses colour " +
                           std::to_string(index) + " of a " + std::to_string(palette.size()) +
                           "-entry palette");
        }
        canvas.setPixel(x, y, palette[index]);
      }
    }
  }
  return canvas;
}

}  // namespace art
