#include "render/bmp_reader.h"

#include <sstream>

#include "render/render_error.h"
#include "support/bounded_file.h"
#include "support/shown_text.h"

namespace panelhost {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
// Larger than any panel bitmap; keeps a corrupt header from asking for gigabytes.
constexpr std::int64_t kMaxSide = 16384;
// A 4096 x 4096 bitmap at 24 bits is 48 MiB; a gauge's bitmaps are far smaller.
constexpr std::size_t kLargestBitmapFile = 64 * 1024 * 1024;

class Reader {
 public:
  Reader(const std::vector<std::uint8_t>& bytes, const std::string& name)
      : bytes_(bytes), name_(name) {}

  [[noreturn]] void fail(const std::string& what) const { throw RenderError(name_ + ": " + what); }

  void need(std::size_t offset, std::size_t count, const char* what) const {
    if (offset > bytes_.size() || count > bytes_.size() - offset) {
      std::ostringstream m;
      m << "truncated: expected " << what << " at byte " << offset << " (" << count
        << " bytes), the file has " << bytes_.size() << " bytes";
      fail(m.str());
    }
  }
  std::uint16_t u16(std::size_t at) const {
    need(at, 2, "the bitmap header");
    return static_cast<std::uint16_t>(bytes_[at] | bytes_[at + 1] << 8);
  }
  std::uint32_t u32(std::size_t at) const {
    need(at, 4, "the bitmap header");
    return static_cast<std::uint32_t>(bytes_[at]) |
           static_cast<std::uint32_t>(bytes_[at + 1]) << 8 |
           static_cast<std::uint32_t>(bytes_[at + 2]) << 16 |
           static_cast<std::uint32_t>(bytes_[at + 3]) << 24;
  }
  std::int32_t s32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
  std::uint8_t byte(std::size_t at) const { return bytes_[at]; }

 private:
  const std::vector<std::uint8_t>& bytes_;
  const std::string& name_;
};

}  // namespace

Image decodeBmp(const std::vector<std::uint8_t>& bytes, const std::string& name) {
  Reader in(bytes, name);
  if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
    in.fail("not a Windows bitmap: expected the signature \"BM\" at the start");
  }
  const std::uint32_t pixelOffset = in.u32(10);
  const std::uint32_t headerSize = in.u32(kFileHeaderSize);
  if (headerSize < kInfoHeaderSize) {
    in.fail("bitmap header of " + std::to_string(headerSize) +
            " bytes; expected a BITMAPINFOHEADER (40 bytes) or a later one");
  }
  const std::int64_t width = in.s32(18);
  const std::int64_t rawHeight = in.s32(22);
  const std::uint16_t planes = in.u16(26);
  const std::uint16_t bitsPerPixel = in.u16(28);
  const std::uint32_t compression = in.u32(30);
  const std::uint32_t coloursUsed = in.u32(46);

  if (compression != 0) {
    in.fail("compressed bitmap (compression " + std::to_string(compression) +
            "); expected an uncompressed one");
  }
  if (bitsPerPixel != 8 && bitsPerPixel != 24) {
    in.fail(std::to_string(bitsPerPixel) +
            " bits per pixel; expected 8 (with a colour table) or 24");
  }
  if (planes != 1) in.fail(std::to_string(planes) + " colour planes; expected 1");
  const bool topDown = rawHeight < 0;
  const std::int64_t height = topDown ? -rawHeight : rawHeight;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
    in.fail("size " + std::to_string(width) + " x " + std::to_string(rawHeight) +
            "; expected a width and height from 1 to " + std::to_string(kMaxSide));
  }

  std::vector<Rgba> palette;
  if (bitsPerPixel == 8) {
    const std::uint32_t count = coloursUsed == 0 ? 256 : coloursUsed;
    if (count > 256) {
      in.fail("colour table of " + std::to_string(count) + " entries; expected at most 256");
    }
    const std::size_t tableAt = kFileHeaderSize + headerSize;
    in.need(tableAt, std::size_t{count} * 4, "the colour table");
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::size_t at = tableAt + i * 4;
      palette.push_back(opaque(in.byte(at + 2), in.byte(at + 1), in.byte(at)));
    }
  }

  const std::size_t rowBytes = static_cast<std::size_t>((width * bitsPerPixel + 31) / 32 * 4);
  in.need(pixelOffset, rowBytes * static_cast<std::size_t>(height), "the pixel rows");

  Image image(static_cast<int>(width), static_cast<int>(height));
  for (int row = 0; row < image.height(); ++row) {
    const int y = topDown ? row : image.height() - 1 - row;
    const std::size_t rowAt = pixelOffset + static_cast<std::size_t>(row) * rowBytes;
    for (int x = 0; x < image.width(); ++x) {
      if (bitsPerPixel == 8) {
        const std::uint8_t index = in.byte(rowAt + static_cast<std::size_t>(x));
        if (index >= palette.size()) {
          in.fail("pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") uses colour " +
                  std::to_string(index) + "; expected one of the " +
                  std::to_string(palette.size()) + " in the colour table");
        }
        image.set(x, y, palette[index]);
      } else {
        const std::size_t at = rowAt + static_cast<std::size_t>(x) * 3;
        image.set(x, y, opaque(in.byte(at + 2), in.byte(at + 1), in.byte(at)));
      }
    }
  }
  return image;
}

Image readBmpFile(const std::filesystem::path& file) {
  const std::string name = shownText(file.string(), kShownPathBytes);
  const BoundedFile read = readBoundedFile(file.string(), kLargestBitmapFile);
  if (read.outcome == BoundedFile::Outcome::TooLarge) {
    throw RenderError(name + ": expected a bitmap file of at most " +
                      byteCountText(kLargestBitmapFile) + ", got more");
  }
  if (read.outcome != BoundedFile::Outcome::Read) {
    throw RenderError(cannotReadMessage(file.string(), read, "the bitmap file"));
  }
  return decodeBmp(std::vector<std::uint8_t>(read.text.begin(), read.text.end()), name);
}

}  // namespace panelhost
