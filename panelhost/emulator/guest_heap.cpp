#include "emulator/guest_heap.h"

#include <iterator>

namespace panelhost {
namespace {

constexpr std::uint32_t kAlignment = 16;

}  // namespace

GuestHeap::GuestHeap(std::uint32_t base, std::uint32_t size) { free_.emplace(base, size); }

std::optional<std::uint32_t> GuestHeap::allocate(std::uint32_t bytes) {
  const std::uint64_t rounded =
      (std::uint64_t{bytes == 0 ? 1u : bytes} + kAlignment - 1) / kAlignment * kAlignment;
  for (auto block = free_.begin(); block != free_.end(); ++block) {
    if (block->second < rounded) continue;
    const std::uint32_t address = block->first;
    const std::uint32_t remaining = block->second - static_cast<std::uint32_t>(rounded);
    free_.erase(block);
    if (remaining > 0) free_.emplace(address + static_cast<std::uint32_t>(rounded), remaining);
    used_.emplace(address, Block{static_cast<std::uint32_t>(rounded), bytes});
    return address;
  }
  return std::nullopt;
}

bool GuestHeap::release(std::uint32_t address) {
  const auto found = used_.find(address);
  if (found == used_.end()) return false;
  std::uint32_t start = address;
  std::uint32_t size = found->second.size;
  used_.erase(found);
  auto next = free_.lower_bound(start);
  if (next != free_.end() && next->first == start + size) {
    size += next->second;
    next = free_.erase(next);
  }
  if (next != free_.begin()) {
    const auto previous = std::prev(next);
    if (previous->first + previous->second == start) {
      start = previous->first;
      size += previous->second;
      free_.erase(previous);
    }
  }
  free_.emplace(start, size);
  return true;
}

std::optional<std::uint32_t> GuestHeap::sizeOf(std::uint32_t address) const {
  const auto found = used_.find(address);
  if (found == used_.end()) return std::nullopt;
  return found->second.requested;
}

}  // namespace panelhost
