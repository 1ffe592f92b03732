// The definitions of 32-bit Windows and its C runtime (msvcrt) that the emulated process is built
// on: pages, the thread and process blocks as FS and the start-up code read them, page
// protections and memory states, error codes, the loader's notifications, and the C runtime's
// few records. Each as Windows defines it, written here once; where panelhost puts things is
// guest_layout.h.
#pragma once

#include <cstddef>
#include <cstdint>

namespace panelhost::win32 {

// The x86 page, and the granularity images are placed on.
constexpr std::uint32_t kPageSize = 0x1000;
constexpr std::uint32_t kAllocationGranularity = 0x10000;
// The longest path a function takes (MAX_PATH).
constexpr std::size_t kMaxPath = 260;
// A "pointer" below 64 KiB is a number in its low word instead: an atom (MAKEINTATOM) or an
// ordinal (IS_INTRESOURCE).
constexpr std::uint32_t kLowestPointer = 0x10000;
// The x87 control word a thread starts with: every exception masked, 53-bit precision.
constexpr std::uint16_t kThreadFpuControl = 0x27F;

// The thread environment block, one page, which FS addresses.
namespace teb {
constexpr std::uint32_t kExceptionList = 0x00;  // the innermost exception handler's record
constexpr std::uint32_t kStackBase = 0x04;      // the stack's top
constexpr std::uint32_t kStackLimit = 0x08;     // its lowest committed address
constexpr std::uint32_t kSelf = 0x18;           // the block's own address
constexpr std::uint32_t kProcessId = 0x20;
constexpr std::uint32_t kThreadId = 0x24;
constexpr std::uint32_t kTlsPointer = 0x2C;  // the images' TLS blocks, by TLS index
constexpr std::uint32_t kPeb = 0x30;
constexpr std::uint32_t kLastError = 0x34;
constexpr std::uint32_t kTlsValues = 0xE10;  // the TLS slots' values (TlsGetValue)
// The end of the exception handlers' list: none registered.
constexpr std::uint32_t kNoHandler = 0xFFFFFFFF;
}  // namespace teb

// The thread's TLS slots (TLS_MINIMUM_AVAILABLE); the images' TLS array has as many entries.
constexpr std::uint32_t kTlsSlots = 64;

// The process environment block.
namespace peb {
constexpr std::uint32_t kImageBase = 0x08;  // the program's module handle
constexpr std::uint32_t kProcessHeap = 0x18;
constexpr std::uint32_t kProcessorCount = 0x64;
}  // namespace peb

// Page protections (PAGE_*), in the low byte of a protection.
namespace page {
constexpr std::uint32_t kNoAccess = 0x01;
constexpr std::uint32_t kReadOnly = 0x02;
constexpr std::uint32_t kReadWrite = 0x04;
constexpr std::uint32_t kWriteCopy = 0x08;
constexpr std::uint32_t kExecute = 0x10;
constexpr std::uint32_t kExecuteRead = 0x20;
constexpr std::uint32_t kExecuteReadWrite = 0x40;
constexpr std::uint32_t kExecuteWriteCopy = 0x80;
}  // namespace page

// A region's state and type (MEM_*), as VirtualQuery reports them.
namespace mem {
constexpr std::uint32_t kCommit = 0x1000;
constexpr std::uint32_t kReserve = 0x2000;
constexpr std::uint32_t kFree = 0x10000;
constexpr std::uint32_t kPrivate = 0x20000;
constexpr std::uint32_t kImage = 0x1000000;
}  // namespace mem

// VirtualQuery's answer (MEMORY_BASIC_INFORMATION).
struct MemoryBasicInformation {
  std::uint32_t baseAddress;
  std::uint32_t allocationBase;
  std::uint32_t allocationProtection;
  std::uint32_t regionSize;
  std::uint32_t state;
  std::uint32_t protection;
  std::uint32_t type;
};
static_assert(sizeof(MemoryBasicInformation) == 28);

// CRITICAL_SECTION.
struct CriticalSection {
  std::uint32_t debugInfo;
  std::uint32_t lockCount;  // -1: free
  std::uint32_t recursionCount;
  std::uint32_t owningThread;
  std::uint32_t lockSemaphore;
  std::uint32_t spinCount;
};
static_assert(sizeof(CriticalSection) == 24);

// The last error's codes (ERROR_*).
namespace error {
constexpr std::uint32_t kSuccess = 0;
constexpr std::uint32_t kInvalidHandle = 6;
constexpr std::uint32_t kBadLength = 24;
constexpr std::uint32_t kInvalidParameter = 87;
constexpr std::uint32_t kInsufficientBuffer = 122;
constexpr std::uint32_t kModuleNotFound = 126;
constexpr std::uint32_t kProcedureNotFound = 127;
constexpr std::uint32_t kInvalidAddress = 487;
}  // namespace error

// Why the loader calls a DLL's entry point and TLS callbacks (DLL_PROCESS_*).
constexpr std::uint32_t kProcessDetach = 0;
constexpr std::uint32_t kProcessAttach = 1;

// The C runtime's.
namespace msvcrt {
// _iob: the FILE records of the standard streams and the rest (_IOB_ENTRIES).
constexpr std::uint32_t kStreams = 20;
constexpr std::uint32_t kStreamSize = 32;  // sizeof(FILE)
constexpr std::uint32_t kStreamFile = 16;  // FILE's _file: the stream's descriptor
constexpr std::uint32_t kStdout = 1;
constexpr std::uint32_t kStderr = 2;
constexpr int kEof = -1;
// errno's values.
constexpr std::uint32_t kEnomem = 12;
constexpr std::uint32_t kEinval = 22;
constexpr std::uint32_t kErange = 34;
// struct lconv: ten text pointers (the decimal point first), then eight chars that the "C"
// locale leaves at CHAR_MAX.
constexpr std::uint32_t kLconvTexts = 10;
constexpr std::uint32_t kLconvChars = 8;
constexpr std::uint32_t kLconvSize = 4 * kLconvTexts + kLconvChars;
constexpr std::uint8_t kCharMax = 0x7F;
}  // namespace msvcrt

}  // namespace panelhost::win32
