// The C runtime's heap inside the emulated process: first fit over one region, neighbours merged
// on release. It only does address arithmetic; the caller zeroes or copies the bytes.
#pragma once

#include <cstdint>
#include <map>
#include <optional>

namespace panelhost {

class GuestHeap {
 public:
  GuestHeap(std::uint32_t base, std::uint32_t size);

  // 16-byte aligned; a request for 0 bytes still gets a block of its own. Nothing when full.
  std::optional<std::uint32_t> allocate(std::uint32_t bytes);
  // False when `address` is not a block this heap handed out and has not taken back.
  bool release(std::uint32_t address);
  // The size asked for when the block was allocated.
  std::optional<std::uint32_t> sizeOf(std::uint32_t address) const;

 private:
  struct Block {
    std::uint32_t size;       // as handed out, rounded up
    std::uint32_t requested;  // as asked for
  };
  std::map<std::uint32_t, std::uint32_t> free_;  // address -> size
  std::map<std::uint32_t, Block> used_;
};

}  // namespace panelhost
