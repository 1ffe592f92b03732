#include "render/png_writer.h"

#include <libdeflate.h>
#include <png.h>

#include <array>
#include <cstring>
#include <vector>

#include "render/pixel_runs.h"
#include "render/render_error.h"
#include "support/host_error.h"
#include "support/output_file.h"

namespace panelhost {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr int kFastest = 1;
constexpr std::uint8_t kColourRgb = 2;
constexpr std::uint8_t kColourRgba = 6;
constexpr std::uint8_t kNoFilter = 0;

std::array<std::uint8_t, 4> bigEndian(std::uint32_t value) {
  return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
          static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

// Length, type, data, and the CRC of type and data; the data written from where it lies.
void putChunk(OutputFile& out, const char* type, const std::uint8_t* data, std::size_t size) {
  out.write(bigEndian(static_cast<std::uint32_t>(size)).data(), 4);
  out.write(type, 4);
  if (size > 0) out.write(data, size);
  const std::uint32_t crc = libdeflate_crc32(libdeflate_crc32(0, type, 4), data, size);
  out.write(bigEndian(crc).data(), 4);
}

}  // namespace

struct PngWriter::Compressor {
  libdeflate_compressor* compressor = libdeflate_alloc_compressor(kFastest);
  ~Compressor() { libdeflate_free_compressor(compressor); }
};

PngWriter::PngWriter() : compressor_(std::make_unique<Compressor>()) {
  if (compressor_->compressor == nullptr) throw RenderError("libdeflate could not be started");
}

PngWriter::~PngWriter() = default;

void PngWriter::write(const Image& image, const std::filesystem::path& file) {
  if (image.width() == 0 || image.height() == 0) {
    throw RenderError(file.string() + ": cannot write an empty picture");
  }
  const bool allOpaque = panelhost::allOpaque(image.row(0), image.pixels().size());
  const std::size_t channels = allOpaque ? 3 : 4;
  const auto width = static_cast<std::size_t>(image.width());
  const std::size_t rowBytes = 1 + channels * width;
  rows_.resize(rowBytes * static_cast<std::size_t>(image.height()));
  std::uint8_t* out = rows_.data();
  for (int y = 0; y < image.height(); ++y, out += rowBytes) {
    out[0] = kNoFilter;
    if (allOpaque) {
      packRgb(out + 1, image.row(y), width);
    } else {
      std::memcpy(out + 1, image.row(y), rowBytes - 1);
    }
  }
  compressed_.resize(libdeflate_zlib_compress_bound(compressor_->compressor, rows_.size()));
  const std::size_t deflated = libdeflate_zlib_compress(
      compressor_->compressor, rows_.data(), rows_.size(), compressed_.data(), compressed_.size());
  if (deflated == 0) throw RenderError(file.string() + ": the picture could not be compressed");

  std::uint8_t header[13] = {};
  for (int i = 0; i < 4; ++i) {
    header[i] =
        static_cast<std::uint8_t>(static_cast<std::uint32_t>(image.width()) >> (24 - 8 * i));
    header[4 + i] =
        static_cast<std::uint8_t>(static_cast<std::uint32_t>(image.height()) >> (24 - 8 * i));
  }
  header[8] = 8;  // bits per channel
  header[9] = allOpaque ? kColourRgb : kColourRgba;
  // header[10..12]: deflate, adaptive filtering (each row says its own), not interlaced
  try {
    OutputFile out(file.string(), "the PNG file");
    out.write(kSignature, sizeof kSignature);
    putChunk(out, "IHDR", header, sizeof header);
    putChunk(out, "IDAT", compressed_.data(), deflated);
    putChunk(out, "IEND", nullptr, 0);
    out.commit();
  } catch (const HostError& failure) {
    throw RenderError(failure.what());
  }
}

void writePng(const Image& image, const std::filesystem::path& file) {
  PngWriter().write(image, file);
}

Image readPng(const std::filesystem::path& file) {
  png_image png;
  std::memset(&png, 0, sizeof png);
  png.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_file(&png, file.string().c_str()) == 0) {
    const std::string reason = png.message;
    png_image_free(&png);
    throw RenderError(file.string() + ": cannot read the PNG file (" + reason + ")");
  }
  png.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> bytes(PNG_IMAGE_SIZE(png));
  if (png_image_finish_read(&png, nullptr, bytes.data(), 0, nullptr) == 0) {
    const std::string reason = png.message;
    png_image_free(&png);
    throw RenderError(file.string() + ": cannot read the PNG file (" + reason + ")");
  }
  Image image(static_cast<int>(png.width), static_cast<int>(png.height));
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const std::size_t at = (static_cast<std::size_t>(y) * png.width + x) * 4;
      image.set(x, y, Rgba{bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]});
    }
  }
  return image;
}

}  // namespace panelhost
