#include "emulator/symbol_names.h"

#include <cxxabi.h>

#include <cctype>
#include <cstdlib>

#include "emulator/byte_reader.h"

namespace panelhost {

std::string readableSymbol(const std::string& fileName) {
  std::string name = fileName;
  if (!name.empty() && (name[0] == '_' || name[0] == '@')) name.erase(0, 1);
  const auto at = name.rfind('@');
  if (at != std::string::npos && at > 0 && at + 1 < name.size() &&
      name.find_first_not_of("0123456789", at + 1) == std::string::npos) {
    name.erase(at);
  }
  if (name.compare(0, 2, "_Z") != 0) return name;
  int status = 0;
  char* demangled = abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status);
  if (status != 0 || demangled == nullptr) {
    std::free(demangled);
    return name;
  }
  std::string readable = demangled;
  std::free(demangled);
  // "comSwapClick(PIXPOINT*, unsigned int)" reads better as "comSwapClick".
  if (!readable.empty() && readable.back() == ')') {
    int depth = 0;
    for (std::size_t i = readable.size(); i-- > 0;) {
      if (readable[i] == ')') ++depth;
      if (readable[i] == '(' && --depth == 0) {
        readable.erase(i);
        break;
      }
    }
  }
  return readable;
}

void SymbolNames::add(std::uint32_t address, const std::string& fileName) {
  names_.emplace(address, readableSymbol(fileName));
}

std::string SymbolNames::at(std::uint32_t address) const {
  const auto found = names_.find(address);
  return found == names_.end() ? "" : found->second;
}

std::string SymbolNames::near(std::uint32_t address, std::uint32_t reach) const {
  auto found = names_.upper_bound(address);
  if (found == names_.begin()) return "";
  --found;
  const std::uint32_t offset = address - found->first;
  if (offset > reach) return "";
  return offset == 0 ? found->second : found->second + "+" + hex(offset);
}

}  // namespace panelhost
