// The memory panelhost lends the emulated module (text buffers, the PANELS table, the storage of
// module variables, calculator texts), each block exactly as large as lent, between guard bytes.
// The guards are fenced: a write of the module's that would reach one, or a service's on its
// behalf, is refused where it happens, and the fault names the block and the entry point.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace panelhost {

class GuestMemory;

class GuardedBlocks {
 public:
  // `path` names the module in messages.
  GuardedBlocks(GuestMemory& memory, std::string path);

  // A zero-filled block of exactly `bytes`; throws HostError when the region is full.
  std::uint32_t allocate(std::size_t bytes, const std::string& purpose);

 private:
  struct Block {
    std::uint32_t start;
    std::uint32_t end;  // one past the last byte lent
    std::string purpose;
  };

  // What a write that reached the guard byte at `address` did.
  std::string outside(std::uint32_t address) const;

  GuestMemory& memory_;
  std::string path_;
  std::vector<Block> blocks_;
  std::uint32_t used_ = 0;  // bytes of the region in use, guards included
};

}  // namespace panelhost
