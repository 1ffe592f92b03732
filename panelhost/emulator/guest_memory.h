// The emulated process's memory as panelhost touches it: every access checked against what is
// mapped and how (read, write), as the module's own accesses are checked by the CPU. A refused
// access is a ModuleFault naming the address.
//
// The bytes live in panelhost's own buffers, lent to the CPU, so that panelhost reads and writes
// them directly. The CPU (Unicorn 2.0) takes a slow path for every store to writable memory that
// costs far more than the store; it takes a much shorter one for memory it believes read-only,
// asking panelhost first. So data pages (writable, not executable) are lent to it read-only, and
// the module's stores to them arrive in storeInPlace (the odd one in takeGuestStore), which makes
// them: the same bytes in the same place, several times faster, and every store seen, so that none
// can reach a fenced byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "emulator/windows_definitions.h"
#include "loader/module_image.h"

struct uc_struct;

namespace panelhost {

class UnicornApi;

class GuestMemory {
 public:
  GuestMemory(const UnicornApi& api, uc_struct* engine);
  ~GuestMemory();
  GuestMemory(const GuestMemory&) = delete;
  GuestMemory& operator=(const GuestMemory&) = delete;

  // `access` is PageAccess bits; base and size whole pages.
  void map(std::uint32_t base, std::uint32_t size, std::uint8_t access);
  void protect(std::uint32_t base, std::uint32_t size, std::uint8_t access);
  std::uint8_t accessAt(std::uint32_t address) const {
    return pages_[address / win32::kPageSize] & kAccess;
  }
  // True when every byte of the range has all of `access`.
  bool allows(std::uint64_t address, std::uint64_t bytes, std::uint8_t access) const;

  void read(std::uint64_t address, void* into, std::size_t bytes) const;
  void write(std::uint64_t address, const void* from, std::size_t bytes);
  // Writes whatever the access rights and fences say, as the loader writes an image before
  // protecting it, and as panelhost lays out its own memory.
  void load(std::uint32_t address, const void* from, std::size_t bytes);
  std::uint32_t u32(std::uint64_t address) const;
  void put32(std::uint64_t address, std::uint32_t value);
  // A NUL-terminated text the module handed over; longer than `maxLength` is a ModuleFault.
  std::string cString(std::uint32_t address, std::size_t maxLength) const;
  std::u16string wideString(std::uint32_t address, std::size_t maxLength) const;
  // The same into `text`, whose room is kept.
  void wideString(std::uint32_t address, std::size_t maxLength, std::u16string& text) const;
  // The word at `address` of a page panelhost mapped, to be read or written in place (the guest
  // sees every change at once). Throws HostError when it is not mapped whole.
  std::uint32_t* wordAt(std::uint32_t address);

  // Bytes no write may reach, the module's nor a service's on its behalf: the guards around the
  // memory the host lends the module. `describe` words a write that reached the byte at an
  // address ("wrote outside the memory the host lent it: ...").
  void fence(std::uint32_t address, std::uint32_t bytes);
  void describeFencesWith(std::function<std::string(std::uint32_t)> describe);

  // A store of the module's (`bytes` of `value`, little-endian) that the CPU handed over because
  // the page is lent to it read-only, one storeInPlace did not make: across pages or regions, or
  // refused. kStored when made; otherwise nothing is written.
  enum class GuestStore { kStored, kNotWritable, kFenced };
  __attribute__((noinline)) GuestStore takeGuestStore(std::uint64_t address, int bytes,
                                                      std::uint64_t value);
  // Most stores: 1, 2, 4 or 8 bytes within one writable page, away from the fences, made here
  // without a call. False for the others, which takeGuestStore makes or refuses. The host is
  // little-endian, as the guest is.
  bool storeInPlace(std::uint64_t address, int bytes, std::uint64_t value) {
    const auto size = static_cast<std::uint32_t>(bytes);
    const auto at = static_cast<std::uint32_t>(address);
    if (address > 0xFFFFFFFFu || (at % win32::kPageSize) + size > win32::kPageSize ||
        !(pages_[at / win32::kPageSize] & kPageWriteBit) || fencedWithin(at, size)) {
      return false;
    }
    std::uint8_t* to = regionBytes_[pages_[at / win32::kPageSize] >> kRegionShift] + at;
    switch (size) {
      case 1:
        *to = static_cast<std::uint8_t>(value);
        return true;
      case 2:
        std::memcpy(to, &value, 2);
        return true;
      case 4:
        std::memcpy(to, &value, 4);
        return true;
      case 8:
        std::memcpy(to, &value, 8);
        return true;
      default:
        return false;
    }
  }
  // Whether a byte of the range (at most a page) is fenced.
  bool fencedWithin(std::uint32_t address, std::uint32_t bytes) const {
    // Unsigned: a range below the fences has an offset past them.
    const std::uint32_t offset = address - fenceBase_;
    if (offset >= fenceSpan_ && offset + bytes - 1 >= fenceSpan_) return false;
    for (std::uint32_t b = 0; b < bytes; ++b) {
      if (offset + b < fenceSpan_ && fenced_[offset + b]) return true;
    }
    return false;
  }
  // What a write that reached the fenced byte at `address` did.
  std::string fencedWrite(std::uint32_t address) const;
  // The first fenced byte of the range, or 0 when none is.
  std::uint32_t firstFenced(std::uint64_t address, std::uint64_t bytes) const;

 private:
  static constexpr std::uint8_t kAccess = 0x07;     // the PageAccess bits of a page's entry
  static constexpr int kRegionShift = 3;            // the rest: its region's index + 1, 0 unmapped
  static constexpr std::uint8_t kPageWriteBit = 2;  // kPageWrite

  struct Region;
  [[noreturn]] void refuse(const char* access, std::uint64_t address, std::size_t bytes) const;
  std::uint8_t* bytesAt(std::uint32_t address) const;
  void copyOut(std::uint64_t address, void* into, std::size_t bytes) const;
  void copyIn(std::uint64_t address, const void* from, std::size_t bytes);

  const UnicornApi& api_;
  uc_struct* engine_;
  std::vector<std::uint8_t> pages_;  // access bits and region of every page of the 4 GiB
  std::vector<std::unique_ptr<Region>> regions_;
  // By a page's region index: the host address of guest address 0 in that region's bytes (a
  // region's byte at guest address a is regionBytes_[index] + a).
  std::uint8_t* regionBytes_[(0xFF >> kRegionShift) + 1] = {};
  std::uint32_t fenceBase_ = 0;
  std::vector<std::uint8_t> fenced_;  // from fenceBase_: 1 for a byte no write may reach
  std::uint32_t fenceSpan_ = 0;       // fenced_.size()
  std::function<std::string(std::uint32_t)> describeFence_;
};

}  // namespace panelhost
