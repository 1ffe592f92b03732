#include "abi/record_layout.h"

#include <algorithm>
#include <stdexcept>

namespace panelhost::hostabi {

namespace {

constexpr std::uint32_t kHostPacking = 4;

// MODULE_VAR: id, var_ptr, var_type, then two 8-byte values.
std::uint32_t moduleVarSize(int pointerSize) {
  return 4 + static_cast<std::uint32_t>(pointerSize) + 4 + 8 + 8;
}

std::uint32_t alignUp(std::uint32_t value, std::uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

}  // namespace

std::uint32_t fieldSize(FieldKind kind, int pointerSize) {
  switch (kind) {
    case FieldKind::U8:
    case FieldKind::Char:
      return 1;
    case FieldKind::U16:
    case FieldKind::S16:
      return 2;
    case FieldKind::U32:
    case FieldKind::S32:
    case FieldKind::F32:
      return 4;
    case FieldKind::F64:
      return 8;
    case FieldKind::Pointer:
      return static_cast<std::uint32_t>(pointerSize);
    case FieldKind::Point:
      return 8;
    case FieldKind::Box:
      return 16;
    case FieldKind::ModuleVar:
      return moduleVarSize(pointerSize);
  }
  return 0;
}

std::uint32_t fieldAlignment(FieldKind kind, int pointerSize) {
  switch (kind) {
    case FieldKind::Point:
    case FieldKind::Box:
    case FieldKind::ModuleVar:
      return kHostPacking;
    default:
      return std::min(fieldSize(kind, pointerSize), kHostPacking);
  }
}

const char* fieldKindName(FieldKind kind) {
  switch (kind) {
    case FieldKind::U8:
      return "UINT8";
    case FieldKind::U16:
      return "UINT16";
    case FieldKind::S16:
      return "SINT16";
    case FieldKind::U32:
      return "UINT32";
    case FieldKind::S32:
      return "SINT32";
    case FieldKind::F32:
      return "FLOAT32";
    case FieldKind::F64:
      return "FLOAT64";
    case FieldKind::Pointer:
      return "pointer";
    case FieldKind::Point:
      return "PIXPOINT";
    case FieldKind::Box:
      return "PIXBOX";
    case FieldKind::ModuleVar:
      return "MODULE_VAR";
    case FieldKind::Char:
      return "char";
  }
  return "?";
}

RecordLayout::RecordLayout(std::string_view name, const std::vector<FieldSpec>& fields,
                           int pointerSize)
    : name_(name) {
  std::uint32_t at = 0;
  std::uint32_t recordAlignment = 1;
  for (const FieldSpec& spec : fields) {
    const std::uint32_t alignment = fieldAlignment(spec.kind, pointerSize);
    recordAlignment = std::max(recordAlignment, alignment);
    at = alignUp(at, alignment);
    const std::uint32_t size = fieldSize(spec.kind, pointerSize) * spec.count;
    fields_.push_back(Field{spec.name, spec.kind, spec.count, at, size});
    at += size;
  }
  size_ = alignUp(at, recordAlignment);
}

const Field& RecordLayout::field(std::string_view name) const {
  for (const Field& f : fields_) {
    if (f.name == name) return f;
  }
  throw std::logic_error(std::string(name_) + " has no field " + std::string(name));
}

}  // namespace panelhost::hostabi
