// The emulated process's memory as panelhost touches it: every access checked against what is
// mapped and how (read, write), as the module's own accesses are checked by the CPU. A refused
// access is a ModuleFault naming the address.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "loader/module_image.h"

struct uc_struct;

namespace panelhost {

class UnicornApi;

class GuestMemory {
 public:
  GuestMemory(const UnicornApi& api, uc_struct* engine);

  // `access` is PageAccess bits; base and size whole pages.
  void map(std::uint32_t base, std::uint32_t size, std::uint8_t access);
  void protect(std::uint32_t base, std::uint32_t size, std::uint8_t access);
  std::uint8_t accessAt(std::uint32_t address) const { return pages_[address / kPage]; }
  // True when every byte of the range has all of `access`.
  bool allows(std::uint64_t address, std::uint64_t bytes, std::uint8_t access) const;

  void read(std::uint64_t address, void* into, std::size_t bytes) const;
  void write(std::uint64_t address, const void* from, std::size_t bytes);
  // Writes whatever the access rights say, as the loader writes an image before protecting it.
  void load(std::uint32_t address, const void* from, std::size_t bytes);
  std::uint32_t u32(std::uint64_t address) const;
  void put32(std::uint64_t address, std::uint32_t value);
  // A NUL-terminated text the module handed over; longer than `maxLength` is a ModuleFault.
  std::string cString(std::uint32_t address, std::size_t maxLength) const;
  std::u16string wideString(std::uint32_t address, std::size_t maxLength) const;

 private:
  static constexpr std::uint32_t kPage = 0x1000;
  [[noreturn]] void refuse(const char* access, std::uint64_t address, std::size_t bytes) const;

  const UnicornApi& api_;
  uc_struct* engine_;
  std::vector<std::uint8_t> pages_;  // PageAccess bits of every page of the 4 GiB
};

}  // namespace panelhost
