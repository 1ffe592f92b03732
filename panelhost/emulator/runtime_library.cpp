#include "emulator/runtime_library.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "emulator/guest_layout.h"
#include "emulator/pe_image.h"
#include "emulator/windows_definitions.h"

namespace panelhost {
namespace {

constexpr std::size_t kConsoleKept = 4096;

std::string key(const std::string& dll, const std::string& function) {
  std::string lower = dll;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower + "!" + function;
}

}  // namespace

RuntimeLibrary::RuntimeLibrary(X86Machine& machine, WindowsHost& windows, LoadedImageInfo image)
    : machine_(machine),
      windows_(windows),
      image_(std::move(image)),
      heap_(guest::kHeapBase, guest::kHeapSize),
      nextData_(guest::kDataBase) {
  memory().map(guest::kDataBase, guest::kDataSize, kPageRead | kPageWrite);
  memory().map(guest::kHeapBase, guest::kHeapSize, kPageRead | kPageWrite);
  provideMsvcrt(*this);
  provideKernel32(*this);
  provideUser32(*this);
}

std::optional<std::uint32_t> RuntimeLibrary::resolve(const std::string& dll,
                                                     const std::string& function) const {
  const auto found = bound_.find(key(dll, function));
  if (found == bound_.end()) return std::nullopt;
  return found->second;
}

std::uint32_t RuntimeLibrary::reserveData(std::uint32_t bytes) {
  const std::uint32_t rounded = (bytes + 15) / 16 * 16;
  if (rounded > guest::kDataBase + guest::kDataSize - nextData_) {
    throw HostError("the emulator's runtime data region is full");
  }
  const std::uint32_t address = nextData_;
  nextData_ += rounded;
  return address;
}

void RuntimeLibrary::setLastError(std::uint32_t code) {
  memory().put32(guest::kTebBase + win32::teb::kLastError, code);
}

void RuntimeLibrary::appendConsole(const std::string& text) {
  console_ += text;
  if (console_.size() > kConsoleKept) console_.erase(0, console_.size() - kConsoleKept);
}

std::string RuntimeLibrary::consoleNote() const {
  if (console_.empty()) return "";
  return "; it had written: \"" + console_ + "\"";
}

void RuntimeLibrary::provide(const std::string& dll, const std::string& function, int argumentWords,
                             Convention convention, HostFunction service) {
  const std::string name = dll + "!" + function;
  bound_[key(dll, function)] = machine_.thunks().add(
      name, argumentWords, convention == Convention::kStdcall, std::move(service));
}

void RuntimeLibrary::provideCode(const std::string& dll, const std::string& function,
                                 const std::vector<std::uint8_t>& code) {
  bound_[key(dll, function)] = machine_.thunks().addCode(code);
}

void RuntimeLibrary::provideData(const std::string& dll, const std::string& name,
                                 std::uint32_t address) {
  bound_[key(dll, name)] = address;
}

}  // namespace panelhost
