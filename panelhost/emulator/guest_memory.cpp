#include "emulator/guest_memory.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "emulator/byte_reader.h"
#include "emulator/pe_image.h"
#include "emulator/unicorn_api.h"
#include "emulator/windows_definitions.h"

namespace panelhost {
namespace {

static_assert(int{kPageWrite} == 2, "the write bit guest_memory.h tests");
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

// How the CPU is lent a page: a data page read-only, so that the module's stores come to
// storeInPlace or takeGuestStore; a page that may hold code as it is, so that a store to it drops
// the code translated from it.
std::uint8_t lentAccess(std::uint8_t access) {
  const bool data = (access & kPageWrite) && !(access & kPageExecute);
  return data ? static_cast<std::uint8_t>(access & ~kPageWrite) : access;
}

}  // namespace

// Zeroed memory of the process's own, lent to the CPU; pages are only committed when touched.
struct GuestMemory::Region {
  std::uint32_t base;
  std::uint32_t size;
  std::uint8_t* bytes;

  Region(std::uint32_t base, std::uint32_t size) : base(base), size(size), bytes(nullptr) {
    void* mapped = ::mmap(nullptr, size, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapped == MAP_FAILED) {
      throw HostError("the emulator could not reserve " + hex(size) + " bytes for " + hex(base));
    }
    bytes = static_cast<std::uint8_t*>(mapped);
  }
  ~Region() { ::munmap(bytes, size); }
  Region(const Region&) = delete;
  Region& operator=(const Region&) = delete;
};

GuestMemory::GuestMemory(const UnicornApi& api, uc_struct* engine)
    : api_(api), engine_(engine), pages_(std::size_t{1} << 20, 0) {}

GuestMemory::~GuestMemory() = default;

void GuestMemory::map(std::uint32_t base, std::uint32_t size, std::uint8_t access) {
  constexpr std::size_t kMostRegions = (0xFF >> kRegionShift) - 1;
  if (regions_.size() == kMostRegions) {
    throw HostError("the emulator cannot map more than " + std::to_string(kMostRegions) +
                    " regions");
  }
  auto region = std::make_unique<Region>(base, size);
  check(api_, api_.memMapPtr(engine_, base, size, access, region->bytes), "map", base, size);
  // Only a protection change makes the CPU take the memory for read-only; mapping it so does not.
  if (lentAccess(access) != access) {
    check(api_, api_.memProtect(engine_, base, size, lentAccess(access)), "protect", base, size);
  }
  regionBytes_[regions_.size() + 1] = region->bytes - base;
  regions_.push_back(std::move(region));
  const auto entry = static_cast<std::uint8_t>(access | regions_.size() << kRegionShift);
  std::fill_n(pages_.begin() + base / win32::kPageSize, size / win32::kPageSize, entry);
}

void GuestMemory::protect(std::uint32_t base, std::uint32_t size, std::uint8_t access) {
  const std::uint32_t first = base / win32::kPageSize;
  const std::uint32_t end =
      static_cast<std::uint32_t>((std::uint64_t{base} + size) / win32::kPageSize);
  bool changes = false;
  for (std::uint32_t page = first; page < end; ++page) {
    changes = changes || lentAccess(pages_[page] & kAccess) != lentAccess(access);
    pages_[page] = static_cast<std::uint8_t>((pages_[page] & ~kAccess) | access);
  }
  if (!changes) return;
  // The CPU's map of the memory is split where the lent access changes, and every store of the
  // module's looks its page up in that map: it gets one piece for each run of pages lent alike in
  // the regions touched. Each piece is protected anew, as a split leaves a piece writable to the
  // CPU's fast path (no longer read-only to it) whatever it is lent.
  for (const auto& region : regions_) {
    const std::uint32_t from = region->base / win32::kPageSize;
    const std::uint32_t to = from + region->size / win32::kPageSize;
    if (to <= first || from >= end) continue;
    for (std::uint32_t page = from; page < to;) {
      const std::uint8_t lent = lentAccess(pages_[page] & kAccess);
      std::uint32_t next = page + 1;
      while (next < to && lentAccess(pages_[next] & kAccess) == lent) ++next;
      check(
          api_,
          api_.memProtect(engine_, page * win32::kPageSize, (next - page) * win32::kPageSize, lent),
          "protect", page * win32::kPageSize, (next - page) * win32::kPageSize);
      page = next;
    }
  }
}

bool GuestMemory::allows(std::uint64_t address, std::uint64_t bytes, std::uint8_t access) const {
  if (address > 0xFFFFFFFFull || bytes > 0x100000000ull - address) return false;
  if (bytes == 0) return true;
  for (std::uint64_t page = address / win32::kPageSize;
       page <= (address + bytes - 1) / win32::kPageSize; ++page) {
    if ((pages_[page] >> kRegionShift) == 0 || (pages_[page] & access) != access) return false;
  }
  return true;
}

void GuestMemory::refuse(const char* access, std::uint64_t address, std::size_t bytes) const {
  throw ModuleFault(std::string("cannot ") + access + " " + std::to_string(bytes) + " bytes at " +
                    hex(address) + ": not " + access + "able memory of the module");
}

std::uint8_t* GuestMemory::bytesAt(std::uint32_t address) const {
  const Region& region = *regions_[(pages_[address / win32::kPageSize] >> kRegionShift) - 1u];
  return region.bytes + (address - region.base);
}

// Byte ranges may run from one region into the next mapped right after it.
void GuestMemory::copyOut(std::uint64_t address, void* into, std::size_t bytes) const {
  auto* to = static_cast<std::uint8_t*>(into);
  while (bytes > 0) {
    const Region& region = *regions_[(pages_[address / win32::kPageSize] >> kRegionShift) - 1u];
    const std::size_t take =
        std::min<std::uint64_t>(bytes, std::uint64_t{region.base} + region.size - address);
    std::memcpy(to, region.bytes + (address - region.base), take);
    to += take, address += take, bytes -= take;
  }
}

void GuestMemory::copyIn(std::uint64_t address, const void* from, std::size_t bytes) {
  const auto* source = static_cast<const std::uint8_t*>(from);
  const std::uint64_t start = address;
  const std::size_t all = bytes;
  bool code = false;
  while (bytes > 0) {
    const Region& region = *regions_[(pages_[address / win32::kPageSize] >> kRegionShift) - 1u];
    const std::size_t take =
        std::min<std::uint64_t>(bytes, std::uint64_t{region.base} + region.size - address);
    std::memcpy(region.bytes + (address - region.base), source, take);
    source += take, address += take, bytes -= take;
  }
  for (std::uint64_t page = start / win32::kPageSize; page <= (start + all - 1) / win32::kPageSize;
       ++page) {
    code = code || (pages_[page] & kPageExecute);
  }
  // The CPU keeps translated code; bytes written under it must be translated afresh.
  if (code) {
    api_.control(engine_, UC_CTL_WRITE(UC_CTL_TB_REMOVE_CACHE, 2), start, start + all);
  }
}

void GuestMemory::read(std::uint64_t address, void* into, std::size_t bytes) const {
  if (!allows(address, bytes, kPageRead)) refuse("read", address, bytes);
  if (bytes > 0) copyOut(address, into, bytes);
}

void GuestMemory::write(std::uint64_t address, const void* from, std::size_t bytes) {
  if (!allows(address, bytes, kPageWrite)) refuse("write", address, bytes);
  if (bytes == 0) return;
  if (const std::uint32_t fenced = firstFenced(address, bytes)) {
    throw ModuleFault(fencedWrite(fenced));
  }
  copyIn(address, from, bytes);
}

void GuestMemory::load(std::uint32_t address, const void* from, std::size_t bytes) {
  if (bytes == 0) return;
  if (!allows(address, bytes, 0)) {
    throw HostError("the emulator could not write " + hex(bytes) + " bytes at " + hex(address) +
                    ": not mapped");
  }
  copyIn(address, from, bytes);
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

std::uint32_t* GuestMemory::wordAt(std::uint32_t address) {
  if (address % 4 != 0 || !allows(address, 4, 0)) {
    throw HostError("the emulator has no word of its own at " + hex(address));
  }
  return reinterpret_cast<std::uint32_t*>(bytesAt(address));
}

std::string GuestMemory::cString(std::uint32_t address, std::size_t maxLength) const {
  std::string text;
  std::uint64_t at = address;
  char chunk[256];
  for (;;) {
    const std::size_t take = static_cast<std::size_t>(
        std::min<std::uint64_t>(sizeof chunk, win32::kPageSize - at % win32::kPageSize));
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
  wideString(address, maxLength, text);
  return text;
}

void GuestMemory::wideString(std::uint32_t address, std::size_t maxLength,
                             std::u16string& text) const {
  text.clear();
  for (std::uint64_t at = address;; at += 2) {
    std::uint8_t unit[2];
    read(at, unit, 2);
    const auto c = static_cast<char16_t>(unit[0] | unit[1] << 8);
    if (c == 0) return;
    if (text.size() == maxLength) {
      throw ModuleFault("the text at " + hex(address) + " is longer than " +
                        std::to_string(maxLength) + " characters");
    }
    text += c;
  }
}

void GuestMemory::fence(std::uint32_t address, std::uint32_t bytes) {
  if (fenced_.empty()) fenceBase_ = address;
  if (address < fenceBase_) throw std::logic_error("fences grow upwards from the first");
  const std::size_t end = std::size_t{address - fenceBase_} + bytes;
  if (fenced_.size() < end) fenced_.resize(end, 0);
  fenceSpan_ = static_cast<std::uint32_t>(fenced_.size());
  std::fill_n(fenced_.begin() + (address - fenceBase_), bytes, std::uint8_t{1});
}

void GuestMemory::describeFencesWith(std::function<std::string(std::uint32_t)> describe) {
  describeFence_ = std::move(describe);
}

std::uint32_t GuestMemory::firstFenced(std::uint64_t address, std::uint64_t bytes) const {
  const std::uint64_t from = std::max<std::uint64_t>(address, fenceBase_);
  const std::uint64_t to = std::min<std::uint64_t>(address + bytes, fenceBase_ + fenced_.size());
  for (std::uint64_t at = from; at < to; ++at) {
    if (fenced_[at - fenceBase_]) return static_cast<std::uint32_t>(at);
  }
  return 0;
}

std::string GuestMemory::fencedWrite(std::uint32_t address) const {
  return describeFence_ ? describeFence_(address)
                        : "wrote the fenced byte at " + hex(address) + " of the host's";
}

GuestMemory::GuestStore GuestMemory::takeGuestStore(std::uint64_t address, int bytes,
                                                    std::uint64_t value) {
  const auto size = static_cast<std::size_t>(bytes);
  if (bytes <= 0 || bytes > 8 || !allows(address, size, kPageWrite)) {
    return GuestStore::kNotWritable;
  }
  if (firstFenced(address, size) != 0) return GuestStore::kFenced;
  std::uint8_t little[8];
  for (int b = 0; b < bytes; ++b) little[b] = static_cast<std::uint8_t>(value >> 8 * b);
  copyIn(address, little, size);
  return GuestStore::kStored;
}

}  // namespace panelhost
