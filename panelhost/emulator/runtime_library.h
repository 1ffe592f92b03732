// What the module's imports are bound to: panelhost's own small C runtime (msvcrt), the KERNEL32
// functions the static MinGW start-up code calls, and USER32's window and timer functions on the
// WindowsHost, each DLL a table of its functions in a file of its own (crt_functions.cpp,
// kernel32_functions.cpp, user32_functions.cpp). Nothing here reaches a file, the registry or the
// environment, which the module must not touch; an import outside this set is refused at load.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "emulator/guest_heap.h"
#include "emulator/provided_function.h"
#include "emulator/x86_machine.h"
#include "loader/windows_host.h"

namespace panelhost {

struct LoadedImageInfo {
  std::string fileName;  // "radios.gau", as GetModuleHandle and LoadLibrary are asked for it
  std::uint32_t base = 0;
  std::uint32_t size = 0;
  std::map<std::string, std::uint32_t> exports;  // name -> RVA, for GetProcAddress
};

class RuntimeLibrary {
 public:
  RuntimeLibrary(X86Machine& machine, WindowsHost& windows, LoadedImageInfo image);
  RuntimeLibrary(const RuntimeLibrary&) = delete;
  RuntimeLibrary& operator=(const RuntimeLibrary&) = delete;

  // The address bound to DLL!function, or nothing when panelhost does not provide it. DLL names
  // compare without case, as Windows compares them.
  std::optional<std::uint32_t> resolve(const std::string& dll, const std::string& function) const;

  // What the functions share.
  GuestMemory& memory() { return machine_.memory(); }
  GuestHeap& heap() { return heap_; }
  WindowsHost& windows() { return windows_; }
  const LoadedImageInfo& image() const { return image_; }
  // Zeroed room in the runtime's data region, for the lifetime of the process.
  std::uint32_t reserveData(std::uint32_t bytes);
  void setLastError(std::uint32_t code);
  // What the module wrote to stdout and stderr, its last few KiB, for fault messages.
  void appendConsole(const std::string& text);
  std::string consoleNote() const;

  enum class Convention { kCdecl, kStdcall };
  // Binds each function of DLL `dll`'s table (provided_function.h), made in `convention`, to its
  // handler on `handlers`, which the runtime keeps as long as it lives.
  template <typename Dll, std::size_t N>
  void provideAll(const char* dll, Convention convention,
                  const ProvidedFunction<Dll> (&functions)[N], std::shared_ptr<Dll> handlers);
  void provideCode(const std::string& dll, const std::string& function,
                   const std::vector<std::uint8_t>& code);
  void provideData(const std::string& dll, const std::string& name, std::uint32_t address);

 private:
  void provide(const std::string& dll, const std::string& function, int argumentWords,
               Convention convention, HostFunction service);

  X86Machine& machine_;
  WindowsHost& windows_;
  LoadedImageInfo image_;
  GuestHeap heap_;
  std::uint32_t nextData_;
  std::string console_;
  std::map<std::string, std::uint32_t> bound_;  // "kernel32.dll!Sleep" -> address
  std::vector<std::shared_ptr<void>> dlls_;     // the DLLs' classes, whose handlers the thunks call
};

template <typename Dll, std::size_t N>
void RuntimeLibrary::provideAll(const char* dll, Convention convention,
                                const ProvidedFunction<Dll> (&functions)[N],
                                std::shared_ptr<Dll> handlers) {
  Dll* on = handlers.get();
  for (const ProvidedFunction<Dll>& function : functions) {
    const auto serve = function.handler.serve;
    provide(dll, function.name, function.handler.argumentWords, convention,
            [on, serve](const HostArguments& arguments) -> std::uint64_t {
              return serve(*on, arguments);
            });
  }
  dlls_.push_back(std::move(handlers));
}

// Each fills in one DLL's part.
void provideMsvcrt(RuntimeLibrary& runtime);
void provideKernel32(RuntimeLibrary& runtime);
void provideUser32(RuntimeLibrary& runtime);

}  // namespace panelhost
