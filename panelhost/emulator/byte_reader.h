// Little-endian reads from bytes whose offsets come from the bytes themselves (a file, an image
// built from it). Every read is checked against the end first, so a hostile offset is a HostError
// saying what was being read, never a read past the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "support/message_parts.h"

namespace panelhost {

class ByteReader {
 public:
  // `where` starts every message ("radios.gau").
  ByteReader(const std::vector<std::uint8_t>& bytes, std::string where)
      : bytes_(bytes), where_(std::move(where)) {}

  std::uint64_t size() const { return bytes_.size(); }
  bool holds(std::uint64_t offset, std::uint64_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }
  // Throws unless [offset, offset + length) lies inside the bytes.
  void require(std::uint64_t offset, std::uint64_t length, const std::string& what) const;

  std::uint8_t u8(std::uint64_t offset, const std::string& what) const;
  std::uint16_t u16(std::uint64_t offset, const std::string& what) const;
  std::uint32_t u32(std::uint64_t offset, const std::string& what) const;
  // A NUL-terminated text of at most `maxLength` characters.
  std::string cString(std::uint64_t offset, std::size_t maxLength, const std::string& what) const;

  [[noreturn]] void fail(const std::string& message) const;

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::string where_;
};

}  // namespace panelhost
