// The MinGW runtime's start-up patches pseudo-relocations: references to another DLL's data that
// the linker could only bind at load time. The module imports no data, and its link refuses to
// make any such reference (--disable-runtime-pseudo-reloc, module/CMakeLists.txt), so there is
// nothing to patch. This takes the place of the runtime's patcher, whose error report alone would
// bring fprintf and its kin into the module.
extern "C" void _pei386_runtime_relocator() {}
