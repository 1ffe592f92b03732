#include "emulator/guest_format.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

namespace panelhost {
namespace {

constexpr std::size_t kMaxText = 1 << 16;
constexpr std::size_t kMaxPiece = 4096;

class Arguments {
 public:
  Arguments(const GuestMemory& memory, std::uint32_t at) : memory_(memory), at_(at) {}
  std::uint32_t word() {
    const std::uint32_t value = memory_.u32(at_);
    at_ += 4;
    return value;
  }
  std::uint64_t quad() {
    const std::uint64_t low = word();
    return low | std::uint64_t{word()} << 32;
  }
  double real() {
    const std::uint64_t bits = quad();
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

 private:
  const GuestMemory& memory_;
  std::uint32_t at_;
};

template <typename Value>
std::string piece(const std::string& spec, Value value) {
  char text[kMaxPiece];
  const int length = std::snprintf(text, sizeof text, spec.c_str(), value);
  return std::string(text, length < 0 ? 0 : std::min<std::size_t>(length, sizeof text - 1));
}

}  // namespace

std::string formatGuest(const GuestMemory& memory, std::uint32_t format, std::uint32_t arguments) {
  const std::string text = memory.cString(format, kMaxText);
  Arguments next(memory, arguments);
  std::string out;
  for (std::size_t i = 0; i < text.size() && out.size() < kMaxText; ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    std::string spec = "%";
    std::size_t j = i + 1;
    while (j < text.size() && std::strchr("-+ #0", text[j])) spec += text[j++];
    for (int part = 0; part < 2; ++part) {  // width, then precision
      if (part == 1) {
        if (j >= text.size() || text[j] != '.') break;
        spec += text[j++];
      }
      if (j < text.size() && text[j] == '*') {
        const int value = static_cast<std::int32_t>(next.word());
        spec += std::to_string(std::min(std::max(value, -999), 999));
        ++j;
      }
      while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j])) &&
             spec.size() < 12) {
        spec += text[j++];
      }
    }
    bool wide = false;
    while (j < text.size() && std::strchr("hlLqjztI3264", text[j])) {
      if (text.compare(j, 3, "I64") == 0 || text.compare(j, 2, "ll") == 0 || text[j] == 'q' ||
          text[j] == 'j' || text[j] == 'L') {
        wide = true;
      }
      j += text.compare(j, 3, "I64") == 0 || text.compare(j, 3, "I32") == 0 ? 3 : 1;
    }
    if (j >= text.size()) break;
    const char conversion = text[j];
    i = j;
    switch (conversion) {
      case 'd':
      case 'i':
        out += wide ? piece(spec + "lld", static_cast<long long>(next.quad()))
                    : piece(spec + "d", static_cast<std::int32_t>(next.word()));
        break;
      case 'u':
      case 'o':
      case 'x':
      case 'X':
        out += wide ? piece(spec + "ll" + conversion, static_cast<unsigned long long>(next.quad()))
                    : piece(spec + conversion, next.word());
        break;
      case 'p':
        out += piece("%08X", next.word());
        break;
      case 'c':
        out += piece(spec + "c", static_cast<int>(next.word() & 0xFF));
        break;
      case 's': {
        const std::uint32_t address = next.word();
        const std::string argument = address == 0 ? "(null)" : memory.cString(address, kMaxText);
        out += piece(spec + "s", argument.c_str());
        break;
      }
      case 'e':
      case 'E':
      case 'f':
      case 'F':
      case 'g':
      case 'G':
      case 'a':
      case 'A':
        out += piece(spec + conversion, next.real());
        break;
      case 'n':
        next.word();  // never written: a format that asks for it gets nothing
        break;
      default:
        out += conversion;
        break;
    }
  }
  if (out.size() > kMaxText) out.resize(kMaxText);
  return out;
}

}  // namespace panelhost
