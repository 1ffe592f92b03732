// Function names from the COFF symbol table an unstripped MinGW build keeps: 18-byte records,
// long names in the string table right after them.
#include <cstring>

#include "emulator/pe_image.h"

namespace panelhost {
namespace {

constexpr std::uint32_t kSymbolSize = 18;
constexpr std::uint16_t kFunctionType = 0x20;
constexpr std::uint8_t kExternal = 2;
constexpr std::uint8_t kStatic = 3;
constexpr std::size_t kMaxNameLength = 1024;

std::uint32_t u32(const std::uint8_t* at) {
  std::uint32_t value = 0;
  std::memcpy(&value, at, 4);
  return value;
}

}  // namespace

void readSymbolNames(PeImage& image, const std::vector<std::uint8_t>& file,
                     std::uint32_t tableOffset, std::uint32_t symbolCount) {
  const std::uint64_t tableEnd = std::uint64_t{tableOffset} + std::uint64_t{symbolCount} * 18;
  if (tableOffset == 0 || symbolCount == 0 || tableEnd > file.size()) return;
  std::uint64_t stringsSize = 0;
  if (tableEnd + 4 <= file.size()) {
    stringsSize = u32(&file[tableEnd]);
    if (stringsSize > file.size() - tableEnd) stringsSize = 0;
  }
  for (std::uint64_t i = 0; i < symbolCount; ++i) {
    const std::uint8_t* symbol = &file[tableOffset + i * kSymbolSize];
    const std::uint32_t value = u32(symbol + 8);
    const auto section = static_cast<std::int16_t>(symbol[12] | symbol[13] << 8);
    const auto type = static_cast<std::uint16_t>(symbol[14] | symbol[15] << 8);
    const std::uint8_t storage = symbol[16];
    i += symbol[17];  // auxiliary records
    if (type != kFunctionType || (storage != kExternal && storage != kStatic) || section <= 0 ||
        static_cast<std::size_t>(section) > image.sections.size()) {
      continue;
    }
    const std::uint64_t rva = std::uint64_t{image.sections[section - 1].rva} + value;
    if (rva >= image.memory.size()) continue;
    std::string name;
    if (u32(symbol) != 0) {
      name.assign(reinterpret_cast<const char*>(symbol),
                  strnlen(reinterpret_cast<const char*>(symbol), 8));
    } else {
      const std::uint64_t offset = u32(symbol + 4);
      if (offset < 4 || offset >= stringsSize) continue;
      const char* text = reinterpret_cast<const char*>(&file[tableEnd + offset]);
      name.assign(text,
                  strnlen(text, std::min<std::uint64_t>(stringsSize - offset, kMaxNameLength)));
    }
    image.functionNames.emplace(static_cast<std::uint32_t>(rva), name);
  }
}

}  // namespace panelhost
