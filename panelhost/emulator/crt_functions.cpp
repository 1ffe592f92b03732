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

constexpr const char* kMsvcrt = "msvcrt.dll";
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
  // The runtime's records, and its data and code that are not functions of panelhost's.
  explicit Crt(RuntimeLibrary& runtime)
      : runtime_(runtime),
        memory_(runtime.memory()),
        errno_(runtime.reserveData(4)),
        streams_(runtime.reserveData(msvcrt::kStreams * msvcrt::kStreamSize)),
        mbCurMax_(runtime.reserveData(4)),
        cLocale_(storeText(runtime, "C")),
        conventions_(localeConventions(runtime)) {
    for (std::uint32_t i = 0; i < msvcrt::kStreams; ++i) {
      memory_.put32(streams_ + i * msvcrt::kStreamSize + msvcrt::kStreamFile, i);
    }
    runtime.provideData(kMsvcrt, "_iob", streams_);
    memory_.put32(mbCurMax_, 1);  // single-byte characters
    runtime.provideData(kMsvcrt, "__mb_cur_max", mbCurMax_);
    runtime.provideCode(kMsvcrt, "_initterm", kInitterm);
  }

  // Memory and strings.

  // void* memcpy(void* to, const void* from, size_t bytes)
  std::uint32_t memcpy(std::uint32_t to, std::uint32_t from, std::uint32_t bytes) {
    copy(memory_, to, from, bytes);
    return to;
  }

  // void* memset(void* to, int value, size_t bytes)
  std::uint32_t memset(std::uint32_t to, std::uint32_t value, std::uint32_t bytes) {
    fill(memory_, to, static_cast<std::uint8_t>(value), bytes);
    return to;
  }

  // size_t strlen(const char* text)
  std::uint32_t strlen(std::uint32_t text) {
    return static_cast<std::uint32_t>(memory_.cString(text, kMaxString).size());
  }

  // size_t wcslen(const wchar_t* text)
  std::uint32_t wcslen(std::uint32_t text) {
    return static_cast<std::uint32_t>(memory_.wideString(text, kMaxString).size());
  }

  // char* strchr(const char* text, int wanted)
  std::uint32_t strchr(std::uint32_t text, std::uint32_t wanted) {
    const std::string characters = memory_.cString(text, kMaxString);
    const char c = static_cast<char>(wanted);
    if (c == '\0') return text + static_cast<std::uint32_t>(characters.size());
    const auto at = characters.find(c);
    return at == std::string::npos ? 0 : text + static_cast<std::uint32_t>(at);
  }

  // int strncmp(const char* left, const char* right, size_t most)
  std::int32_t strncmp(std::uint32_t left, std::uint32_t right, std::uint32_t most) {
    const std::string leftText = prefix(memory_, left, most);
    const std::string rightText = prefix(memory_, right, most);
    const int order = std::strncmp(leftText.c_str(), rightText.c_str(), most);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
  }

  // int atoi(const char* text)
  std::int32_t atoi(std::uint32_t text) {
    const long value = std::strtol(prefix(memory_, text, 64).c_str(), nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long>(value, INT32_MIN, INT32_MAX));
  }

  // char* strerror(int code)
  std::uint32_t strerror(std::uint32_t code) {
    const char* text = code == 0                 ? "No error"
                       : code == msvcrt::kEnomem ? "Not enough space"
                       : code == msvcrt::kEinval ? "Invalid argument"
                       : code == msvcrt::kErange ? "Result too large"
                                                 : "Unknown error";
    if (errorText_ == 0) errorText_ = runtime_.reserveData(64);
    memory_.write(errorText_, text, std::strlen(text) + 1);
    return errorText_;
  }

  // The heap.

  // void* malloc(size_t bytes)
  std::uint32_t malloc(std::uint32_t bytes) { return allocate(bytes); }

  // void* calloc(size_t count, size_t size)
  std::uint32_t calloc(std::uint32_t count, std::uint32_t size) {
    const std::uint64_t bytes = std::uint64_t{count} * size;
    if (bytes > 0xFFFFFFFFu) {
      memory_.put32(errno_, msvcrt::kEnomem);
      return 0;
    }
    const std::uint32_t address = allocate(static_cast<std::uint32_t>(bytes));
    if (address != 0) fill(memory_, address, 0, static_cast<std::uint32_t>(bytes));
    return address;
  }

  // void* realloc(void* block, size_t bytes)
  std::uint32_t realloc(std::uint32_t block, std::uint32_t bytes) {
    if (block == 0) return allocate(bytes);
    const auto oldSize = runtime_.heap().sizeOf(block);
    if (!oldSize) release(block);  // reports the bad pointer
    if (bytes == 0) {
      release(block);
      return 0;
    }
    const std::uint32_t address = allocate(bytes);
    if (address == 0) return 0;
    copy(memory_, address, block, std::min(*oldSize, bytes));
    release(block);
    return address;
  }

  // void free(void* block)
  void free(std::uint32_t block) { release(block); }

  // The standard streams: stdout and stderr write to the console note, the others nowhere.

  // int fputc(int character, FILE* stream)
  std::uint32_t fputc(std::uint32_t character, std::uint32_t stream) {
    if (!console(stream)) return static_cast<std::uint32_t>(msvcrt::kEof);
    runtime_.appendConsole(std::string(1, static_cast<char>(character)));
    return character & 0xFF;
  }

  // size_t fwrite(const void* data, size_t size, size_t count, FILE* stream)
  std::uint32_t fwrite(std::uint32_t data, std::uint32_t size, std::uint32_t count,
                       std::uint32_t stream) {
    const std::uint64_t bytes = std::uint64_t{size} * count;
    if (!console(stream) || bytes > kMaxString) return 0;
    std::string text(static_cast<std::size_t>(bytes), '\0');
    memory_.read(data, text.data(), text.size());
    runtime_.appendConsole(text);
    return count;
  }

  // int vfprintf(FILE* stream, const char* format, va_list arguments)
  std::uint32_t vfprintf(std::uint32_t stream, std::uint32_t format, std::uint32_t arguments) {
    if (!console(stream)) return static_cast<std::uint32_t>(msvcrt::kEof);
    const std::string text = formatGuest(memory_, format, arguments);
    runtime_.appendConsole(text);
    return static_cast<std::uint32_t>(text.size());
  }

  // The "C" locale, the only one there is.

  // char* setlocale(int category, const char* locale)
  std::uint32_t setlocale(std::uint32_t /*category*/, std::uint32_t locale) {
    if (locale == 0) return cLocale_;
    const std::string asked = prefix(memory_, locale, 64);
    return asked.empty() || asked == "C" ? cLocale_ : 0;
  }

  // struct lconv* localeconv(void)
  std::uint32_t localeconv() { return conventions_; }

  // Start and exit.

  // int* _errno(void)
  std::uint32_t errnoLocation() { return errno_; }

  // void _lock(int lock), and _unlock alike: one thread, nothing to wait for
  void lock(std::uint32_t /*lock*/) {}

  // void abort(void)
  [[noreturn]] void abort() {
    throw ModuleFault("the module called abort()" + runtime_.consoleNote());
  }

  // void _amsg_exit(int message)
  [[noreturn]] void amsgExit(std::uint32_t message) {
    throw ModuleFault("the C runtime gave up (_amsg_exit " + std::to_string(message) + ")" +
                      runtime_.consoleNote());
  }

 private:
  // struct lconv as the "C" locale has it.
  static std::uint32_t localeConventions(RuntimeLibrary& runtime) {
    const std::uint32_t point = storeText(runtime, ".");
    const std::uint32_t empty = storeText(runtime, "");
    const std::uint32_t conventions = runtime.reserveData(msvcrt::kLconvSize);
    for (std::uint32_t field = 0; field < msvcrt::kLconvTexts; ++field) {
      runtime.memory().put32(conventions + 4 * field, field == 0 ? point : empty);
    }
    fill(runtime.memory(), conventions + 4 * msvcrt::kLconvTexts, msvcrt::kCharMax,
         msvcrt::kLconvChars);
    return conventions;
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

  bool console(std::uint32_t stream) const {
    return stream == streams_ + msvcrt::kStdout * msvcrt::kStreamSize ||
           stream == streams_ + msvcrt::kStderr * msvcrt::kStreamSize;
  }

  RuntimeLibrary& runtime_;
  GuestMemory& memory_;
  std::uint32_t errno_;
  std::uint32_t streams_;
  std::uint32_t mbCurMax_;
  std::uint32_t cLocale_;
  std::uint32_t conventions_;
  std::uint32_t errorText_ = 0;
};

// clang-format off
const ProvidedFunction<Crt> kCrtFunctions[] = {
    // name          handler
    {"memcpy",       handler<&Crt::memcpy>},
    {"memset",       handler<&Crt::memset>},
    {"strlen",       handler<&Crt::strlen>},
    {"wcslen",       handler<&Crt::wcslen>},
    {"strchr",       handler<&Crt::strchr>},
    {"strncmp",      handler<&Crt::strncmp>},
    {"atoi",         handler<&Crt::atoi>},
    {"strerror",     handler<&Crt::strerror>},
    {"malloc",       handler<&Crt::malloc>},
    {"calloc",       handler<&Crt::calloc>},
    {"realloc",      handler<&Crt::realloc>},
    {"free",         handler<&Crt::free>},
    {"fputc",        handler<&Crt::fputc>},
    {"fwrite",       handler<&Crt::fwrite>},
    {"vfprintf",     handler<&Crt::vfprintf>},
    {"setlocale",    handler<&Crt::setlocale>},
    {"localeconv",   handler<&Crt::localeconv>},
    {"_errno",       handler<&Crt::errnoLocation>},
    {"_lock",        handler<&Crt::lock>},
    {"_unlock",      handler<&Crt::lock>},
    {"abort",        handler<&Crt::abort>},
    {"_amsg_exit",   handler<&Crt::amsgExit>},
};
// clang-format on

}  // namespace

void provideMsvcrt(RuntimeLibrary& runtime) {
  runtime.provideAll(kMsvcrt, RuntimeLibrary::Convention::kCdecl, kCrtFunctions,
                     std::make_shared<Crt>(runtime));
}

}  // namespace panelhost
