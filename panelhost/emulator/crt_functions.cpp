// The C runtime (msvcrt.dll) the static MinGW runtime imports: memory and string functions,
// malloc and friends on the emulated heap, the stdio streams into a console note, the "C"
// locale, and the calls that end the process, which end the call as a ModuleFault instead.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "emulator/byte_reader.h"
#include "emulator/guest_format.h"
#include "emulator/runtime_library.h"
#include "emulator/windows_definitions.h"

namespace panelhost {
namespace {

using Args = GuestArguments;
constexpr auto kCdecl = RuntimeLibrary::Convention::kCdecl;
constexpr std::uint32_t kChunk = 0x1000;
constexpr std::size_t kMaxString = 1 << 20;
namespace msvcrt = win32::msvcrt;

// _initterm(begin, end) calls each non-null function pointer between begin and end. The calls go
// into the module, so the routine runs as guest code.
const std::vector<std::uint8_t> kInitterm = {
    0x56, 0x57, 0x8B, 0x74, 0x24, 0x0C, 0x8B, 0x7C, 0x24, 0x10, 0x39, 0xFE, 0x73, 0x0D, 0x8B,
    0x06, 0x85, 0xC0, 0x74, 0x02, 0xFF, 0xD0, 0x83, 0xC6, 0x04, 0xEB, 0xEF, 0x5F, 0x5E, 0xC3};

void copy(GuestMemory& memory, std::uint32_t to, std::uint32_t from, std::uint32_t bytes) {
  std::vector<std::uint8_t> chunk(std::min(bytes, kChunk));
  for (std::uint64_t done = 0; done < bytes; done += chunk.size()) {
    const auto take = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), bytes - done));
    memory.read(from + done, chunk.data(), take);
    memory.write(to + done, chunk.data(), take);
  }
}

void fill(GuestMemory& memory, std::uint32_t to, std::uint8_t value, std::uint32_t bytes) {
  const std::vector<std::uint8_t> chunk(std::min(bytes, kChunk), value);
  for (std::uint64_t done = 0; done < bytes; done += chunk.size()) {
    memory.write(to + done, chunk.data(),
                 static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), bytes - done)));
  }
}

// At most `limit` characters, stopping early at a NUL; reads nothing past either.
std::string prefix(const GuestMemory& memory, std::uint32_t at, std::uint32_t limit) {
  std::string text;
  while (text.size() < limit) {
    char c = 0;
    memory.read(std::uint64_t{at} + text.size(), &c, 1);
    if (c == '\0') break;
    text += c;
  }
  return text;
}

std::uint32_t storeText(RuntimeLibrary& runtime, const std::string& text) {
  const auto size = static_cast<std::uint32_t>(text.size() + 1);
  const std::uint32_t at = runtime.reserveData(size);
  runtime.memory().write(at, text.c_str(), size);
  return at;
}

class Crt {
 public:
  explicit Crt(RuntimeLibrary& runtime)
      : runtime_(runtime),
        memory_(runtime.memory()),
        errno_(runtime.reserveData(4)),
        streams_(runtime.reserveData(msvcrt::kStreams * msvcrt::kStreamSize)) {
    for (std::uint32_t i = 0; i < msvcrt::kStreams; ++i) {
      memory_.put32(streams_ + i * msvcrt::kStreamSize + msvcrt::kStreamFile, i);
    }
  }

  void provideAll() {
    provideMemoryAndStrings();
    provideHeap();
    provideStreams();
    provideLocale();
    provideStartAndExit();
  }

 private:
  void add(const char* name, int words, GuestService service) {
    runtime_.provide("msvcrt.dll", name, words, kCdecl, std::move(service));
  }

  void provideMemoryAndStrings() {
    add("memcpy", 3, [this](const Args& a) {
      copy(memory_, a[0], a[1], a[2]);
      return a[0];
    });
    add("memset", 3, [this](const Args& a) {
      fill(memory_, a[0], static_cast<std::uint8_t>(a[1]), a[2]);
      return a[0];
    });
    add("strlen", 1, [this](const Args& a) {
      return static_cast<std::uint32_t>(memory_.cString(a[0], kMaxString).size());
    });
    add("wcslen", 1, [this](const Args& a) {
      return static_cast<std::uint32_t>(memory_.wideString(a[0], kMaxString).size());
    });
    add("strchr", 2, [this](const Args& a) -> std::uint32_t {
      const std::string text = memory_.cString(a[0], kMaxString);
      const char wanted = static_cast<char>(a[1]);
      if (wanted == '\0') return a[0] + static_cast<std::uint32_t>(text.size());
      const auto at = text.find(wanted);
      return at == std::string::npos ? 0 : a[0] + static_cast<std::uint32_t>(at);
    });
    add("strncmp", 3, [this](const Args& a) {
      const std::string left = prefix(memory_, a[0], a[2]);
      const std::string right = prefix(memory_, a[1], a[2]);
      const int order = std::strncmp(left.c_str(), right.c_str(), a[2]);
      return static_cast<std::uint32_t>(order < 0 ? -1 : order > 0 ? 1 : 0);
    });
    add("atoi", 1, [this](const Args& a) {
      const long value = std::strtol(prefix(memory_, a[0], 64).c_str(), nullptr, 10);
      return static_cast<std::uint32_t>(
          static_cast<std::int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX)));
    });
    add("strerror", 1, [this](const Args& a) {
      const std::uint32_t code = a[0];
      const char* text = code == 0                 ? "No error"
                         : code == msvcrt::kEnomem ? "Not enough space"
                         : code == msvcrt::kEinval ? "Invalid argument"
                         : code == msvcrt::kErange ? "Result too large"
                                                   : "Unknown error";
      if (errorText_ == 0) errorText_ = runtime_.reserveData(64);
      memory_.write(errorText_, text, std::strlen(text) + 1);
      return errorText_;
    });
  }

  std::uint32_t allocate(std::uint32_t bytes) {
    const auto address = runtime_.heap().allocate(bytes);
    if (!address) {
      memory_.put32(errno_, msvcrt::kEnomem);
      return 0;
    }
    return *address;
  }

  void release(std::uint32_t address) {
    if (address != 0 && !runtime_.heap().release(address)) {
      throw ModuleFault("freed " + hex(address) +
                        ", which malloc did not hand out or which was freed already");
    }
  }

  void provideHeap() {
    add("malloc", 1, [this](const Args& a) { return allocate(a[0]); });
    add("calloc", 2, [this](const Args& a) -> std::uint32_t {
      const std::uint64_t bytes = std::uint64_t{a[0]} * a[1];
      if (bytes > 0xFFFFFFFFu) {
        memory_.put32(errno_, msvcrt::kEnomem);
        return 0;
      }
      const std::uint32_t address = allocate(static_cast<std::uint32_t>(bytes));
      if (address != 0) fill(memory_, address, 0, static_cast<std::uint32_t>(bytes));
      return address;
    });
    add("realloc", 2, [this](const Args& a) -> std::uint32_t {
      if (a[0] == 0) return allocate(a[1]);
      const auto oldSize = runtime_.heap().sizeOf(a[0]);
      if (!oldSize) release(a[0]);  // reports the bad pointer
      if (a[1] == 0) {
        release(a[0]);
        return 0;
      }
      const std::uint32_t address = allocate(a[1]);
      if (address == 0) return 0;
      copy(memory_, address, a[0], std::min(*oldSize, a[1]));
      release(a[0]);
      return address;
    });
    add("free", 1, [this](const Args& a) {
      release(a[0]);
      return 0u;
    });
  }

  bool console(std::uint32_t stream) const {
    return stream == streams_ + msvcrt::kStdout * msvcrt::kStreamSize ||
           stream == streams_ + msvcrt::kStderr * msvcrt::kStreamSize;
  }

  void provideStreams() {
    runtime_.provideData("msvcrt.dll", "_iob", streams_);
    add("fputc", 2, [this](const Args& a) {
      if (!console(a[1])) return static_cast<std::uint32_t>(msvcrt::kEof);
      runtime_.appendConsole(std::string(1, static_cast<char>(a[0])));
      return a[0] & 0xFF;
    });
    add("fwrite", 4, [this](const Args& a) -> std::uint32_t {
      const std::uint64_t bytes = std::uint64_t{a[1]} * a[2];
      if (!console(a[3]) || bytes > kMaxString) return 0;
      std::string text(static_cast<std::size_t>(bytes), '\0');
      memory_.read(a[0], text.data(), text.size());
      runtime_.appendConsole(text);
      return a[2];
    });
    add("vfprintf", 3, [this](const Args& a) {
      if (!console(a[0])) return static_cast<std::uint32_t>(msvcrt::kEof);
      const std::string text = formatGuest(memory_, a[1], a[2]);
      runtime_.appendConsole(text);
      return static_cast<std::uint32_t>(text.size());
    });
  }

  void provideLocale() {
    const std::uint32_t mbCurMax = runtime_.reserveData(4);
    memory_.put32(mbCurMax, 1);  // single-byte characters
    runtime_.provideData("msvcrt.dll", "__mb_cur_max", mbCurMax);
    const std::uint32_t cLocale = storeText(runtime_, "C");
    add("setlocale", 2, [this, cLocale](const Args& a) -> std::uint32_t {
      if (a[1] == 0) return cLocale;
      const std::string asked = prefix(memory_, a[1], 64);
      return asked.empty() || asked == "C" ? cLocale : 0;
    });
    const std::uint32_t point = storeText(runtime_, ".");
    const std::uint32_t empty = storeText(runtime_, "");
    const std::uint32_t conventions = runtime_.reserveData(msvcrt::kLconvSize);
    for (std::uint32_t field = 0; field < msvcrt::kLconvTexts; ++field) {
      memory_.put32(conventions + 4 * field, field == 0 ? point : empty);
    }
    fill(memory_, conventions + 4 * msvcrt::kLconvTexts, msvcrt::kCharMax, msvcrt::kLconvChars);
    add("localeconv", 0, [conventions](const Args&) { return conventions; });
  }

  void provideStartAndExit() {
    add("_errno", 0, [this](const Args&) { return errno_; });
    add("_lock", 1, [](const Args&) { return 0u; });
    add("_unlock", 1, [](const Args&) { return 0u; });
    runtime_.provideCode("msvcrt.dll", "_initterm", kInitterm);
    add("abort", 0, [this](const Args&) -> std::uint32_t {
      throw ModuleFault("the module called abort()" + runtime_.consoleNote());
    });
    add("_amsg_exit", 1, [this](const Args& a) -> std::uint32_t {
      throw ModuleFault("the C runtime gave up (_amsg_exit " + std::to_string(a[0]) + ")" +
                        runtime_.consoleNote());
    });
  }

  RuntimeLibrary& runtime_;
  GuestMemory& memory_;
  std::uint32_t errno_;
  std::uint32_t streams_;
  std::uint32_t errorText_ = 0;
};

}  // namespace

void provideMsvcrt(RuntimeLibrary& runtime) {
  // The functions keep the state they share alive for as long as the runtime.
  auto crt = std::make_shared<Crt>(runtime);
  crt->provideAll();
  runtime.keepAlive(crt);
}

}  // namespace panelhost
