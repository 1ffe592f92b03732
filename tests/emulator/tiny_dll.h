// Small PE32 i386 DLLs written byte by byte, for the loader's and the CPU's tests: a code section
// and a data section, exports, imports, one bitmap resource and relocations, each at a fixed place
// so that a test can break exactly one field.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace tiny {

constexpr std::uint32_t kBase = 0x20000000;
constexpr std::uint32_t kText = 0x1000;
constexpr std::uint32_t kData = 0x2000;
constexpr std::uint32_t kExports = 0x3000;
constexpr std::uint32_t kImports = 0x4000;
constexpr std::uint32_t kResources = 0x5000;
constexpr std::uint32_t kRelocations = 0x6000;
constexpr std::uint32_t kImageSize = 0x7000;
constexpr std::uint32_t kRawSize = 0x800;
constexpr std::uint32_t kHeadersSize = 0x400;
// Offsets in the file.
constexpr std::uint32_t kPeHeader = 0x40;
constexpr std::uint32_t kFileHeader = kPeHeader + 4;
constexpr std::uint32_t kOptionalHeader = kFileHeader + 20;
constexpr std::uint32_t kSectionTable = kOptionalHeader + 224;
constexpr int kSections = 6;

inline std::uint32_t fileOffset(std::uint32_t rva) {
  return kHeadersSize + (rva / 0x1000 - 1) * kRawSize;
}

struct Dll {
  std::vector<std::uint8_t> code;
  std::vector<std::uint8_t> data;
  std::vector<std::pair<std::string, std::uint32_t>> exports;  // name, RVA
  std::vector<std::pair<std::string, std::string>> imports;    // DLL, function
  std::vector<std::uint32_t> relocated;                        // RVAs of absolute addresses
  std::uint32_t entryRva = 0;
  std::uint32_t bitmapId = 7;

  // The RVA of the address-table slot the loader fills for import `index`.
  std::uint32_t importSlot(std::size_t index) const { return importTables(index) + 8; }

  // One descriptor per import (a DLL named again is another descriptor, which Windows allows),
  // then per import its lookup table, address table, name and DLL name.
  std::uint32_t importTables(std::size_t index) const {
    std::uint32_t tables = kImports + 20 * static_cast<std::uint32_t>(imports.size() + 1);
    for (std::size_t i = 0; i < index; ++i) {
      const auto names = imports[i].first.size() + 1 + imports[i].second.size() + 1;
      tables = (tables + 18 + static_cast<std::uint32_t>(names) + 3) & ~3u;
    }
    return tables;
  }

  std::vector<std::uint8_t> bytes() const {
    std::vector<std::uint8_t> file(kHeadersSize + kSections * kRawSize, 0);
    const auto put16 = [&file](std::uint32_t at, std::uint32_t value) {
      file[at] = static_cast<std::uint8_t>(value);
      file[at + 1] = static_cast<std::uint8_t>(value >> 8);
    };
    const auto put32 = [&](std::uint32_t at, std::uint32_t value) {
      put16(at, value & 0xFFFF);
      put16(at + 2, value >> 16);
    };
    const auto putText = [&file](std::uint32_t at, const std::string& text) {
      std::memcpy(&file[at], text.c_str(), text.size() + 1);
    };
    const auto at = [](std::uint32_t rva) { return fileOffset(rva & ~0xFFFu) + (rva & 0xFFF); };
    file[0] = 'M';
    file[1] = 'Z';
    put32(0x3C, kPeHeader);
    put32(kPeHeader, 0x00004550);
    put16(kFileHeader, 0x014C);
    put16(kFileHeader + 2, kSections);
    put16(kFileHeader + 16, 224);
    put16(kFileHeader + 18, 0x2102);  // executable, 32-bit, DLL
    const std::uint32_t o = kOptionalHeader;
    put16(o, 0x010B);
    put32(o + 16, entryRva);
    put32(o + 28, kBase);
    put32(o + 32, 0x1000);
    put32(o + 36, 0x200);
    put32(o + 56, kImageSize);
    put32(o + 60, kHeadersSize);
    put16(o + 68, 3);
    put32(o + 92, 16);
    const std::uint32_t rvas[kSections] = {kText,    kData,      kExports,
                                           kImports, kResources, kRelocations};
    const char* names[kSections] = {".text", ".data", ".edata", ".idata", ".rsrc", ".reloc"};
    const std::uint32_t flags[kSections] = {0x60000020, 0xC0000040, 0x40000040,
                                            0xC0000040, 0x40000040, 0x42000040};
    for (int i = 0; i < kSections; ++i) {
      const std::uint32_t s = kSectionTable + 40 * i;
      std::memcpy(&file[s], names[i], std::strlen(names[i]));
      put32(s + 8, 0x1000);
      put32(s + 12, rvas[i]);
      put32(s + 16, kRawSize);
      put32(s + 20, fileOffset(rvas[i]));
      put32(s + 36, flags[i]);
    }
    std::copy(code.begin(), code.end(), file.begin() + at(kText));
    std::copy(data.begin(), data.end(), file.begin() + at(kData));

    if (!exports.empty()) {
      const auto n = static_cast<std::uint32_t>(exports.size());
      const std::uint32_t functions = kExports + 40, names = functions + 4 * n,
                          ordinals = names + 4 * n;
      std::uint32_t text = ordinals + 2 * n;
      put32(o + 96, kExports);
      put32(o + 100, 0x200);
      put32(at(kExports) + 16, 1);
      put32(at(kExports) + 20, n);
      put32(at(kExports) + 24, n);
      put32(at(kExports) + 28, functions);
      put32(at(kExports) + 32, names);
      put32(at(kExports) + 36, ordinals);
      for (std::uint32_t i = 0; i < n; ++i) {
        put32(at(functions + 4 * i), exports[i].second);
        put32(at(names + 4 * i), text);
        put16(at(ordinals + 2 * i), i);
        putText(at(text), exports[i].first);
        text += static_cast<std::uint32_t>(exports[i].first.size()) + 1;
      }
    }

    if (!imports.empty()) {
      const auto n = static_cast<std::uint32_t>(imports.size());
      put32(o + 104, kImports);
      put32(o + 108, 20 * (n + 1));
      for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t lookup = importTables(i), slots = lookup + 8, hint = lookup + 16;
        const std::uint32_t dllName =
            hint + 2 + static_cast<std::uint32_t>(imports[i].second.size()) + 1;
        put32(at(kImports + 20 * i), lookup);
        put32(at(kImports + 20 * i + 12), dllName);
        put32(at(kImports + 20 * i + 16), slots);
        put32(at(lookup), hint);
        put32(at(slots), hint);
        putText(at(hint + 2), imports[i].second);
        putText(at(dllName), imports[i].first);
      }
    }

    // RT_BITMAP / bitmapId / language 0: a 2 x 2 bitmap of 8 bits with a 4-colour table.
    {
      const std::uint32_t r = at(kResources);
      put32(o + 112, kResources);
      put32(o + 116, 0x200);
      put16(r + 14, 1);
      put32(r + 16, 2);
      put32(r + 20, 0x80000018);
      put16(r + 0x18 + 14, 1);
      put32(r + 0x18 + 16, bitmapId);
      put32(r + 0x18 + 20, 0x80000030);
      put16(r + 0x30 + 14, 1);
      put32(r + 0x30 + 16, 0x409);
      put32(r + 0x30 + 20, 0x48);
      put32(r + 0x48, kResources + 0x60);
      put32(r + 0x48 + 4, 40 + 16 + 8);
      const std::uint32_t b = r + 0x60;
      put32(b, 40);
      put32(b + 4, 2);
      put32(b + 8, 2);
      put16(b + 12, 1);
      put16(b + 14, 8);
      put32(b + 32, 4);  // colours used
    }

    if (!relocated.empty()) {
      put32(o + 136, kRelocations);
      const auto blockSize = static_cast<std::uint32_t>(8 + 2 * relocated.size());
      put32(o + 140, blockSize);
      put32(at(kRelocations), kText);
      put32(at(kRelocations) + 4, blockSize);
      for (std::size_t i = 0; i < relocated.size(); ++i) {
        put16(at(kRelocations) + 8 + 2 * static_cast<std::uint32_t>(i),
              0x3000 | (relocated[i] - kText));
      }
    }
    return file;
  }
};

// Field writers for a test that breaks one thing.
inline void put16(std::vector<std::uint8_t>& file, std::uint32_t at, std::uint32_t value) {
  file.at(at) = static_cast<std::uint8_t>(value);
  file.at(at + 1) = static_cast<std::uint8_t>(value >> 8);
}
inline void put32(std::vector<std::uint8_t>& file, std::uint32_t at, std::uint32_t value) {
  put16(file, at, value & 0xFFFF);
  put16(file, at + 2, value >> 16);
}

}  // namespace tiny
