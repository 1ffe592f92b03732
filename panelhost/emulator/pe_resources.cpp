// The resource tree (type, then name, then language) checked whole at load, and the RT_BITMAP
// leaves kept by numeric id: the simulator finds a gauge's bitmaps there.
#include "emulator/pe_resources.h"

#include <algorithm>

#include "emulator/byte_reader.h"
#include "emulator/pe_image.h"

namespace panelhost {
namespace {

constexpr std::uint32_t kRtBitmap = 2;
constexpr std::uint32_t kSubdirectory = 0x80000000u;
// Entries may share subdirectories, so the walk is bounded by visits, not by the tree's size.
constexpr int kMaxVisits = 65536;

class ResourceWalk {
 public:
  ResourceWalk(PeImage& image, PeDirectory root, const std::string& name)
      : image_(image), memory_(image.memory, name), root_(root) {}

  void directory(std::uint32_t offset, int level, std::uint32_t type, std::uint32_t id) {
    const std::string what = "the resource directory at " + hex(offset);
    within(offset, 16, what);
    const std::uint32_t count = memory_.u16(root_.rva + std::uint64_t{offset} + 12, what) +
                                memory_.u16(root_.rva + std::uint64_t{offset} + 14, what);
    within(offset + 16, std::uint64_t{count} * 8, what);
    for (std::uint32_t i = 0; i < count; ++i) {
      if (++visits_ > kMaxVisits) {
        memory_.fail("the resource directory has more than " + std::to_string(kMaxVisits) +
                     " entries");
      }
      const std::uint64_t entry = root_.rva + std::uint64_t{offset} + 16 + 8 * i;
      const std::uint32_t nameOrId = memory_.u32(entry, what);
      const std::uint32_t target = memory_.u32(entry + 4, what);
      const bool isDirectory = target & kSubdirectory;
      if (isDirectory != (level < 2)) {
        memory_.fail(what + " has at level " + std::to_string(level + 1) + " an entry that " +
                     (isDirectory ? "opens a further directory" : "holds data") +
                     "; resources are typed, named, then in a language");
      }
      if (isDirectory) {
        directory(target & ~kSubdirectory, level + 1, level == 0 ? nameOrId : type,
                  level == 1 ? nameOrId : id);
        continue;
      }
      data(target, type, id);
    }
  }

 private:
  void within(std::uint64_t offset, std::uint64_t length, const std::string& what) const {
    if (offset > root_.size || length > root_.size - offset) {
      memory_.fail(what + " runs past the end of the resource directory (" + hex(root_.size) +
                   " bytes)");
    }
  }

  // `type` and `id` keep the high bit of an entry known by name rather than by number.
  void data(std::uint32_t offset, std::uint32_t type, std::uint32_t id) {
    const std::string what = "the resource data entry at " + hex(offset);
    within(offset, 16, what);
    const std::uint64_t at = root_.rva + std::uint64_t{offset};
    const PeBlob blob{memory_.u32(at, what), memory_.u32(at + 4, what)};
    memory_.require(blob.rva, blob.size, "the data of resource " + std::to_string(id));
    // The first language of each bitmap is the one LoadBitmap finds.
    if (type == kRtBitmap && !(id & kSubdirectory)) image_.bitmaps.emplace(id, blob);
  }

  PeImage& image_;
  ByteReader memory_;
  PeDirectory root_;
  int visits_ = 0;
};

}  // namespace

void readResources(PeImage& image, PeDirectory directory, const std::string& name) {
  if (directory.rva == 0 && directory.size == 0) return;
  ByteReader(image.memory, name).require(directory.rva, directory.size, "the resource directory");
  ResourceWalk(image, directory, name).directory(0, 0, 0, 0);
}

std::vector<std::uint8_t> bitmapFile(const PeImage& image, std::uint32_t id,
                                     const std::string& name) {
  const PeBlob blob = image.bitmaps.at(id);
  const ByteReader memory(image.memory, name);
  const std::string what = "bitmap " + std::to_string(id);
  const std::uint32_t headerSize = memory.u32(blob.rva, what + "'s header");
  std::uint64_t table = 0;
  if (headerSize == 12) {
    const std::uint16_t bits = memory.u16(blob.rva + 10, what);
    table = bits <= 8 ? 3u << bits : 0;
  } else if (headerSize >= 40) {
    const std::uint16_t bits = memory.u16(blob.rva + 14, what);
    const std::uint32_t compression = memory.u32(blob.rva + 16, what);
    const std::uint32_t used = memory.u32(blob.rva + 32, what);
    table = 4 * std::uint64_t{used != 0 ? used : bits <= 8 ? 1u << bits : 0};
    // BI_BITFIELDS keeps its three masks after a plain header, inside the larger ones.
    if (compression == 3 && headerSize == 40) table += 12;
  } else {
    memory.fail(what + " has a header of " + std::to_string(headerSize) +
                " bytes, not a device-independent bitmap's");
  }
  const std::uint64_t pixels = std::uint64_t{headerSize} + table;
  if (headerSize > blob.size || pixels > blob.size) {
    memory.fail(what + "'s header and colour table (" + std::to_string(pixels) +
                " bytes) do not fit its " + std::to_string(blob.size) + " bytes");
  }
  const std::uint64_t fileSize = 14 + std::uint64_t{blob.size};
  std::vector<std::uint8_t> file(static_cast<std::size_t>(fileSize));
  const auto put32 = [&file](std::size_t at, std::uint64_t value) {
    for (int b = 0; b < 4; ++b) file[at + b] = static_cast<std::uint8_t>(value >> 8 * b);
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, fileSize);
  put32(10, 14 + pixels);
  std::copy_n(image.memory.begin() + blob.rva, blob.size, file.begin() + 14);
  return file;
}

}  // namespace panelhost
