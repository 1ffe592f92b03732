// The memory panelhost lends the emulated module (text buffers, the PANELS table, the storage of
// module variables, calculator texts), each block exactly as large as lent, between guard bytes.
// A module that writes outside what it was lent is caught after the call that did it, and the
// fault names the block and the entry point.
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
  // Throws ModuleFault when a guard byte changed since the last check, naming the block it guards
  // and `entry`, the call that changed it. The guards are mended first.
  void check(const std::string& entry);

 private:
  struct Block {
    std::uint32_t start;
    std::uint32_t end;  // one past the last byte lent
    std::string purpose;
  };

  [[noreturn]] void fail(const std::string& entry, std::uint32_t address);

  GuestMemory& memory_;
  std::string path_;
  std::vector<Block> blocks_;
  std::uint32_t used_ = 0;          // bytes of the region in use, guards included
  std::vector<std::uint8_t> seen_;  // the region as read by a check, its room kept
};

}  // namespace panelhost
