// Heap allocations made by this process, whoever makes them (panelhost, the module, the C and C++
// runtimes): the program that links allocation_count.cpp takes over malloc and its kin.
#pragma once

#include <cstdint>

namespace bench {

std::uint64_t allocationsSoFar();

}  // namespace bench
