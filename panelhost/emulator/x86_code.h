// Machine code for panelhost's own guest routines, written the way an assembler listing reads:
// one call per instruction, named as the instruction is. Only the instructions those routines use
// are here; each says its encoding. Memory operands are absolute addresses read through SS, the
// one segment a callee that returned cannot have left unusable.
#pragma once

#include <cstdint>
#include <vector>

namespace panelhost {

enum class Reg : std::uint8_t { kEax, kEcx, kEdx, kEbx, kEsp, kEbp, kEsi, kEdi };
enum class SegmentReg : std::uint8_t { kEs, kCs, kSs, kDs, kFs, kGs };

class X86Code {
 public:
  // A place in the code that jumps may name before it is bound.
  struct Label {
    std::size_t index;
  };

  explicit X86Code(std::uint32_t origin) : origin_(origin) {}

  std::uint32_t here() const { return origin_ + static_cast<std::uint32_t>(bytes_.size()); }
  Label label();
  void bind(Label label);
  // int3 up to `address`, where the next instruction goes. Throws std::logic_error when past it.
  void padTo(std::uint32_t address);
  // The code, every jump resolved. Throws std::logic_error for a label never bound.
  std::vector<std::uint8_t> finish() const;

  void movRegReg(Reg to, Reg from);                         // 89 /r
  void movRegImm(Reg to, std::uint32_t value);              // B8+r id
  void movRegSegment(Reg to, SegmentReg from);              // 8C /r
  void movReg16Segment(Reg to, SegmentReg from);            // 66 8C /r: the low 16 bits only
  void movRegMem(Reg to, std::uint32_t address);            // 36 8B /r, [disp32]
  void movAtRegReg(Reg base, Reg from);                     // 36 89 /r, [base]
  void xorRegReg(Reg to, Reg with);                         // 31 /r
  void xorRegImm(Reg to, std::uint32_t value);              // 81 /6 id
  void xorRegMem(Reg to, std::uint32_t address);            // 36 33 /r, [disp32]
  void orRegReg(Reg to, Reg with);                          // 09 /r
  void andRegImm(Reg to, std::uint32_t value);              // 81 /4 id
  void cmpRegImm8(Reg to, std::int8_t value);               // 83 /7 ib
  void shlRegImm8(Reg to, std::uint8_t bits);               // C1 /4 ib
  void sbbRegReg(Reg to, Reg with);                         // 19 /r
  void testRegReg(Reg a, Reg b);                            // 85 /r
  void leaRegRegDisp(Reg to, Reg base, std::int32_t disp);  // 8D /r, [base + disp32]
  void lodsb();                                             // 36 AC, AL = SS:[ESI]
  void fxam();                                              // D9 E5
  void fnstswAx();                                          // DF E0
  void fstpTwordAtReg(Reg base);                            // 36 DB /7, [base]
  void fstpSt0();                                           // DD D8
  void fldcwMem(std::uint32_t address);                     // 36 D9 /5, [disp32]
  void jmpMem(std::uint32_t address);                       // 36 FF /4, [disp32]
  void jmp(Label to);                                       // E9 rel32
  void jz(Label to);                                        // 0F 84 rel32
  void interrupt(std::uint8_t vector);                      // CD ib

 private:
  struct Fixup {
    std::size_t at;  // where the rel32 goes
    std::size_t label;
  };

  void byte(std::uint8_t value) { bytes_.push_back(value); }
  void word(std::uint32_t value);
  void modRm(std::uint8_t mod, std::uint8_t reg, std::uint8_t rm);
  void registers(std::uint8_t opcode, Reg rm, Reg reg);
  void absolute(std::uint8_t opcode, std::uint8_t reg, std::uint32_t address);
  void relative(Label to);

  std::uint32_t origin_;
  std::vector<std::uint8_t> bytes_;
  std::vector<std::size_t> labels_;  // bound offset, or npos
  std::vector<Fixup> fixups_;
};

}  // namespace panelhost
