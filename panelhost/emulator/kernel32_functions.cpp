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

namespace panelhost {
namespace {

using Args = GuestArguments;
constexpr auto kStdcall = RuntimeLibrary::Convention::kStdcall;
constexpr std::uint32_t kTlsSlotsOffset = 0xE10;
constexpr std::uint32_t kTlsSlots = 64;
constexpr std::uint32_t kMaxConverted = 1 << 20;
constexpr std::uint32_t kCriticalSectionSize = 24;

enum WindowsError : std::uint32_t {
  kInvalidHandle = 6,
  kBadLength = 24,
  kInvalidParameter = 87,
  kInsufficientBuffer = 122,
  kModuleNotFound = 126,
  kProcedureNotFound = 127,
  kInvalidAddress = 487,
};

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

// PAGE_* constants and the access bits they give.
std::uint8_t accessOfProtection(std::uint32_t protection) {
  switch (protection & 0xFF) {
    case 0x02:
      return kPageRead;
    case 0x04:
    case 0x08:
      return kPageRead | kPageWrite;
    case 0x10:
    case 0x20:
      return kPageRead | kPageExecute;
    case 0x40:
    case 0x80:
      return kPageRead | kPageWrite | kPageExecute;
    default:
      return 0;
  }
}

std::uint32_t protectionOfAccess(std::uint8_t access) {
  const bool write = access & kPageWrite;
  if (access & kPageExecute) return write ? 0x40 : 0x20;
  if (write) return 0x04;
  return access & kPageRead ? 0x02 : 0x01;
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
      // DebugInfo, LockCount -1 (free), RecursionCount, OwningThread, LockSemaphore, SpinCount.
      const std::uint32_t fields[6] = {0, 0xFFFFFFFF, 0, 0, 0, 0};
      memory_.write(a[0], fields, sizeof fields);
      return 0u;
    });
    const auto touch = [this](const Args& a) {
      std::uint8_t fields[kCriticalSectionSize];
      memory_.read(a[0], fields, sizeof fields);
      return 0u;
    };
    add("EnterCriticalSection", 1, touch);
    add("LeaveCriticalSection", 1, touch);
    add("DeleteCriticalSection", 1, touch);
    add("Sleep", 1, [](const Args&) { return 0u; });
  }

  void provideThreadState() {
    add("GetLastError", 0, [this](const Args&) { return memory_.u32(guest::kTebBase + 0x34); });
    add("TlsGetValue", 1, [this](const Args& a) {
      if (a[0] >= kTlsSlots) return failWith(kInvalidParameter);
      runtime_.setLastError(0);
      return memory_.u32(guest::kTebBase + kTlsSlotsOffset + 4 * a[0]);
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
    return failWith(kModuleNotFound);
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
      return failWith(kModuleNotFound);
    });
    add("FreeLibrary", 1, [this](const Args& a) {
      return a[0] == runtime_.image().base ? 1u : failWith(kInvalidHandle);
    });
    add("GetProcAddress", 2, [this](const Args& a) -> std::uint32_t {
      if (a[0] != runtime_.image().base) {
        return failWith(a[0] == guest::kProgramHandle ? kProcedureNotFound : kInvalidHandle);
      }
      if (a[1] < 0x10000) return failWith(kProcedureNotFound);  // by ordinal
      const auto& exports = runtime_.image().exports;
      const auto found = exports.find(memory_.cString(a[1], kMaxPath));
      if (found == exports.end()) return failWith(kProcedureNotFound);
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
      if (a[5] < needed) return failWith(kInsufficientBuffer);
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
      if (a[5] < needed) return failWith(kInsufficientBuffer);
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
      const std::uint64_t first = a[0] / kPageSize * kPageSize;
      const std::uint64_t end =
          (std::uint64_t{a[0]} + a[1] + kPageSize - 1) / kPageSize * kPageSize;
      if (a[1] == 0 || !inImage(first, end - first)) return failWith(kInvalidAddress);
      const std::uint32_t old = protectionOfAccess(memory_.accessAt(a[0]));
      memory_.put32(a[3], old);
      memory_.protect(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(end - first),
                      accessOfProtection(a[2]));
      return 1;
    });
    add("VirtualQuery", 3, [this](const Args& a) -> std::uint32_t {
      if (a[2] < 28) return failWith(kBadLength);
      const std::uint32_t page = a[0] / kPageSize * kPageSize;
      const std::uint8_t access = memory_.accessAt(page);
      const bool image = inImage(page, kPageSize);
      std::uint64_t start = page;
      std::uint64_t end = page + std::uint64_t{kPageSize};
      const std::uint64_t low = image ? runtime_.image().base : 0;
      const std::uint64_t high =
          image ? runtime_.image().base + std::uint64_t{runtime_.image().size} : 0x100000000ull;
      while (start > low &&
             memory_.accessAt(static_cast<std::uint32_t>(start - kPageSize)) == access) {
        start -= kPageSize;
      }
      while (end < high && memory_.accessAt(static_cast<std::uint32_t>(end)) == access) {
        end += kPageSize;
      }
      // MEMORY_BASIC_INFORMATION: base, allocation base, allocation protection, size, state,
      // protection, type.
      const bool committed = access != 0;
      const std::uint32_t info[7] = {
          static_cast<std::uint32_t>(start),
          image ? runtime_.image().base : static_cast<std::uint32_t>(start),
          image       ? 0x80u
          : committed ? protectionOfAccess(access)
                      : 0u,
          static_cast<std::uint32_t>(end - start),
          committed ? 0x1000u
          : image   ? 0x2000u
                    : 0x10000u,
          committed ? protectionOfAccess(access) : 0u,
          image       ? 0x1000000u
          : committed ? 0x20000u
                      : 0u};
      memory_.write(a[1], info, sizeof info);
      return sizeof info;
    });
  }

  static constexpr std::size_t kMaxPath = 260;
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
