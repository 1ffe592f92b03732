#include "abi/record_reader.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "support/message_parts.h"

namespace panelhost::hostabi {

RecordReader::RecordReader(const ModuleImage& image, const RecordLayout& layout, ModuleAddress at)
    : layout_(layout), pointerSize_(image.pointerSize()) {
  std::uint8_t* into = inline_.data();
  if (layout.size() > kInlineBytes) {
    bytes_.resize(layout.size());
    into = bytes_.data();
  }
  try {
    image.read(at, into, layout.size());
  } catch (const ModuleFault& fault) {
    // The memory's own words say where; the record says what was being read there.
    throw ModuleFault("its " + std::string(layout.name()) + " record at " + hex(at) + ": " +
                      fault.what());
  }
}

RecordReader::RecordReader(const RecordLayout& layout, std::vector<std::uint8_t> bytes,
                           int pointerSize)
    : layout_(layout), bytes_(std::move(bytes)), pointerSize_(pointerSize) {
  if (bytes_.size() < layout.size()) {
    throw std::logic_error(std::string(layout.name()) + ": fewer bytes than the record holds");
  }
}

std::uint32_t RecordReader::at(std::string_view name, std::uint32_t index,
                               std::uint32_t elementSize) const {
  return at(layout_.field(name), index, elementSize);
}

void RecordReader::readPastEnd(const Field& field) const {
  throw std::logic_error(std::string(layout_.name()) + "::" + std::string(field.name) +
                         " read past its end");
}

std::uint32_t RecordReader::u32(std::string_view field, std::uint32_t index) const {
  return static_cast<std::uint32_t>(raw(at(field, index, 4), 4));
}
std::int32_t RecordReader::s32(std::string_view field) const {
  return static_cast<std::int32_t>(u32(field));
}
std::uint16_t RecordReader::u16(std::string_view field) const {
  return static_cast<std::uint16_t>(raw(at(field, 0, 2), 2));
}
std::int16_t RecordReader::s16(std::string_view field) const {
  return static_cast<std::int16_t>(u16(field));
}
std::uint8_t RecordReader::u8(std::string_view field) const {
  return static_cast<std::uint8_t>(raw(at(field, 0, 1), 1));
}

float RecordReader::f32(std::string_view field) const {
  const std::uint32_t bits = u32(field);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::uint64_t RecordReader::bits64(std::string_view field) const { return raw(at(field, 0, 8), 8); }

double RecordReader::f64(std::string_view field, std::uint32_t index) const {
  const std::uint64_t bits = raw(at(field, index, 8), 8);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

ModuleAddress RecordReader::pointer(std::string_view field, std::uint32_t index) const {
  const auto size = static_cast<std::uint32_t>(pointerSize_);
  return raw(at(field, index, size), size);
}

Point RecordReader::point(std::string_view field) const {
  const std::uint32_t offset = at(field, 0, 8);
  return Point{static_cast<std::int32_t>(raw(offset, 4)),
               static_cast<std::int32_t>(raw(offset + 4, 4))};
}

Box RecordReader::box(std::string_view field) const {
  const std::uint32_t offset = at(field, 0, 16);
  return Box{static_cast<std::int32_t>(raw(offset, 4)),
             static_cast<std::int32_t>(raw(offset + 4, 4)),
             static_cast<std::int32_t>(raw(offset + 8, 4)),
             static_cast<std::int32_t>(raw(offset + 12, 4))};
}

std::string RecordReader::chars(std::string_view name) const {
  const Field& field = layout_.field(name);
  const char* text = reinterpret_cast<const char*>(data() + field.offset);
  return std::string(text, strnlen(text, field.size));
}

std::string readModuleText(const ModuleImage& image, ModuleAddress at, std::size_t most) {
  std::string text;
  readModuleText(image, at, most, text);
  return text;
}

void readModuleText(const ModuleImage& image, ModuleAddress at, std::size_t most,
                    std::string& text) {
  // Byte by byte: a read past the terminator could run off the module's memory (or, in this
  // process, into a neighbour's guard zone under AddressSanitizer).
  text.clear();
  while (text.size() < most) {
    char c = 0;
    try {
      image.read(at + text.size(), &c, 1);
    } catch (const ModuleFault&) {
      break;
    }
    if (c == '\0') break;
    text.push_back(c);
  }
}

void writeWord(ModuleImage& image, ModuleAddress at, std::uint64_t value, std::uint32_t size) {
  std::uint8_t bytes[8] = {};
  for (std::uint32_t i = 0; i < size && i < sizeof bytes; ++i) {
    bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
  }
  image.write(at, bytes, size < sizeof bytes ? size : sizeof bytes);
}

void putWord(std::vector<std::uint8_t>& bytes, std::uint32_t offset, std::uint64_t value,
             std::uint32_t size) {
  for (std::uint32_t i = 0; i < size; ++i) {
    bytes.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
  }
}

}  // namespace panelhost::hostabi
