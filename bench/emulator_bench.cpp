// What one call into the emulated i686 radios.gau costs: the drum callbacks and gauge callbacks
// of an update cycle are calls this short, so calls per second bound the emulated panel's speed.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "emulator/emulated_module.h"

namespace {

using panelhost::ModuleAddress;

class NoWindows : public panelhost::WindowsHost {
 public:
  std::uint64_t findWindow(const std::u16string&, const std::u16string&) override { return 1; }
  std::uint64_t setTimer(std::uint64_t, std::uint64_t id, std::uint32_t,
                         ModuleAddress procedure) override {
    lastProcedure = procedure;
    return id;
  }
  bool killTimer(std::uint64_t, std::uint64_t) override { return true; }
  ModuleAddress lastProcedure = 0;
};

struct Radios {
  NoWindows windows;
  std::unique_ptr<panelhost::ModuleImage> module =
      panelhost::openEmulatedModule(RADIOS_I686_GAU, windows);
  ModuleAddress linkage = *module->exportAddress("Linkage");

  Radios() {
    // The three services the module calls, at their slots; the others stay null.
    std::vector<std::uint32_t> table(86);
    const auto nothing = [](const panelhost::HostArguments&) { return std::uint64_t{0}; };
    const auto calculate = [this](const panelhost::HostArguments& a) {
      const double value = 121.5;
      if (a[1] != 0) module->write(a[1], &value, 8);
      return std::uint64_t{1};
    };
    const auto trigger = static_cast<std::uint32_t>(module->hostFunction("trigger", 2, nothing));
    const auto lookup = static_cast<std::uint32_t>(module->hostFunction("lookup", 1, nothing));
    const auto calc = static_cast<std::uint32_t>(module->hostFunction("calc", 4, calculate));
    table[36] = trigger;
    table[40] = lookup;
    table[69] = calc;
    const ModuleAddress panels = module->allocateHostBlock(4 * table.size(), "the PANELS table");
    module->write(panels, table.data(), 4 * table.size());
    const auto word = static_cast<std::uint32_t>(panels);
    module->write(*module->exportAddress("ImportTable") + 4, &word, 4);
  }

  // A function pointer of that name in the image's data: the pages from two before Linkage's on,
  // as far as they are readable (the gauge headers lie a few pages past it).
  ModuleAddress named(const std::string& name) const {
    std::vector<std::uint32_t> words(0x1000 / 4);
    for (ModuleAddress page = (linkage & ~0xFFFull) - 0x2000;; page += 0x1000) {
      try {
        module->read(page, words.data(), 0x1000);
      } catch (const panelhost::ModuleFault&) {
        return 0;
      }
      for (const std::uint32_t candidate : words) {
        if (module->nameOf(candidate) == name) return candidate;
      }
    }
  }
};

void elementCallback(benchmark::State& state) {
  Radios radios;
  const ModuleAddress drum = radios.named("adfTensStripY");
  for (auto _ : state) {
    benchmark::DoNotOptimize(radios.module->callReturningDouble(drum, {0}, "adfTensStripY"));
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(elementCallback);

// The same callback made 36 times in one batch, as an update cycle makes its calls: the cost of
// one call in a batch.
void elementCallbackInABatch(benchmark::State& state) {
  Radios radios;
  static const std::string entry = "adfTensStripY";
  panelhost::ModuleCall call;
  call.function = radios.named("adfTensStripY");
  call.argumentCount = 1;
  call.returnsDouble = true;
  call.entry = &entry;
  const std::vector<panelhost::ModuleCall> calls(36, call);
  for (auto _ : state) radios.module->callInOrder(calls.data(), calls.size(), nullptr);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(calls.size()));
}
BENCHMARK(elementCallbackInABatch);

void gaugeCallbackCallingTheHost(benchmark::State& state) {
  Radios radios;
  std::uint32_t header = 0;
  radios.module->read(radios.linkage + 24, &header, 4);
  const ModuleAddress callback = radios.named("comNavGaugeCallback");
  radios.module->call(callback, {header, 4, 0}, "pre-initialize");
  // The settle timer's procedure makes each pre-update read COM1 through lookup_var.
  radios.module->call(radios.windows.lastProcedure, {1, 0x113, 4, 0}, "the settle timer");
  for (auto _ : state) radios.module->call(callback, {header, 6, 0}, "pre-update");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(gaugeCallbackCallingTheHost);

}  // namespace

BENCHMARK_MAIN();
