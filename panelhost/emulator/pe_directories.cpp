// The directories the loader acts on: imports to bind, exports to look up, relocations to apply
// and thread-local storage to set up. Each is read from the image as mapped, by RVA.
#include <algorithm>

#include "emulator/byte_reader.h"
#include "emulator/pe_image.h"
#include "support/host_error.h"

namespace panelhost {
namespace {

// Bounds on counts a hostile file could make endless; far above what any gauge module has.
constexpr std::size_t kMaxImports = 4096;
constexpr std::size_t kMaxImportedDlls = 64;
constexpr std::size_t kMaxNameLength = 512;
constexpr std::size_t kMaxTlsCallbacks = 64;
constexpr std::uint32_t kMaxTlsTemplate = 1u << 20;

bool present(PeDirectory directory) { return directory.rva != 0 || directory.size != 0; }

void requireInside(const ByteReader& memory, PeDirectory directory, const std::string& what) {
  memory.require(directory.rva, directory.size, what);
}

std::uint32_t rvaOf(const ByteReader& memory, const PeImage& image, std::uint32_t address,
                    std::uint32_t length, const std::string& what) {
  const std::uint64_t rva = std::uint64_t{address} - image.preferredBase;
  if (address < image.preferredBase || !memory.holds(rva, length)) {
    memory.fail(what + " " + hex(address) + " lies outside the image");
  }
  return static_cast<std::uint32_t>(rva);
}

}  // namespace

void readImports(PeImage& image, PeDirectory directory, const std::string& name) {
  if (!present(directory)) return;
  const ByteReader memory(image.memory, name);
  requireInside(memory, directory, "the import directory");
  for (std::uint64_t entry = directory.rva;; entry += 20) {
    const std::string what = "the import directory";
    const std::uint32_t lookup = memory.u32(entry, what);
    const std::uint32_t dllName = memory.u32(entry + 12, what);
    const std::uint32_t slots = memory.u32(entry + 16, what);
    if (dllName == 0 && slots == 0) break;
    if ((entry - directory.rva) / 20 >= kMaxImportedDlls) {
      memory.fail("more than " + std::to_string(kMaxImportedDlls) + " imported DLLs");
    }
    const std::string dll = memory.cString(dllName, kMaxNameLength, "an imported DLL's name");
    const std::uint32_t table = lookup != 0 ? lookup : slots;
    for (std::uint64_t i = 0;; ++i) {
      const std::string from = "the import table of " + dll;
      const std::uint32_t thunk = memory.u32(table + 4 * i, from);
      if (thunk == 0) break;
      memory.require(slots + 4 * i, 4, "the address table of " + dll);
      if (image.imports.size() == kMaxImports) {
        memory.fail("more than " + std::to_string(kMaxImports) + " imported functions");
      }
      PeImport import{dll, "", static_cast<std::uint32_t>(slots + 4 * i)};
      if (thunk & 0x80000000u) {
        import.function = "#" + std::to_string(thunk & 0xFFFF);
      } else {
        import.function = memory.cString(std::uint64_t{thunk} + 2, kMaxNameLength,
                                         "an imported function's name from " + dll);
      }
      image.imports.push_back(import);
    }
  }
}

void readExports(PeImage& image, PeDirectory directory, const std::string& name) {
  if (!present(directory)) return;
  const ByteReader memory(image.memory, name);
  requireInside(memory, directory, "the export directory");
  memory.require(directory.rva, 40, "the export directory");
  const std::string what = "the export directory";
  const std::uint32_t functionCount = memory.u32(directory.rva + 20, what);
  const std::uint32_t nameCount = memory.u32(directory.rva + 24, what);
  const std::uint32_t functions = memory.u32(directory.rva + 28, what);
  const std::uint32_t names = memory.u32(directory.rva + 32, what);
  const std::uint32_t ordinals = memory.u32(directory.rva + 36, what);
  memory.require(functions, std::uint64_t{functionCount} * 4, "the export address table");
  memory.require(names, std::uint64_t{nameCount} * 4, "the export name table");
  memory.require(ordinals, std::uint64_t{nameCount} * 2, "the export ordinal table");
  for (std::uint32_t i = 0; i < nameCount; ++i) {
    const std::string exported = memory.cString(memory.u32(names + 4 * std::uint64_t{i}, what),
                                                kMaxNameLength, "an export's name");
    const std::uint16_t index = memory.u16(ordinals + 2 * std::uint64_t{i}, what);
    if (index >= functionCount) {
      memory.fail("export \"" + exported + "\" names entry " + std::to_string(index) + " of " +
                  std::to_string(functionCount));
    }
    const std::uint32_t rva = memory.u32(functions + 4 * std::uint64_t{index}, what);
    // An RVA inside the directory forwards to another DLL's export; panelhost has none to offer.
    if (rva >= directory.rva && rva - directory.rva < directory.size) continue;
    if (rva >= image.memory.size()) {
      memory.fail("export \"" + exported + "\" at " + hex(rva) + " lies outside the image");
    }
    image.exports.emplace(exported, rva);
  }
}

void readRelocations(PeImage& image, PeDirectory directory, const std::string& name) {
  if (!present(directory)) return;
  const ByteReader memory(image.memory, name);
  requireInside(memory, directory, "the relocation directory");
  const std::uint64_t end = std::uint64_t{directory.rva} + directory.size;
  for (std::uint64_t block = directory.rva; block + 8 <= end;) {
    const std::uint32_t page = memory.u32(block, "a relocation block");
    const std::uint32_t blockSize = memory.u32(block + 4, "a relocation block");
    if (blockSize == 0) break;
    if (blockSize < 8 || blockSize % 2 != 0 || blockSize > end - block) {
      memory.fail("the relocation block at " + hex(block) + " claims " + hex(blockSize) +
                  " bytes, which do not fit the relocation directory");
    }
    for (std::uint64_t at = block + 8; at < block + blockSize; at += 2) {
      const std::uint16_t entry = memory.u16(at, "a relocation");
      const int type = entry >> 12;
      const std::uint64_t target = std::uint64_t{page} + (entry & 0x0FFF);
      if (type == 0) continue;  // padding
      if (type != 3) {
        memory.fail("relocation of type " + std::to_string(type) + " at " + hex(target) +
                    " (a PE32 image uses 32-bit ones, type 3)");
      }
      if (!memory.holds(target, 4)) {
        memory.fail("a relocation at " + hex(target) + " lies outside the image");
      }
      image.relocations.push_back(static_cast<std::uint32_t>(target));
    }
    block += blockSize;
  }
}

void readTls(PeImage& image, PeDirectory directory, const std::string& name) {
  if (!present(directory)) return;
  const ByteReader memory(image.memory, name);
  memory.require(directory.rva, 24, "the TLS directory");
  const std::string what = "the TLS directory";
  const std::uint32_t start = memory.u32(directory.rva, what);
  const std::uint32_t end = memory.u32(directory.rva + 4, what);
  PeTls tls;
  tls.indexRva = rvaOf(memory, image, memory.u32(directory.rva + 8, what), 4, "the TLS index");
  const std::uint32_t callbacks = memory.u32(directory.rva + 12, what);
  tls.zeroFill = memory.u32(directory.rva + 16, what);
  if (end < start || end - start > kMaxTlsTemplate || tls.zeroFill > kMaxTlsTemplate) {
    memory.fail("the TLS template from " + hex(start) + " to " + hex(end) + " with " +
                hex(tls.zeroFill) + " bytes of zeros is not a template up to " +
                hex(kMaxTlsTemplate) + " bytes");
  }
  tls.templateSize = end - start;
  if (tls.templateSize > 0) {
    tls.templateRva = rvaOf(memory, image, start, tls.templateSize, "the TLS template");
  }
  if (callbacks != 0) {
    std::uint32_t list = rvaOf(memory, image, callbacks, 4, "the TLS callback list");
    for (;; list += 4) {
      const std::uint32_t callback = memory.u32(list, "the TLS callback list");
      if (callback == 0) break;
      if (tls.callbackRvas.size() == kMaxTlsCallbacks) {
        memory.fail("more than " + std::to_string(kMaxTlsCallbacks) + " TLS callbacks");
      }
      tls.callbackRvas.push_back(rvaOf(memory, image, callback, 1, "a TLS callback"));
    }
  }
  image.tls = tls;
}

void relocateImage(PeImage& image, std::uint32_t base, const std::string& name) {
  if (base == image.preferredBase) return;
  if (!image.relocatable) {
    throw HostError(name + ": cannot be moved from its base " + hex(image.preferredBase) +
                    ": its relocations were stripped");
  }
  const std::uint32_t delta = base - image.preferredBase;
  for (const std::uint32_t rva : image.relocations) {
    std::uint32_t value = 0;
    for (int b = 3; b >= 0; --b) value = value << 8 | image.memory[rva + b];
    value += delta;
    for (int b = 0; b < 4; ++b) image.memory[rva + b] = static_cast<std::uint8_t>(value >> 8 * b);
  }
}

}  // namespace panelhost
