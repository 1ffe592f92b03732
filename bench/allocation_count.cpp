// Counts every heap allocation by standing in for malloc, calloc, realloc and the aligned
// allocators: the executable's definitions come first in the symbol search, so libstdc++'s
// operator new, the module and the C library all reach these. glibc's own entry points do the
// work.
#include "allocation_count.h"

#include <atomic>
#include <cerrno>
#include <cstddef>

extern "C" {
void* __libc_malloc(std::size_t bytes);
void* __libc_calloc(std::size_t count, std::size_t bytes);
void* __libc_realloc(void* block, std::size_t bytes);
void* __libc_memalign(std::size_t alignment, std::size_t bytes);
}

namespace {

std::atomic<std::uint64_t> allocations{0};

void* counted(void* block) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  return block;
}

}  // namespace

namespace bench {

std::uint64_t allocationsSoFar() { return allocations.load(std::memory_order_relaxed); }

}  // namespace bench

extern "C" {

void* malloc(std::size_t bytes) { return counted(__libc_malloc(bytes)); }
void* calloc(std::size_t count, std::size_t bytes) { return counted(__libc_calloc(count, bytes)); }
void* realloc(void* block, std::size_t bytes) { return counted(__libc_realloc(block, bytes)); }
void* memalign(std::size_t alignment, std::size_t bytes) {
  return counted(__libc_memalign(alignment, bytes));
}
void* aligned_alloc(std::size_t alignment, std::size_t bytes) {
  return counted(__libc_memalign(alignment, bytes));
}
int posix_memalign(void** block, std::size_t alignment, std::size_t bytes) {
  void* got = __libc_memalign(alignment, bytes);
  if (got == nullptr) return ENOMEM;
  *block = counted(got);
  return 0;
}
}
