// Readable names of the module's functions ("comSwapClick") from its export and symbol names as
// an i386 MinGW build writes them: a leading underscore, C++ names mangled, stdcall's "@8".
#pragma once

#include <cstdint>
#include <map>
#include <string>

namespace panelhost {

class SymbolNames {
 public:
  void add(std::uint32_t address, const std::string& fileName);
  void addExport(std::uint32_t address, const std::string& name) { names_[address] = name; }
  // The name of the function starting exactly at `address`, or "".
  std::string at(std::uint32_t address) const;
  // "name+0x12" for an address inside a named function no further than `reach` after it.
  std::string near(std::uint32_t address, std::uint32_t reach) const;

 private:
  std::map<std::uint32_t, std::string> names_;
};

std::string readableSymbol(const std::string& fileName);

}  // namespace panelhost
