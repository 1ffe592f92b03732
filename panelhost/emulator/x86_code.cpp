#include "emulator/x86_code.h"

#include <stdexcept>
#include <string>

namespace panelhost {
namespace {

constexpr std::size_t kUnbound = static_cast<std::size_t>(-1);
constexpr std::uint8_t kSsPrefix = 0x36;

std::uint8_t code(Reg reg) { return static_cast<std::uint8_t>(reg); }

}  // namespace

X86Code::Label X86Code::label() {
  labels_.push_back(kUnbound);
  return Label{labels_.size() - 1};
}

void X86Code::bind(Label label) { labels_.at(label.index) = bytes_.size(); }

void X86Code::padTo(std::uint32_t address) {
  if (address < here()) throw std::logic_error("x86 code: past the address to pad to");
  bytes_.resize(address - origin_, 0xCC);
}

std::vector<std::uint8_t> X86Code::finish() const {
  std::vector<std::uint8_t> bytes = bytes_;
  for (const Fixup& fixup : fixups_) {
    const std::size_t target = labels_.at(fixup.label);
    if (target == kUnbound) throw std::logic_error("x86 code: a jump to a label never bound");
    const auto rel = static_cast<std::uint32_t>(static_cast<std::int64_t>(target) -
                                                static_cast<std::int64_t>(fixup.at + 4));
    for (int b = 0; b < 4; ++b) bytes[fixup.at + b] = static_cast<std::uint8_t>(rel >> 8 * b);
  }
  return bytes;
}

void X86Code::word(std::uint32_t value) {
  for (int b = 0; b < 4; ++b) byte(static_cast<std::uint8_t>(value >> 8 * b));
}

void X86Code::modRm(std::uint8_t mod, std::uint8_t reg, std::uint8_t rm) {
  byte(static_cast<std::uint8_t>(mod << 6 | reg << 3 | rm));
}

// An instruction between two registers: `reg` in the ModRM reg field, `rm` the other.
void X86Code::registers(std::uint8_t opcode, Reg rm, Reg reg) {
  byte(opcode);
  modRm(3, code(reg), code(rm));
}

// An instruction on the word at an absolute address, through SS: mod 00, r/m 101 (disp32).
void X86Code::absolute(std::uint8_t opcode, std::uint8_t reg, std::uint32_t address) {
  byte(kSsPrefix);
  byte(opcode);
  modRm(0, reg, 5);
  word(address);
}

void X86Code::relative(Label to) {
  fixups_.push_back({bytes_.size(), to.index});
  word(0);
}

void X86Code::movRegReg(Reg to, Reg from) { registers(0x89, to, from); }

void X86Code::movRegImm(Reg to, std::uint32_t value) {
  byte(static_cast<std::uint8_t>(0xB8 + code(to)));
  word(value);
}

void X86Code::movRegSegment(Reg to, SegmentReg from) {
  byte(0x8C);
  modRm(3, static_cast<std::uint8_t>(from), code(to));
}

void X86Code::movReg16Segment(Reg to, SegmentReg from) {
  byte(0x66);
  movRegSegment(to, from);
}

void X86Code::movRegMem(Reg to, std::uint32_t address) { absolute(0x8B, code(to), address); }

void X86Code::movAtRegReg(Reg base, Reg from) {
  if (base == Reg::kEsp || base == Reg::kEbp) throw std::logic_error("x86 code: [ESP], [EBP]");
  byte(kSsPrefix);
  byte(0x89);
  modRm(0, code(from), code(base));
}

void X86Code::xorRegReg(Reg to, Reg with) { registers(0x31, to, with); }

void X86Code::xorRegImm(Reg to, std::uint32_t value) {
  byte(0x81);
  modRm(3, 6, code(to));
  word(value);
}

void X86Code::xorRegMem(Reg to, std::uint32_t address) { absolute(0x33, code(to), address); }

void X86Code::orRegReg(Reg to, Reg with) { registers(0x09, to, with); }

void X86Code::andRegImm(Reg to, std::uint32_t value) {
  byte(0x81);
  modRm(3, 4, code(to));
  word(value);
}

void X86Code::cmpRegImm8(Reg to, std::int8_t value) {
  byte(0x83);
  modRm(3, 7, code(to));
  byte(static_cast<std::uint8_t>(value));
}

void X86Code::shlRegImm8(Reg to, std::uint8_t bits) {
  byte(0xC1);
  modRm(3, 4, code(to));
  byte(bits);
}

void X86Code::sbbRegReg(Reg to, Reg with) { registers(0x19, to, with); }

void X86Code::testRegReg(Reg a, Reg b) { registers(0x85, a, b); }

void X86Code::leaRegRegDisp(Reg to, Reg base, std::int32_t disp) {
  if (base == Reg::kEsp) throw std::logic_error("x86 code: lea from ESP needs a SIB byte");
  byte(0x8D);
  modRm(2, code(to), code(base));
  word(static_cast<std::uint32_t>(disp));
}

void X86Code::lodsb() {
  byte(kSsPrefix);
  byte(0xAC);
}

void X86Code::fxam() {
  byte(0xD9);
  byte(0xE5);
}

void X86Code::fnstswAx() {
  byte(0xDF);
  byte(0xE0);
}

void X86Code::fstpTwordAtReg(Reg base) {
  if (base == Reg::kEsp || base == Reg::kEbp) throw std::logic_error("x86 code: [ESP], [EBP]");
  byte(kSsPrefix);
  byte(0xDB);
  modRm(0, 7, code(base));
}

void X86Code::fstpSt0() {
  byte(0xDD);
  byte(0xD8);
}

void X86Code::fldcwMem(std::uint32_t address) { absolute(0xD9, 5, address); }

void X86Code::jmpMem(std::uint32_t address) { absolute(0xFF, 4, address); }

void X86Code::jmp(Label to) {
  byte(0xE9);
  relative(to);
}

void X86Code::jz(Label to) {
  byte(0x0F);
  byte(0x84);
  relative(to);
}

void X86Code::interrupt(std::uint8_t vector) {
  byte(0xCD);
  byte(vector);
}

}  // namespace panelhost
