// One record of a module's, read out of its memory in one piece and decoded field by field through
// panelhost's own layout. Little-endian, as every build of the module is.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
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
  // Throws ModuleFault naming the record when it does not lie in the module's memory.
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
  // The same by a field found beforehand, for records read in a hot path.
  std::uint32_t u32(const Field& field) const {
    return static_cast<std::uint32_t>(raw(at(field, 0, 4), 4));
  }
  std::uint64_t bits64(const Field& field) const { return raw(at(field, 0, 8), 8); }
  ModuleAddress pointer(const Field& field) const {
    return pointerSize_ == 4 ? raw(at(field, 0, 4), 4) : raw(at(field, 0, 8), 8);
  }
  Point point(std::string_view field) const;
  Box box(std::string_view field) const;
  // An inline text, up to its first zero byte or its end.
  std::string chars(std::string_view field) const;

  const RecordLayout& layout() const { return layout_; }

 private:
  // Records up to this size are read into the reader itself, so reading one allocates nothing.
  static constexpr std::size_t kInlineBytes = 64;

  const std::uint8_t* data() const { return bytes_.empty() ? inline_.data() : bytes_.data(); }
  std::uint64_t raw(std::uint32_t offset, std::uint32_t size) const {
    std::uint64_t value = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // The record's byte order is this machine's: the bytes are the value.
    std::memcpy(&value, data() + offset, size);
#else
    for (std::uint32_t i = 0; i < size; ++i) {
      value |= static_cast<std::uint64_t>(data()[offset + i]) << (8 * i);
    }
#endif
    return value;
  }
  std::uint32_t at(std::string_view field, std::uint32_t index, std::uint32_t elementSize) const;
  std::uint32_t at(const Field& field, std::uint32_t index, std::uint32_t elementSize) const {
    if (index >= field.count || (index + 1) * elementSize > field.size ||
        field.offset + field.size > layout_.size()) {
      readPastEnd(field);
    }
    return field.offset + index * elementSize;
  }
  [[noreturn]] void readPastEnd(const Field& field) const;

  const RecordLayout& layout_;
  std::array<std::uint8_t, kInlineBytes> inline_;
  std::vector<std::uint8_t> bytes_;  // a larger record
  int pointerSize_;
};

// A zero-terminated text of the module's at `at`, at most `most` bytes long (cut there). A text
// that runs into memory the module does not have ends there.
std::string readModuleText(const ModuleImage& image, ModuleAddress at, std::size_t most);
// The same into `text`, whose room is reused.
void readModuleText(const ModuleImage& image, ModuleAddress at, std::size_t most,
                    std::string& text);

// A little-endian integer of `size` bytes (a pointer of the module's width, say) into the
// module's memory.
void writeWord(ModuleImage& image, ModuleAddress at, std::uint64_t value, std::uint32_t size);

// Little-endian integers into a buffer that is written to the module in one piece.
void putWord(std::vector<std::uint8_t>& bytes, std::uint32_t offset, std::uint64_t value,
             std::uint32_t size);

}  // namespace panelhost::hostabi
