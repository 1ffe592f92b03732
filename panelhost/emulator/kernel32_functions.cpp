// The KERNEL32 functions the static MinGW start-up and tear-down call: critical sections (one
// thread, so nothing to wait for), the last error and TLS slots in the thread block, module
// handles (the image itself is the only module there is), the "C" locale's code page
// conversions, and page queries and protections on the emulated memory.
#include <algorithm>
#include <cctype>
#include <vector>

#include "emulator/guest_layout.h"
#include "emulator/pe_image.h"
#include "emulator/runtime_library.h"
#include "emulator/windows_definitions.h"

namespace panelhost {
namespace {

namespace error = win32::error;
using win32::kMaxPath;
constexpr std::uint32_t kMaxConverted = 1 << 20;

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string narrow(const std::u16string& text) {
  std::string out;
  for (const char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// A page protection and the access bits it gives.
std::uint8_t accessOfProtection(std::uint32_t protection) {
  using namespace win32::page;
  switch (protection & 0xFF) {
    case kReadOnly:
      return kPageRead;
    case kReadWrite:
    case kWriteCopy:
      return kPageRead | kPageWrite;
    case kExecute:
    case kExecuteRead:
      return kPageRead | kPageExecute;
    case kExecuteReadWrite:
    case kExecuteWriteCopy:
      return kPageRead | kPageWrite | kPageExecute;
    default:
      return 0;
  }
}

std::uint32_t protectionOfAccess(std::uint8_t access) {
  using namespace win32::page;
  const bool write = access & kPageWrite;
  if (access & kPageExecute) return write ? kExecuteReadWrite : kExecuteRead;
  if (write) return kReadWrite;
  return access & kPageRead ? kReadOnly : kNoAccess;
}

class Kernel32 {
 public:
  explicit Kernel32(RuntimeLibrary& runtime) : runtime_(runtime), memory_(runtime.memory()) {}

  // One thread: a critical section is never waited for, only touched where it lies.

  // void InitializeCriticalSection(CRITICAL_SECTION* section)
  void initializeCriticalSection(std::uint32_t section) {
    const win32::CriticalSection unlocked{0, 0xFFFFFFFF, 0, 0, 0, 0};
    memory_.write(section, &unlocked, sizeof unlocked);
  }

  // void EnterCriticalSection(CRITICAL_SECTION* section), and LeaveCriticalSection and
  // DeleteCriticalSection alike
  void touchCriticalSection(std::uint32_t section) {
    win32::CriticalSection fields;
    memory_.read(section, &fields, sizeof fields);
  }

  // void Sleep(DWORD milliseconds)
  void sleep(std::uint32_t /*milliseconds*/) {}

  // DWORD GetLastError(void)
  std::uint32_t getLastError() { return memory_.u32(guest::kTebBase + win32::teb::kLastError); }

  // void* TlsGetValue(DWORD index)
  std::uint32_t tlsGetValue(std::uint32_t index) {
    if (index >= win32::kTlsSlots) return failWith(error::kInvalidParameter);
    runtime_.setLastError(error::kSuccess);
    return memory_.u32(guest::kTebBase + win32::teb::kTlsValues + 4 * index);
  }

  // HMODULE GetModuleHandleA(const char* name)
  std::uint32_t getModuleHandleA(std::uint32_t name) {
    return moduleHandle(name, name ? memory_.cString(name, kMaxPath) : "");
  }

  // HMODULE GetModuleHandleW(const wchar_t* name)
  std::uint32_t getModuleHandleW(std::uint32_t name) {
    return moduleHandle(name, name ? narrow(memory_.wideString(name, kMaxPath)) : "");
  }

  // HMODULE LoadLibraryA(const char* fileName)
  std::uint32_t loadLibraryA(std::uint32_t fileName) {
    if (isImage(memory_.cString(fileName, kMaxPath))) return runtime_.image().base;
    return failWith(error::kModuleNotFound);
  }

  // BOOL FreeLibrary(HMODULE module)
  std::uint32_t freeLibrary(std::uint32_t module) {
    return module == runtime_.image().base ? 1u : failWith(error::kInvalidHandle);
  }

  // FARPROC GetProcAddress(HMODULE module, const char* name)
  std::uint32_t getProcAddress(std::uint32_t module, std::uint32_t name) {
    if (module != runtime_.image().base) {
      return failWith(module == guest::kProgramHandle ? error::kProcedureNotFound
                                                      : error::kInvalidHandle);
    }
    if (name < win32::kLowestPointer) return failWith(error::kProcedureNotFound);  // by ordinal
    const auto& exports = runtime_.image().exports;
    const auto found = exports.find(memory_.cString(name, kMaxPath));
    if (found == exports.end()) return failWith(error::kProcedureNotFound);
    return runtime_.image().base + found->second;
  }

  // The "C" locale's code page: each byte one character of the same number.

  // BOOL IsDBCSLeadByteEx(UINT codePage, BYTE byte)
  std::uint32_t isDbcsLeadByteEx(std::uint32_t /*codePage*/, std::uint32_t /*byte*/) { return 0; }

  // int MultiByteToWideChar(UINT codePage, DWORD flags, const char* text, int length,
  //                         wchar_t* wide, int wideLength)
  std::uint32_t multiByteToWideChar(std::uint32_t /*codePage*/, std::uint32_t /*flags*/,
                                    std::uint32_t text, std::int32_t length, std::uint32_t wide,
                                    std::uint32_t wideLength) {
    std::string bytes =
        length < 0 ? memory_.cString(text, kMaxConverted) + '\0'
                   : std::string(std::min(static_cast<std::uint32_t>(length), kMaxConverted), '\0');
    if (length >= 0) memory_.read(text, bytes.data(), bytes.size());
    const auto needed = static_cast<std::uint32_t>(bytes.size());
    if (wideLength == 0) return needed;
    if (wideLength < needed) return failWith(error::kInsufficientBuffer);
    std::vector<std::uint8_t> units;
    for (const char c : bytes) {
      units.push_back(static_cast<std::uint8_t>(c));
      units.push_back(0);
    }
    memory_.write(wide, units.data(), units.size());
    return needed;
  }

  // int WideCharToMultiByte(UINT codePage, DWORD flags, const wchar_t* wide, int wideLength,
  //                         char* text, int length, const char* defaultChar, BOOL* usedDefault)
  std::uint32_t wideCharToMultiByte(std::uint32_t /*codePage*/, std::uint32_t /*flags*/,
                                    std::uint32_t wide, std::int32_t wideLength, std::uint32_t text,
                                    std::uint32_t length, std::uint32_t /*defaultChar*/,
                                    std::uint32_t usedDefault) {
    std::u16string characters;
    if (wideLength < 0) {
      characters = memory_.wideString(wide, kMaxConverted) + u'\0';
    } else {
      std::vector<std::uint8_t> units(
          2 * std::min(static_cast<std::uint32_t>(wideLength), kMaxConverted));
      memory_.read(wide, units.data(), units.size());
      for (std::size_t i = 0; i < units.size(); i += 2) {
        characters += static_cast<char16_t>(units[i] | units[i + 1] << 8);
      }
    }
    const auto needed = static_cast<std::uint32_t>(characters.size());
    if (length == 0) return needed;
    if (length < needed) return failWith(error::kInsufficientBuffer);
    std::string bytes;
    bool defaulted = false;
    for (const char16_t c : characters) {
      defaulted = defaulted || c > 0xFF;
      bytes += c > 0xFF ? '?' : static_cast<char>(c);
    }
    memory_.write(text, bytes.data(), bytes.size());
    if (usedDefault != 0) memory_.put32(usedDefault, defaulted ? 1 : 0);
    return needed;
  }

  // Pages of the emulated memory.

  // BOOL VirtualProtect(void* address, SIZE_T size, DWORD newProtection, DWORD* oldProtection)
  std::uint32_t virtualProtect(std::uint32_t address, std::uint32_t size,
                               std::uint32_t newProtection, std::uint32_t oldProtection) {
    const std::uint64_t first = address / win32::kPageSize * win32::kPageSize;
    const std::uint64_t end = (std::uint64_t{address} + size + win32::kPageSize - 1) /
                              win32::kPageSize * win32::kPageSize;
    if (size == 0 || !inImage(first, end - first)) return failWith(error::kInvalidAddress);
    const std::uint32_t old = protectionOfAccess(memory_.accessAt(address));
    memory_.put32(oldProtection, old);
    memory_.protect(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(end - first),
                    accessOfProtection(newProtection));
    return 1;
  }

  // SIZE_T VirtualQuery(const void* address, MEMORY_BASIC_INFORMATION* info, SIZE_T infoSize)
  std::uint32_t virtualQuery(std::uint32_t address, std::uint32_t info, std::uint32_t infoSize) {
    if (infoSize < sizeof(win32::MemoryBasicInformation)) return failWith(error::kBadLength);
    const std::uint32_t page = address / win32::kPageSize * win32::kPageSize;
    const std::uint8_t access = memory_.accessAt(page);
    const bool image = inImage(page, win32::kPageSize);
    std::uint64_t start = page;
    std::uint64_t end = page + std::uint64_t{win32::kPageSize};
    const std::uint64_t low = image ? runtime_.image().base : 0;
    const std::uint64_t high =
        image ? runtime_.image().base + std::uint64_t{runtime_.image().size} : 0x100000000ull;
    while (start > low &&
           memory_.accessAt(static_cast<std::uint32_t>(start - win32::kPageSize)) == access) {
      start -= win32::kPageSize;
    }
    while (end < high && memory_.accessAt(static_cast<std::uint32_t>(end)) == access) {
      end += win32::kPageSize;
    }
    using namespace win32::mem;
    const bool committed = access != 0;
    const win32::MemoryBasicInformation region{
        static_cast<std::uint32_t>(start),
        image ? runtime_.image().base : static_cast<std::uint32_t>(start),
        image       ? win32::page::kExecuteWriteCopy
        : committed ? protectionOfAccess(access)
                    : 0u,
        static_cast<std::uint32_t>(end - start),
        committed ? kCommit
        : image   ? kReserve
                  : kFree,
        committed ? protectionOfAccess(access) : 0u,
        image       ? kImage
        : committed ? kPrivate
                    : 0u};
    memory_.write(info, &region, sizeof region);
    return sizeof region;
  }

 private:
  std::uint32_t failWith(std::uint32_t error) {
    runtime_.setLastError(error);
    return 0;
  }

  bool isImage(const std::string& name) const {
    const std::string file = lower(runtime_.image().fileName);
    const std::string asked = lower(name);
    const auto dot = file.rfind('.');
    return asked == file || (dot != std::string::npos && asked == file.substr(0, dot));
  }

  std::uint32_t moduleHandle(std::uint32_t name, const std::string& text) {
    if (name == 0) return guest::kProgramHandle;
    if (isImage(text)) return runtime_.image().base;
    return failWith(error::kModuleNotFound);
  }

  bool inImage(std::uint64_t address, std::uint64_t bytes) const {
    const auto& image = runtime_.image();
    return address >= image.base && bytes <= image.size &&
           address - image.base <= image.size - bytes;
  }

  RuntimeLibrary& runtime_;
  GuestMemory& memory_;
};

// clang-format off
const ProvidedFunction<Kernel32> kKernel32Functions[] = {
    // name                        handler
    {"InitializeCriticalSection",  handler<&Kernel32::initializeCriticalSection>},
    {"EnterCriticalSection",       handler<&Kernel32::touchCriticalSection>},
    {"LeaveCriticalSection",       handler<&Kernel32::touchCriticalSection>},
    {"DeleteCriticalSection",      handler<&Kernel32::touchCriticalSection>},
    {"Sleep",                      handler<&Kernel32::sleep>},
    {"GetLastError",               handler<&Kernel32::getLastError>},
    {"TlsGetValue",                handler<&Kernel32::tlsGetValue>},
    {"GetModuleHandleA",           handler<&Kernel32::getModuleHandleA>},
    {"GetModuleHandleW",           handler<&Kernel32::getModuleHandleW>},
    {"LoadLibraryA",               handler<&Kernel32::loadLibraryA>},
    {"FreeLibrary",                handler<&Kernel32::freeLibrary>},
    {"GetProcAddress",             handler<&Kernel32::getProcAddress>},
    {"IsDBCSLeadByteEx",           handler<&Kernel32::isDbcsLeadByteEx>},
    {"MultiByteToWideChar",        handler<&Kernel32::multiByteToWideChar>},
    {"WideCharToMultiByte",        handler<&Kernel32::wideCharToMultiByte>},
    {"VirtualProtect",             handler<&Kernel32::virtualProtect>},
    {"VirtualQuery",               handler<&Kernel32::virtualQuery>},
};
// clang-format on

}  // namespace

void provideKernel32(RuntimeLibrary& runtime) {
  runtime.provideAll("KERNEL32.dll", RuntimeLibrary::Convention::kStdcall, kKernel32Functions,
                     std::make_shared<Kernel32>(runtime));
}

}  // namespace panelhost
