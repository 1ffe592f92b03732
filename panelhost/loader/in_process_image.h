// The native module in panelhost's own process: loaded with dlopen, its memory read and written
// where it lies, its functions called directly. Host services become real functions the module
// can call: entries of the running host's pool of trampolines, which the image is handed when it
// is opened. The trampolines themselves are plain functions the module calls with nothing but its
// arguments; they alone reach the pool through the one pointer to the running host
// (HostServices::running()).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "loader/module_image.h"

namespace panelhost {

class TrampolinePool;

class InProcessImage : public ModuleImage {
 public:
  // Loads the shared object afresh; throws HostError saying why it cannot. Its host functions are
  // entries of `trampolines`, the running host's, which must outlive the image.
  static std::unique_ptr<InProcessImage> open(const std::string& path, TrampolinePool& trampolines);
  // The running program itself, for tests that link the module's code in.
  static std::unique_ptr<InProcessImage> thisProcess(TrampolinePool& trampolines);
  ~InProcessImage() override;

  const std::string& path() const override { return path_; }
  int pointerSize() const override { return static_cast<int>(sizeof(void*)); }
  void read(ModuleAddress at, void* into, std::size_t bytes) const override;
  void write(ModuleAddress at, const void* from, std::size_t bytes) override;
  std::optional<ModuleAddress> exportAddress(const std::string& name) const override;
  std::string nameOf(ModuleAddress function) const override;
  ModuleAddress moduleHandle() const override;
  std::uint64_t call(ModuleAddress function, std::initializer_list<std::uint64_t> arguments,
                     const std::string& entry) override;
  double callReturningDouble(ModuleAddress function, std::initializer_list<std::uint64_t> arguments,
                             const std::string& entry) override;
  // Each call made directly, without a virtual call and an argument list each: some 570 fewer
  // instructions an update cycle of the stack, which keeps the host's share within its goal.
  void callInOrder(const ModuleCall* calls, std::size_t count, CallResult* results) override;
  ModuleAddress allocateHostBlock(std::size_t bytes, const std::string& purpose) override;
  ModuleAddress hostFunction(const std::string& name, int argumentWords,
                             HostFunction service) override;
  std::optional<std::vector<std::uint8_t>> bitmapResource(std::uint32_t) const override {
    return std::nullopt;
  }

 private:
  InProcessImage(std::string path, void* handle, TrampolinePool& trampolines)
      : path_(std::move(path)), handle_(handle), trampolines_(trampolines) {}

  std::string path_;
  void* handle_;  // dlopen's, or the program's own
  bool ownsHandle_ = true;
  std::vector<std::unique_ptr<std::uint8_t[]>> blocks_;
  TrampolinePool& trampolines_;
  std::vector<int> entries_;  // the pool entries this image holds
};

// In-process host functions: a fixed pool of real functions, each calling whatever service is
// bound to its entry. The running host owns one.
class TrampolinePool {
 public:
  static constexpr int kSize = 256;

  TrampolinePool();
  // Binds `service` to a free entry; returns the entry and the address of its function. Throws
  // HostError when the pool is used up.
  std::pair<int, ModuleAddress> bind(HostFunction service);
  void release(int entry);
  std::uint64_t invoke(int entry, const HostArguments& arguments) const;

 private:
  std::vector<HostFunction> services_;
};

}  // namespace panelhost
