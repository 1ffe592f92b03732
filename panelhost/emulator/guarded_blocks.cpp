#include "emulator/guarded_blocks.h"

#include <algorithm>

#include "emulator/byte_reader.h"
#include "emulator/guest_layout.h"
#include "emulator/guest_memory.h"
#include "emulator/pe_image.h"
#include "loader/module_image.h"

namespace panelhost {
namespace {

// A byte no zeroed buffer or text holds by chance, 16 of them after each block (then up to the
// next 16-byte boundary, where the next block starts) and before the first: what a look at the
// memory shows around each block.
constexpr std::uint8_t kGuardByte = 0xFD;
constexpr std::uint32_t kGuardBytes = 16;
constexpr std::uint32_t kAlignment = 16;

std::uint32_t aligned(std::uint64_t offset) {
  return static_cast<std::uint32_t>((offset + kAlignment - 1) / kAlignment * kAlignment);
}

}  // namespace

GuardedBlocks::GuardedBlocks(GuestMemory& memory, std::string path)
    : memory_(memory), path_(std::move(path)) {}

std::uint32_t GuardedBlocks::allocate(std::size_t bytes, const std::string& purpose) {
  if (used_ == 0) {
    memory_.map(guest::kHostBlocksBase, guest::kHostBlocksSize, kPageRead | kPageWrite);
    memory_.describeFencesWith([this](std::uint32_t address) { return outside(address); });
    const std::vector<std::uint8_t> guard(kGuardBytes, kGuardByte);
    memory_.load(guest::kHostBlocksBase, guard.data(), guard.size());
    memory_.fence(guest::kHostBlocksBase, kGuardBytes);
    used_ = kGuardBytes;
  }
  const std::uint64_t next = aligned(std::uint64_t{used_} + bytes + kGuardBytes);
  if (next > guest::kHostBlocksSize) {
    throw HostError(path_ + ": the emulator has no room left for " + std::to_string(bytes) +
                    " more bytes of host memory (" + std::to_string(guest::kHostBlocksSize) +
                    " in all)");
  }
  const std::uint32_t start = guest::kHostBlocksBase + used_;
  const auto size = static_cast<std::uint32_t>(bytes);
  std::vector<std::uint8_t> fill(next - used_, kGuardByte);
  std::fill_n(fill.begin(), size, std::uint8_t{0});
  memory_.load(start, fill.data(), fill.size());
  memory_.fence(start + size, static_cast<std::uint32_t>(next - used_) - size);
  blocks_.push_back({start, start + size, purpose});
  used_ = static_cast<std::uint32_t>(next);
  return start;
}

std::string GuardedBlocks::outside(std::uint32_t address) const {
  // The byte is past the end of the block before it when it lies in that block's own guard,
  // else before the start of the block after it.
  const Block* before = nullptr;
  const Block* after = nullptr;
  for (const Block& block : blocks_) {
    if (block.end <= address) before = &block;
    if (block.start > address && after == nullptr) after = &block;
  }
  if (before == nullptr && after == nullptr) {
    return "wrote outside the memory the host lent it: at " + hex(address);
  }
  const Block& block =
      before != nullptr && (address < before->end + kGuardBytes || after == nullptr) ? *before
                                                                                     : *after;
  const std::int64_t offset = std::int64_t{address} - block.start;
  return "wrote outside the memory the host lent it: at " + hex(address) + ", offset " +
         std::to_string(offset) + " of " + block.purpose + ", which is " +
         std::to_string(block.end - block.start) + " bytes long";
}

}  // namespace panelhost
