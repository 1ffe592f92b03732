// How a host finds the fields of a record in a module's memory: each record is its fields in
// order with their types, packed as the host packs them (no field aligned beyond 4 bytes), for the
// pointer width of the module's build. The offsets follow from that, as they do for a compiler.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace panelhost::hostabi {

enum class FieldKind {
  U8,
  U16,
  S16,
  U32,  // also enums, ids, flags, COLORREF, BOOL
  S32,
  F32,
  F64,
  Pointer,    // 4 or 8 bytes
  Point,      // PIXPOINT: two SINT32
  Box,        // PIXBOX: four SINT32
  ModuleVar,  // a MODULE_VAR record held inline
  Char,       // one byte of a text held inline
};

struct FieldSpec {
  std::string_view name;
  FieldKind kind;
  std::uint32_t count = 1;  // an inline array of that many
};

struct Field {
  std::string_view name;
  FieldKind kind;
  std::uint32_t count;
  std::uint32_t offset;
  std::uint32_t size;  // of the whole array
};

class RecordLayout {
 public:
  RecordLayout(std::string_view name, const std::vector<FieldSpec>& fields, int pointerSize);

  std::string_view name() const { return name_; }
  std::uint32_t size() const { return size_; }
  const std::vector<Field>& fields() const { return fields_; }
  // Throws std::logic_error for a field the record does not have: a fault of panelhost's own.
  const Field& field(std::string_view name) const;
  std::uint32_t offset(std::string_view name) const { return field(name).offset; }

 private:
  std::string_view name_;
  std::vector<Field> fields_;
  std::uint32_t size_ = 0;
};

// Size and alignment of one field of a kind, in the host's packing.
std::uint32_t fieldSize(FieldKind kind, int pointerSize);
std::uint32_t fieldAlignment(FieldKind kind, int pointerSize);
const char* fieldKindName(FieldKind kind);

}  // namespace panelhost::hostabi
