#include "emulator/emulated_module.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "emulator/byte_reader.h"
#include "emulator/call_routine.h"
#include "emulator/emulator_room.h"
#include "emulator/guarded_blocks.h"
#include "emulator/guest_layout.h"
#include "emulator/pe_image.h"
#include "emulator/pe_resources.h"
#include "emulator/runtime_library.h"
#include "emulator/symbol_names.h"
#include "emulator/windows_definitions.h"
#include "emulator/x86_machine.h"

namespace panelhost {
namespace {

constexpr std::uint64_t kMaxFileSize = 256u << 20;
constexpr std::uint32_t kNameReach = 0x10000;

std::string fileNameOf(const std::string& path) {
  const auto slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::uint32_t chooseBase(PeImage& image, const EmulatorOptions& options, const std::string& name) {
  const std::uint64_t size = image.memory.size();
  const auto fits = [size](std::uint64_t base) {
    return base % win32::kAllocationGranularity == 0 && base >= guest::kImagesStart &&
           base + size <= guest::kImagesEnd;
  };
  std::uint32_t base = options.imageBase.value_or(image.preferredBase);
  if (!fits(base)) {
    if (options.imageBase) {
      throw HostError(name + ": cannot be loaded at " + hex(base) + " (it takes " + hex(size) +
                      " bytes)");
    }
    base = guest::kRelocatedBase;
  }
  relocateImage(image, base, name);
  return base;
}

class EmulatedModule final : public ModuleImage {
 public:
  EmulatedModule(std::vector<std::uint8_t> file, std::string path, WindowsHost& windows,
                 const EmulatorOptions& options)
      : path_(std::move(path)),
        fileName_(fileNameOf(path_)),
        image_(parsePeImage(file, path_)),
        base_(chooseBase(image_, options, path_)),
        machine_(options.codeLimit),
        runtime_(
            machine_, windows,
            {fileName_, base_, static_cast<std::uint32_t>(image_.memory.size()), image_.exports}),
        hostBlocks_(machine_.memory(), path_) {
    machine_.setFpuControl(options.fpuControl);
    for (const auto& [rva, name] : image_.functionNames) names_.add(base_ + rva, name);
    for (const auto& [name, rva] : image_.exports) names_.addExport(base_ + rva, name);
    machine_.setAddressNamer(
        [this](std::uint32_t address) { return names_.near(address, kNameReach); });
    bindImports();
    mapImage();
    setUpThread();
    attach();
  }

  ~EmulatedModule() override {
    if (!attached_) return;
    try {
      runInitialisers(win32::kProcessDetach, "process detach");
    } catch (...) {
      // Unloading goes on whatever the module does on its way out, as FreeLibrary's does.
    }
  }

  const std::string& path() const override { return path_; }
  int pointerSize() const override { return 4; }

  void read(ModuleAddress at, void* into, std::size_t bytes) const override {
    machine_.memory().read(at, into, bytes);
  }
  void write(ModuleAddress at, const void* from, std::size_t bytes) override {
    machine_.memory().write(at, from, bytes);
  }

  std::optional<ModuleAddress> exportAddress(const std::string& name) const override {
    const auto found = image_.exports.find(name);
    if (found == image_.exports.end()) return std::nullopt;
    return ModuleAddress{base_} + found->second;
  }

  std::string nameOf(ModuleAddress function) const override {
    return function > 0xFFFFFFFFu ? "" : names_.at(static_cast<std::uint32_t>(function));
  }

  std::uint64_t call(ModuleAddress function, std::initializer_list<std::uint64_t> arguments,
                     const std::string& entry) override {
    return machine_.call(guestAddress(function, entry), arguments, entry);
  }

  double callReturningDouble(ModuleAddress function, std::initializer_list<std::uint64_t> arguments,
                             const std::string& entry) override {
    return machine_.callReturningDouble(guestAddress(function, entry), arguments, entry);
  }

  void callInOrder(const ModuleCall* calls, std::size_t count, CallResult* results) override {
    machine_.callInOrder(calls, count, results);
  }

  ModuleAddress allocateHostBlock(std::size_t bytes, const std::string& purpose) override {
    return hostBlocks_.allocate(bytes, purpose);
  }

  ModuleAddress moduleHandle() const override { return base_; }

  ModuleAddress hostFunction(const std::string& name, int argumentWords,
                             HostFunction service) override {
    return machine_.thunks().add(name, argumentWords, true, std::move(service));
  }

  std::optional<std::vector<std::uint8_t>> bitmapResource(std::uint32_t id) const override {
    if (image_.bitmaps.count(id) == 0) return std::nullopt;
    return bitmapFile(image_, id, path_);
  }

 private:
  std::uint32_t guestAddress(ModuleAddress function, const std::string& entry) const {
    if (function > 0xFFFFFFFFu) {
      throw ModuleFault(entry + ": " + hex(function) + " is not a 32-bit address");
    }
    return static_cast<std::uint32_t>(function);
  }

  void bindImports() {
    std::string missing;
    for (const PeImport& import : image_.imports) {
      const auto address = runtime_.resolve(import.dll, import.function);
      if (!address) {
        missing += (missing.empty() ? "" : ", ") + import.dll + "!" + import.function;
        continue;
      }
      for (int b = 0; b < 4; ++b) {
        image_.memory[import.slotRva + b] = static_cast<std::uint8_t>(*address >> 8 * b);
      }
    }
    if (!missing.empty()) {
      throw HostError(path_ + ": imports what panelhost does not provide: " + missing +
                      " (a gauge module may use only the C runtime and the few Windows functions "
                      "its start-up and its timers need)");
    }
  }

  void mapImage() {
    GuestMemory& memory = machine_.memory();
    const auto size = static_cast<std::uint32_t>(image_.memory.size());
    memory.map(base_, size, kPageRead | kPageWrite);
    memory.load(base_, image_.memory.data(), size);
    for (std::uint32_t page = 0; page < image_.pageAccess.size();) {
      std::uint32_t end = page + 1;
      while (end < image_.pageAccess.size() && image_.pageAccess[end] == image_.pageAccess[page]) {
        ++end;
      }
      memory.protect(base_ + page * win32::kPageSize, (end - page) * win32::kPageSize,
                     image_.pageAccess[page]);
      page = end;
    }
  }

  // The thread block and process block the runtime reads through FS, and the image's TLS block,
  // as the loader gives them to a thread.
  void setUpThread() {
    GuestMemory& memory = machine_.memory();
    namespace teb = win32::teb;
    namespace peb = win32::peb;
    const std::uint32_t slots = runtime_.reserveData(4 * win32::kTlsSlots);
    // clang-format off
    const std::pair<std::uint32_t, std::uint32_t> blocks[] = {
        {guest::kTebBase + teb::kExceptionList,   teb::kNoHandler},
        {guest::kTebBase + teb::kStackBase,       guest::kStackBase},
        {guest::kTebBase + teb::kStackLimit,      guest::kStackLimit},
        {guest::kTebBase + teb::kSelf,            guest::kTebBase},
        {guest::kTebBase + teb::kProcessId,       guest::kProcessId},
        {guest::kTebBase + teb::kThreadId,        guest::kThreadId},
        {guest::kTebBase + teb::kTlsPointer,      slots},
        {guest::kTebBase + teb::kPeb,             guest::kPebBase},
        {guest::kPebBase + peb::kImageBase,       guest::kProgramHandle},
        {guest::kPebBase + peb::kProcessHeap,     guest::kHeapBase},
        {guest::kPebBase + peb::kProcessorCount,  1},
    };
    // clang-format on
    for (const auto& [address, value] : blocks) memory.put32(address, value);
    if (!image_.tls) return;
    const PeTls& tls = *image_.tls;
    const auto block = runtime_.heap().allocate(tls.templateSize + tls.zeroFill);
    if (!block) throw HostError(path_ + ": its TLS block does not fit the emulated heap");
    memory.write(*block, image_.memory.data() + tls.templateRva, tls.templateSize);
    const std::vector<std::uint8_t> zeros(tls.zeroFill);
    memory.write(*block + tls.templateSize, zeros.data(), zeros.size());
    memory.put32(slots, *block);
    const std::uint32_t index = 0;
    memory.load(base_ + tls.indexRva, &index, 4);
  }

  // The loader runs the TLS callbacks first, then the entry point, for attach and detach alike.
  std::uint32_t runInitialisers(std::uint32_t reason, const std::string& when) {
    if (image_.tls) {
      for (std::size_t i = 0; i < image_.tls->callbackRvas.size(); ++i) {
        machine_.call(
            base_ + image_.tls->callbackRvas[i], {base_, reason, 0},
            "TLS callback " + std::to_string(i + 1) + " of " + fileName_ + " (" + when + ")");
      }
    }
    if (image_.entryRva == 0) return 1;
    return machine_.call(base_ + image_.entryRva, {base_, reason, 0},
                         "the DLL entry point of " + fileName_ + " (" + when + ")");
  }

  void attach() {
    if (runInitialisers(win32::kProcessAttach, "process attach") != 0) {
      attached_ = true;
      return;
    }
    // Windows tells a DLL that refused to attach that it is detached, then unloads it.
    try {
      runInitialisers(win32::kProcessDetach, "process detach");
    } catch (const HostError&) {
    }
    throw HostError(path_ + ": its DLL entry point refused to attach (it returned FALSE)" +
                    runtime_.consoleNote());
  }

  std::string path_;
  std::string fileName_;
  PeImage image_;
  std::uint32_t base_;
  X86Machine machine_;
  RuntimeLibrary runtime_;
  SymbolNames names_;
  GuardedBlocks hostBlocks_;
  bool attached_ = false;
};

}  // namespace

std::unique_ptr<ModuleImage> openEmulatedModule(std::vector<std::uint8_t> file,
                                                const std::string& path, WindowsHost& windows,
                                                const EmulatorOptions& options) {
  ensureRoomForTheEmulator(path);
  return std::make_unique<EmulatedModule>(std::move(file), path, windows, options);
}

std::unique_ptr<ModuleImage> openEmulatedModule(const std::string& path, WindowsHost& windows,
                                                const EmulatorOptions& options) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw HostError(path + ": cannot be opened");
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<std::uint64_t>(size) > kMaxFileSize) {
    throw HostError(path + ": cannot be read, or is larger than any module (" +
                    std::to_string(kMaxFileSize >> 20) + " MiB)");
  }
  in.seekg(0);
  std::vector<std::uint8_t> file(static_cast<std::size_t>(size));
  if (!in.read(reinterpret_cast<char*>(file.data()), size)) {
    throw HostError(path + ": cannot be read");
  }
  return openEmulatedModule(std::move(file), path, windows, options);
}

}  // namespace panelhost
