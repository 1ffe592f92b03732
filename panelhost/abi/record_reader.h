// One record of a module's, read out of its memory in one piece and decoded field by field through
// panelhost's own layout. Little-endian, as every build of the module is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "abi/record_layout.h"
#include "loader/module_image.h"

namespace panelhost::hostabi {

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

struct Box {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

class RecordReader {
 public:
  // Throws ModuleFault when the record does not lie in the module's memory.
  RecordReader(const ModuleImage& image, const RecordLayout& layout, ModuleAddress at);
  // A record already in hand, for tests and for arrays read in one go.
  RecordReader(const RecordLayout& layout, std::vector<std::uint8_t> bytes, int pointerSize);

  std::uint32_t u32(std::string_view field, std::uint32_t index = 0) const;
  std::int32_t s32(std::string_view field) const;
  std::uint16_t u16(std::string_view field) const;
  std::int16_t s16(std::string_view field) const;
  std::uint8_t u8(std::string_view field) const;
  float f32(std::string_view field) const;
  double f64(std::string_view field, std::uint32_t index = 0) const;
  // The 8 bytes of a FLOAT64 (or of a MODULE_VAR's value union) as they lie.
  std::uint64_t bits64(std::string_view field) const;
  ModuleAddress pointer(std::string_view field, std::uint32_t index = 0) const;
  Point point(std::string_view field) const;
  Box box(std::string_view field) const;
  // An inline text, up to its first zero byte or its end.
  std::string chars(std::string_view field) const;

  const RecordLayout& layout() const { return layout_; }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  std::uint64_t raw(std::uint32_t offset, std::uint32_t size) const;
  std::uint32_t at(std::string_view field, std::uint32_t index, std::uint32_t elementSize) const;

  const RecordLayout& layout_;
  std::vector<std::uint8_t> bytes_;
  int pointerSize_;
};

// A zero-terminated text of the module's at `at`, at most `most` bytes long (cut there). A text
// that runs into memory the module does not have ends there.
std::string readModuleText(const ModuleImage& image, ModuleAddress at, std::size_t most);

// Little-endian integers into a buffer that is written to the module in one piece.
void putWord(std::vector<std::uint8_t>& bytes, std::uint32_t offset, std::uint64_t value,
             std::uint32_t size);

}  // namespace panelhost::hostabi
