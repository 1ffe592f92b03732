#include "emulator/byte_reader.h"

#include <cstdio>

#include "support/host_error.h"

namespace panelhost {

void ByteReader::fail(const std::string& message) const {
  throw HostError(where_ + ": " + message);
}

void ByteReader::require(std::uint64_t offset, std::uint64_t length,
                         const std::string& what) const {
  if (!holds(offset, length)) {
    fail(what + " (" + std::to_string(length) + " bytes at " + hex(offset) +
         ") lies beyond the end (" + hex(bytes_.size()) + " bytes)");
  }
}

std::uint8_t ByteReader::u8(std::uint64_t offset, const std::string& what) const {
  require(offset, 1, what);
  return bytes_[offset];
}

std::uint16_t ByteReader::u16(std::uint64_t offset, const std::string& what) const {
  require(offset, 2, what);
  return static_cast<std::uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
}

std::uint32_t ByteReader::u32(std::uint64_t offset, const std::string& what) const {
  require(offset, 4, what);
  return static_cast<std::uint32_t>(bytes_[offset]) |
         static_cast<std::uint32_t>(bytes_[offset + 1]) << 8 |
         static_cast<std::uint32_t>(bytes_[offset + 2]) << 16 |
         static_cast<std::uint32_t>(bytes_[offset + 3]) << 24;
}

std::string ByteReader::cString(std::uint64_t offset, std::size_t maxLength,
                                const std::string& what) const {
  std::string text;
  for (std::uint64_t at = offset;; ++at) {
    if (!holds(at, 1))
      fail(what + " at " + hex(offset) + " runs past the end without its end mark");
    const char c = static_cast<char>(bytes_[at]);
    if (c == '\0') return text;
    if (text.size() == maxLength) {
      fail(what + " at " + hex(offset) + " is longer than " + std::to_string(maxLength) +
           " characters");
    }
    text += c;
  }
}

}  // namespace panelhost
