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

using Args = GuestArguments;
constexpr auto kStdcall = RuntimeLibrary::Convention::kStdcall;
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

  void provideAll() {
    provideSynchronisation();
    provideThreadState();
    provideModules();
    provideCodePages();
    provideMemory();
  }

 private:
  void add(const char* name, int words, GuestService service) {
    runtime_.provide("KERNEL32.dll", name, words, kStdcall, std::move(service));
  }

  std::uint32_t failWith(std::uint32_t error) {
    runtime_.setLastError(error);
    return 0;
  }

  void provideSynchronisation() {
    add("InitializeCriticalSection", 1, [this](const Args& a) {
      const win32::CriticalSection unlocked{0, 0xFFFFFFFF, 0, 0, 0, 0};
      memory_.write(a[0], &unlocked, sizeof unlocked);
      return 0u;
    });
    const auto touch = [this](const Args& a) {
      win32::CriticalSection section;
      memory_.read(a[0], &section, sizeof section);
      return 0u;
    };
    add("EnterCriticalSection", 1, touch);
    add("LeaveCriticalSection", 1, touch);
    add("DeleteCriticalSection", 1, touch);
    add("Sleep", 1, [](const Args&) { return 0u; });
  }

  void provideThreadState() {
    add("GetLastError", 0,
        [this](const Args&) { return memory_.u32(guest::kTebBase + win32::teb::kLastError); });
    add("TlsGetValue", 1, [this](const Args& a) {
      if (a[0] >= win32::kTlsSlots) return failWith(error::kInvalidParameter);
      runtime_.setLastError(error::kSuccess);
      return memory_.u32(guest::kTebBase + win32::teb::kTlsValues + 4 * a[0]);
    });
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

  void provideModules() {
    add("GetModuleHandleA", 1, [this](const Args& a) {
      return moduleHandle(a[0], a[0] ? memory_.cString(a[0], kMaxPath) : "");
    });
    add("GetModuleHandleW", 1, [this](const Args& a) {
      return moduleHandle(a[0], a[0] ? narrow(memory_.wideString(a[0], kMaxPath)) : "");
    });
    add("LoadLibraryA", 1, [this](const Args& a) {
      if (isImage(memory_.cString(a[0], kMaxPath))) return runtime_.image().base;
      return failWith(error::kModuleNotFound);
    });
    add("FreeLibrary", 1, [this](const Args& a) {
      return a[0] == runtime_.image().base ? 1u : failWith(error::kInvalidHandle);
    });
    add("GetProcAddress", 2, [this](const Args& a) -> std::uint32_t {
      if (a[0] != runtime_.image().base) {
        return failWith(a[0] == guest::kProgramHandle ? error::kProcedureNotFound
                                                      : error::kInvalidHandle);
      }
      if (a[1] < win32::kLowestPointer) return failWith(error::kProcedureNotFound);  // by ordinal
      const auto& exports = runtime_.image().exports;
      const auto found = exports.find(memory_.cString(a[1], kMaxPath));
      if (found == exports.end()) return failWith(error::kProcedureNotFound);
      return runtime_.image().base + found->second;
    });
  }

  // The "C" locale's code page: each byte one character of the same number.
  void provideCodePages() {
    add("IsDBCSLeadByteEx", 2, [](const Args&) { return 0u; });
    add("MultiByteToWideChar", 6, [this](const Args& a) -> std::uint32_t {
      const auto length = static_cast<std::int32_t>(a[3]);
      std::string text = length < 0
                             ? memory_.cString(a[2], kMaxConverted) + '\0'
                             : std::string(std::min<std::uint32_t>(a[3], kMaxConverted), '\0');
      if (length >= 0) memory_.read(a[2], text.data(), text.size());
      const auto needed = static_cast<std::uint32_t>(text.size());
      if (a[5] == 0) return needed;
      if (a[5] < needed) return failWith(error::kInsufficientBuffer);
      std::vector<std::uint8_t> wide;
      for (const char c : text) {
        wide.push_back(static_cast<std::uint8_t>(c));
        wide.push_back(0);
      }
      memory_.write(a[4], wide.data(), wide.size());
      return needed;
    });
    add("WideCharToMultiByte", 8, [this](const Args& a) -> std::uint32_t {
      const auto length = static_cast<std::int32_t>(a[3]);
      std::u16string wide;
      if (length < 0) {
        wide = memory_.wideString(a[2], kMaxConverted) + u'\0';
      } else {
        std::vector<std::uint8_t> units(2 * std::min<std::uint32_t>(a[3], kMaxConverted));
        memory_.read(a[2], units.data(), units.size());
        for (std::size_t i = 0; i < units.size(); i += 2) {
          wide += static_cast<char16_t>(units[i] | units[i + 1] << 8);
        }
      }
      const auto needed = static_cast<std::uint32_t>(wide.size());
      if (a[5] == 0) return needed;
      if (a[5] < needed) return failWith(error::kInsufficientBuffer);
      std::string text;
      bool defaulted = false;
      for (const char16_t c : wide) {
        defaulted = defaulted || c > 0xFF;
        text += c > 0xFF ? '?' : static_cast<char>(c);
      }
      memory_.write(a[4], text.data(), text.size());
      if (a[7] != 0) memory_.put32(a[7], defaulted ? 1 : 0);
      return needed;
    });
  }

  bool inImage(std::uint64_t address, std::uint64_t bytes) const {
    const auto& image = runtime_.image();
    return address >= image.base && bytes <= image.size &&
           address - image.base <= image.size - bytes;
  }

  void provideMemory() {
    add("VirtualProtect", 4, [this](const Args& a) -> std::uint32_t {
      const std::uint64_t first = a[0] / win32::kPageSize * win32::kPageSize;
      const std::uint64_t end =
          (std::uint64_t{a[0]} + a[1] + win32::kPageSize - 1) / win32::kPageSize * win32::kPageSize;
      if (a[1] == 0 || !inImage(first, end - first)) return failWith(error::kInvalidAddress);
      const std::uint32_t old = protectionOfAccess(memory_.accessAt(a[0]));
      memory_.put32(a[3], old);
      memory_.protect(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(end - first),
                      accessOfProtection(a[2]));
      return 1;
    });
    add("VirtualQuery", 3, [this](const Args& a) -> std::uint32_t {
      if (a[2] < sizeof(win32::MemoryBasicInformation)) return failWith(error::kBadLength);
      const std::uint32_t page = a[0] / win32::kPageSize * win32::kPageSize;
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
      const win32::MemoryBasicInformation info{
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
      memory_.write(a[1], &info, sizeof info);
      return sizeof info;
    });
  }

  RuntimeLibrary& runtime_;
  GuestMemory& memory_;
};

}  // namespace

void provideKernel32(RuntimeLibrary& runtime) {
  auto kernel32 = std::make_shared<Kernel32>(runtime);
  kernel32->provideAll();
  runtime.keepAlive(kernel32);
}

}  // namespace panelhost
