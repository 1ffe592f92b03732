#include "emulator/guest_memory.h"

#include <algorithm>
#include <cstring>

#include "emulator/byte_reader.h"
#include "emulator/pe_image.h"
#include "emulator/unicorn_api.h"

namespace panelhost {
namespace {

static_assert(int{kPageRead} == int{UC_PROT_READ} && int{kPageWrite} == int{UC_PROT_WRITE} &&
                  int{kPageExecute} == int{UC_PROT_EXEC},
              "page access bits are Unicorn's protection bits");

void check(const UnicornApi& api, uc_err error, const char* doing, std::uint32_t base,
           std::uint32_t size) {
  if (error != UC_ERR_OK) {
    throw HostError(std::string("the emulator could not ") + doing + " " + hex(size) +
                    " bytes at " + hex(base) + ": " + api.strerror(error));
  }
}

}  // namespace

GuestMemory::GuestMemory(const UnicornApi& api, uc_struct* engine)
    : api_(api), engine_(engine), pages_(std::size_t{1} << 20, 0) {}

void GuestMemory::map(std::uint32_t base, std::uint32_t size, std::uint8_t access) {
  check(api_, api_.memMap(engine_, base, size, access), "map", base, size);
  std::fill_n(pages_.begin() + base / kPage, size / kPage, access);
}

void GuestMemory::protect(std::uint32_t base, std::uint32_t size, std::uint8_t access) {
  check(api_, api_.memProtect(engine_, base, size, access), "protect", base, size);
  std::fill_n(pages_.begin() + base / kPage, size / kPage, access);
}

bool GuestMemory::allows(std::uint64_t address, std::uint64_t bytes, std::uint8_t access) const {
  if (address > 0xFFFFFFFFull || bytes > 0x100000000ull - address) return false;
  if (bytes == 0) return true;
  for (std::uint64_t page = address / kPage; page <= (address + bytes - 1) / kPage; ++page) {
    if ((pages_[page] & access) != access) return false;
  }
  return true;
}

void GuestMemory::refuse(const char* access, std::uint64_t address, std::size_t bytes) const {
  throw ModuleFault(std::string("cannot ") + access + " " + std::to_string(bytes) + " bytes at " +
                    hex(address) + ": not " + access + "able memory of the module");
}

void GuestMemory::read(std::uint64_t address, void* into, std::size_t bytes) const {
  if (!allows(address, bytes, kPageRead)) refuse("read", address, bytes);
  if (bytes > 0) check(api_, api_.memRead(engine_, address, into, bytes), "read", address, bytes);
}

void GuestMemory::write(std::uint64_t address, const void* from, std::size_t bytes) {
  if (!allows(address, bytes, kPageWrite)) refuse("write", address, bytes);
  if (bytes == 0) return;
  load(static_cast<std::uint32_t>(address), from, bytes);
}

void GuestMemory::load(std::uint32_t address, const void* from, std::size_t bytes) {
  check(api_, api_.memWrite(engine_, address, from, bytes), "write", address, bytes);
  // The CPU keeps translated code; bytes written under it must be translated afresh.
  if (std::any_of(pages_.begin() + address / kPage,
                  pages_.begin() + (std::uint64_t{address} + bytes - 1) / kPage + 1,
                  [](std::uint8_t access) { return access & kPageExecute; })) {
    api_.control(engine_, UC_CTL_WRITE(UC_CTL_TB_REMOVE_CACHE, 2), std::uint64_t{address},
                 std::uint64_t{address} + bytes);
  }
}

std::uint32_t GuestMemory::u32(std::uint64_t address) const {
  std::uint8_t bytes[4];
  read(address, bytes, 4);
  return static_cast<std::uint32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16) |
         static_cast<std::uint32_t>(bytes[3]) << 24;
}

void GuestMemory::put32(std::uint64_t address, std::uint32_t value) {
  const std::uint8_t bytes[4] = {
      static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
      static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  write(address, bytes, 4);
}

std::string GuestMemory::cString(std::uint32_t address, std::size_t maxLength) const {
  std::string text;
  std::uint64_t at = address;
  char chunk[256];
  for (;;) {
    const std::size_t take =
        static_cast<std::size_t>(std::min<std::uint64_t>(sizeof chunk, kPage - at % kPage));
    read(at, chunk, take);
    const void* end = std::memchr(chunk, 0, take);
    const std::size_t length = end ? static_cast<const char*>(end) - chunk : take;
    text.append(chunk, length);
    if (text.size() > maxLength) {
      throw ModuleFault("the text at " + hex(address) + " is longer than " +
                        std::to_string(maxLength) + " characters");
    }
    if (end) return text;
    at += take;
  }
}

std::u16string GuestMemory::wideString(std::uint32_t address, std::size_t maxLength) const {
  std::u16string text;
  for (std::uint64_t at = address;; at += 2) {
    std::uint8_t unit[2];
    read(at, unit, 2);
    const auto c = static_cast<char16_t>(unit[0] | unit[1] << 8);
    if (c == 0) return text;
    if (text.size() == maxLength) {
      throw ModuleFault("the text at " + hex(address) + " is longer than " +
                        std::to_string(maxLength) + " characters");
    }
    text += c;
  }
}

}  // namespace panelhost
