#include "render/png_writer.h"

#include <libdeflate.h>
#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

#include "render/pixel_runs.h"
#include "render/render_error.h"

namespace panelhost {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr int kFastest = 1;
constexpr std::uint8_t kColourRgb = 2;
constexpr std::uint8_t kColourRgba = 6;
constexpr std::uint8_t kNoFilter = 0;

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

// Length, type, data, and the CRC of type and data.
void putChunk(std::vector<std::uint8_t>& out, const char* type, const std::uint8_t* data,
              std::size_t size) {
  putBigEndian(out, static_cast<std::uint32_t>(size));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data, data + size);
  putBigEndian(out, libdeflate_crc32(0, out.data() + typeAt, size + 4));
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
  file_.clear();
  file_.insert(file_.end(), std::begin(kSignature), std::end(kSignature));
  putChunk(file_, "IHDR", header, sizeof header);
  putChunk(file_, "IDAT", compressed_.data(), deflated);
  putChunk(file_, "IEND", nullptr, 0);

  // A file already there is replaced, not truncated: ext4 writes a truncated file's new blocks
  // out when it is closed, which costs more than the whole picture.
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> stream(std::fopen(file.string().c_str(), "wb"),
                                                         &std::fclose);
  if (!stream) {
    throw RenderError(file.string() + ": cannot write the PNG file (" + std::strerror(errno) + ")");
  }
  if (std::fwrite(file_.data(), 1, file_.size(), stream.get()) != file_.size() ||
      std::fclose(stream.release()) != 0) {
    throw RenderError(file.string() + ": cannot write the PNG file (" + std::strerror(errno) + ")");
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
