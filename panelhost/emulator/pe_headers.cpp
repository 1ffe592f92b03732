// The headers and the section table: what must hold before a single byte is placed in memory.
#include <algorithm>

#include "emulator/byte_reader.h"
#include "emulator/pe_image.h"
#include "emulator/windows_definitions.h"

namespace panelhost {
namespace {

constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kMagicPe32 = 0x010B;
constexpr std::uint16_t kMagicPe32Plus = 0x020B;
constexpr std::uint16_t kFileRelocsStripped = 0x0001;
constexpr std::uint16_t kFileExecutable = 0x0002;
constexpr std::uint16_t kFileDll = 0x2000;
constexpr std::uint32_t kScnUninitializedData = 0x00000080;
constexpr std::uint32_t kScnExecute = 0x20000000;
constexpr std::uint32_t kScnRead = 0x40000000;
constexpr std::uint32_t kScnWrite = 0x80000000;
constexpr std::uint32_t kMaxSections = 96;  // the Windows loader's own limit
constexpr std::uint32_t kOptionalHeaderDirectories = 96;
constexpr std::uint32_t kSectionHeaderSize = 40;
// The lowest and highest address a 32-bit Windows process gives a DLL.
constexpr std::uint64_t kLowestBase = 0x00010000;
constexpr std::uint64_t kUserSpaceEnd = 0x7FFF0000;

std::uint64_t alignUp(std::uint64_t value, std::uint64_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

bool powerOfTwo(std::uint32_t value) { return value != 0 && (value & (value - 1)) == 0; }

std::string machineName(std::uint16_t machine) {
  switch (machine) {
    case 0x8664:
      return " (x86-64)";
    case 0xAA64:
      return " (ARM64)";
    case 0x01C4:
      return " (ARM)";
    default:
      return "";
  }
}

std::uint8_t accessOf(std::uint32_t characteristics) {
  std::uint8_t access = 0;
  if (characteristics & kScnRead) access |= kPageRead;
  if (characteristics & kScnWrite) access |= kPageWrite | kPageRead;
  if (characteristics & kScnExecute) access |= kPageExecute | kPageRead;
  return access;
}

struct Headers {
  std::uint64_t sectionTable = 0;
  std::uint32_t sectionCount = 0;
  std::uint32_t symbolTable = 0;
  std::uint32_t symbolCount = 0;
  std::uint32_t imageSize = 0;
  std::uint32_t headersSize = 0;
  std::uint32_t sectionAlignment = 0;
  std::vector<PeDirectory> directories;
};

Headers readHeaders(const ByteReader& file, PeImage& image) {
  if (file.size() < 2 || file.u16(0, "the DOS header") != 0x5A4D) {
    file.fail("not a Windows DLL: it does not start with \"MZ\"");
  }
  const std::uint32_t peOffset = file.u32(0x3C, "the offset of the PE header");
  if (!file.holds(peOffset, 4) || file.u32(peOffset, "the PE signature") != 0x00004550) {
    file.fail("not a PE image: no \"PE\" signature at " + hex(peOffset));
  }
  const std::uint64_t fileHeader = std::uint64_t{peOffset} + 4;
  file.require(fileHeader, 20, "the COFF file header");
  const std::uint16_t machine = file.u16(fileHeader, "the machine");
  Headers headers;
  headers.sectionCount = file.u16(fileHeader + 2, "the section count");
  headers.symbolTable = file.u32(fileHeader + 8, "the symbol table offset");
  headers.symbolCount = file.u32(fileHeader + 12, "the symbol count");
  const std::uint16_t optionalSize = file.u16(fileHeader + 16, "the optional header size");
  const std::uint16_t characteristics = file.u16(fileHeader + 18, "the file characteristics");

  const std::uint64_t optional = fileHeader + 20;
  const std::uint16_t magic = file.u16(optional, "the optional header");
  if (magic == kMagicPe32Plus) {
    file.fail("a 64-bit (PE32+) image; the simulator loads 32-bit (PE32) modules only");
  }
  if (magic != kMagicPe32) file.fail("unknown optional header magic " + hex(magic));
  if (machine != kMachineI386) {
    file.fail("built for machine " + hex(machine) + machineName(machine) +
              ", not for i386 (0x14c)");
  }
  if (!(characteristics & kFileExecutable)) file.fail("not an executable image (an object file?)");
  if (!(characteristics & kFileDll)) file.fail("a program, not a DLL");
  if (optionalSize < kOptionalHeaderDirectories) {
    file.fail("the optional header is " + std::to_string(optionalSize) +
              " bytes, too short for a PE32 image");
  }
  file.require(optional, optionalSize, "the optional header");

  image.entryRva = file.u32(optional + 16, "the entry point");
  image.preferredBase = file.u32(optional + 28, "the image base");
  headers.sectionAlignment = file.u32(optional + 32, "the section alignment");
  const std::uint32_t fileAlignment = file.u32(optional + 36, "the file alignment");
  headers.imageSize = file.u32(optional + 56, "the image size");
  headers.headersSize = file.u32(optional + 60, "the headers size");
  const std::uint32_t directoryCount = file.u32(optional + 92, "the directory count");
  image.relocatable = !(characteristics & kFileRelocsStripped);

  if (headers.sectionAlignment % win32::kPageSize != 0 || !powerOfTwo(headers.sectionAlignment)) {
    file.fail("section alignment " + hex(headers.sectionAlignment) +
              " is not a whole number of 4 KiB pages");
  }
  if (!powerOfTwo(fileAlignment) || fileAlignment > headers.sectionAlignment) {
    file.fail("file alignment " + hex(fileAlignment) + " is not a power of two up to " +
              hex(headers.sectionAlignment));
  }
  if (image.preferredBase % win32::kAllocationGranularity != 0 ||
      image.preferredBase < kLowestBase ||
      image.preferredBase + std::uint64_t{headers.imageSize} > kUserSpaceEnd) {
    file.fail("image base " + hex(image.preferredBase) + " with size " + hex(headers.imageSize) +
              " is not a place Windows can put a DLL");
  }
  if (headers.imageSize == 0 || headers.imageSize > kMaxImageSize ||
      headers.imageSize % headers.sectionAlignment != 0) {
    file.fail("image size " + hex(headers.imageSize) + " is not a whole number of sections up to " +
              hex(kMaxImageSize));
  }
  if (headers.sectionCount == 0 || headers.sectionCount > kMaxSections) {
    file.fail(std::to_string(headers.sectionCount) + " sections (1 to " +
              std::to_string(kMaxSections) + " expected)");
  }
  headers.sectionTable = optional + optionalSize;
  const std::uint64_t tableEnd =
      headers.sectionTable + std::uint64_t{headers.sectionCount} * kSectionHeaderSize;
  file.require(headers.sectionTable, tableEnd - headers.sectionTable, "the section table");
  if (headers.headersSize < tableEnd || headers.headersSize > headers.imageSize ||
      headers.headersSize > file.size()) {
    file.fail("headers size " + hex(headers.headersSize) +
              " does not cover the section table and fit the file and the image");
  }
  const std::uint32_t usable = std::min<std::uint32_t>(directoryCount, 16);
  if ((optionalSize - kOptionalHeaderDirectories) / 8 < usable) {
    file.fail("the optional header is too short for its " + std::to_string(directoryCount) +
              " directories");
  }
  for (std::uint32_t i = 0; i < usable; ++i) {
    const std::uint64_t at = optional + kOptionalHeaderDirectories + 8 * i;
    headers.directories.push_back({file.u32(at, "a directory"), file.u32(at + 4, "a directory")});
  }
  headers.directories.resize(16);
  return headers;
}

void placeSections(const ByteReader& file, const std::vector<std::uint8_t>& bytes,
                   const Headers& headers, PeImage& image) {
  image.memory.assign(headers.imageSize, 0);
  std::copy_n(bytes.begin(), headers.headersSize, image.memory.begin());
  image.pageAccess.assign(headers.imageSize / win32::kPageSize, 0);
  const std::uint64_t headerPages = alignUp(headers.headersSize, headers.sectionAlignment);
  std::fill_n(image.pageAccess.begin(), headerPages / win32::kPageSize, kPageRead);

  std::uint64_t previousEnd = headerPages;
  for (std::uint32_t i = 0; i < headers.sectionCount; ++i) {
    const std::uint64_t at = headers.sectionTable + std::uint64_t{i} * kSectionHeaderSize;
    PeSection section;
    for (int c = 0; c < 8; ++c) {
      const char letter = static_cast<char>(file.u8(at + c, "a section name"));
      if (letter == '\0') break;
      section.name += letter;
    }
    const std::string what = "section " + std::to_string(i + 1) + " \"" + section.name + "\"";
    const std::uint32_t virtualSize = file.u32(at + 8, what);
    section.rva = file.u32(at + 12, what);
    const std::uint32_t rawSize = file.u32(at + 16, what);
    const std::uint32_t rawOffset = file.u32(at + 20, what);
    section.characteristics = file.u32(at + 36, what);
    const bool uninitialised = section.characteristics & kScnUninitializedData;
    section.extent = virtualSize != 0 ? virtualSize : rawSize;
    const std::uint64_t end =
        alignUp(std::uint64_t{section.rva} + section.extent, headers.sectionAlignment);
    if (section.rva % headers.sectionAlignment != 0 || section.rva < previousEnd ||
        end > headers.imageSize) {
      file.fail(what + " at " + hex(section.rva) + " (" + hex(section.extent) +
                " bytes) does not follow the one before it inside the image of " +
                hex(headers.imageSize) + " bytes");
    }
    const std::uint32_t copied = uninitialised ? 0 : std::min(rawSize, section.extent);
    if (copied > 0 && !file.holds(rawOffset, copied)) {
      file.fail(what + " lies past the end of the file: its " + hex(copied) + " bytes at " +
                hex(rawOffset) + " do not fit a file of " + hex(file.size()) + " bytes");
    }
    std::copy_n(bytes.begin() + rawOffset, copied, image.memory.begin() + section.rva);
    std::fill(image.pageAccess.begin() + section.rva / win32::kPageSize,
              image.pageAccess.begin() + end / win32::kPageSize, accessOf(section.characteristics));
    previousEnd = end;
    image.sections.push_back(section);
  }
  if (image.entryRva >= headers.imageSize) {
    file.fail("the entry point " + hex(image.entryRva) + " lies outside the image");
  }
}

}  // namespace

PeImage parsePeImage(const std::vector<std::uint8_t>& bytes, const std::string& name) {
  const ByteReader file(bytes, name);
  PeImage image;
  const Headers headers = readHeaders(file, image);
  placeSections(file, bytes, headers, image);
  const auto& d = headers.directories;
  readExports(image, d[0], name);
  readImports(image, d[1], name);
  readResources(image, d[2], name);
  readRelocations(image, d[5], name);
  readTls(image, d[9], name);
  readSymbolNames(image, bytes, headers.symbolTable, headers.symbolCount);
  return image;
}

}  // namespace panelhost
