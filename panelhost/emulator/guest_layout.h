// Where things live in the emulated 32-bit process. The stack stands where a Windows process
// keeps it, the first 256 KiB below it never mapped (so a null pointer faults, and so does a stack
// that overflows), the thread and process blocks where 32-bit Windows kept them, and DLLs anywhere
// above the heap.
//
// The stack is the lowest mapping: nine in ten of the module's stores go to it, and Unicorn 2.0
// looks every store's page up in its list of mappings, the lowest one first.
#pragma once

#include <cstdint>

namespace panelhost::guest {

// The thread's stack, 1 MiB as Windows reserves by default, with unmapped pages below it.
constexpr std::uint32_t kStackLimit = 0x00040000;
constexpr std::uint32_t kStackSize = 0x00100000;
constexpr std::uint32_t kStackBase = kStackLimit + kStackSize;
// Entry thunks for imports and host services, the stop address calls return to, and a few
// routines of the runtime that must run as guest code. Read and execute only.
constexpr std::uint32_t kCodeBase = 0x00150000;
constexpr std::uint32_t kCodeSize = 0x00010000;
// The descriptor table the segment registers are loaded from. Read only.
constexpr std::uint32_t kDescriptorTableBase = 0x00160000;
// The runtime's data: errno, the stdio streams, locale records. Read and write.
constexpr std::uint32_t kDataBase = 0x00161000;
constexpr std::uint32_t kDataSize = 0x0000F000;
// Memory panelhost hands the module (text buffers, the PANELS table).
constexpr std::uint32_t kHostBlocksBase = 0x00200000;
constexpr std::uint32_t kHostBlocksSize = 0x00200000;
// The "program" the DLL is loaded into: its module handle, never mapped.
constexpr std::uint32_t kProgramHandle = 0x00400000;
// panelhost's routine that makes a sequence of calls into the module in one entry (read and
// execute), the words it reads, which panelhost sets (read only), and the results it stores.
constexpr std::uint32_t kCallerCodeBase = 0x00500000;
constexpr std::uint32_t kCallerWordsBase = 0x00501000;
constexpr std::uint32_t kCallerResultsBase = 0x00502000;
constexpr std::uint32_t kCallerResultsSize = 0x00004000;
// The C runtime's heap.
constexpr std::uint32_t kHeapBase = 0x01000000;
constexpr std::uint32_t kHeapSize = 0x01000000;
// Where an image may be placed, and where one goes that cannot have its preferred base.
constexpr std::uint32_t kImagesStart = 0x02000000;
constexpr std::uint32_t kImagesEnd = 0x7FFD0000;
constexpr std::uint32_t kRelocatedBase = 0x10000000;
constexpr std::uint32_t kTebBase = 0x7FFDE000;
constexpr std::uint32_t kPebBase = 0x7FFDF000;
constexpr std::uint32_t kProcessId = 0x1000;
constexpr std::uint32_t kThreadId = 0x1004;

}  // namespace panelhost::guest
