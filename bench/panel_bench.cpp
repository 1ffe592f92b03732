// What the panel costs a host in wall-clock time: an update cycle of the flying radio stack (of
// the module --module names, for the emulated .gau beside the native one), and of 1, 3, 30 and
// 300 placements of its gauges, the whole panel drawn
// into pixels beside a memcpy of a frame of that size (the floor, measured in the same run), and
// drawn and written as PNG.
//
//   panel_bench [--module PATH] [Google Benchmark options]
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "flying_stack.h"
#include "panel/element_reader.h"
#include "render/panel_picture.h"
#include "render/png_writer.h"

namespace {

using panelhost::PanelSession;

std::optional<std::string> module;  // --module PATH

void updateCycle(benchmark::State& state) {
  auto session = bench::flyingStack(module);
  for (auto _ : state) session->updateCycles(1);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(updateCycle);

// How an update cycle grows with the gauges placed: the COM/NAV radio alone, the stack, the stack
// placed 10 and 100 times.
void updateCycleOfPlacements(benchmark::State& state) {
  auto session = bench::flyingStack(module, static_cast<int>(state.range(0)));
  for (auto _ : state) session->updateCycles(1);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(updateCycleOfPlacements)->Arg(1)->Arg(3)->Arg(30)->Arg(300);

// The flying stack as the renderer sees it, with every placement's element values.
struct DrawnStack {
  std::unique_ptr<PanelSession> session = bench::flyingStack(module);
  panelhost::PanelPicture picture{panelhost::PictureSettings{}};
  std::vector<std::unique_ptr<panelhost::ModuleElementValues>> values;
  std::vector<panelhost::PicturePlacement> placements;
  panelhost::Size size{session->layout().widthPx, session->layout().heightPx};

  DrawnStack() {
    for (const panelhost::PlacedGauge& placed : session->view().gauges) {
      values.push_back(std::make_unique<panelhost::ModuleElementValues>(*placed.module));
      placements.push_back(
          {placed.placement, placed.gauge, values.back().get(), placed.module->path()});
    }
    picture.layOut(placements);
  }
};

// The floor for drawing: copying a frame of the panel's size, in the same run.
void frameMemcpy(benchmark::State& state) {
  DrawnStack stack;
  const panelhost::Image& frame = stack.picture.draw(stack.size, stack.placements);
  std::vector<panelhost::Rgba> copy(frame.pixels().size());
  for (auto _ : state) {
    std::memcpy(copy.data(), frame.pixels().data(), copy.size() * sizeof(panelhost::Rgba));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(frameMemcpy)->Unit(benchmark::kMicrosecond);

void drawPanel(benchmark::State& state) {
  DrawnStack stack;
  for (auto _ : state) {
    benchmark::DoNotOptimize(stack.picture.draw(stack.size, stack.placements).pixels().data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(drawPanel)->Unit(benchmark::kMicrosecond);

void drawPanelPng(benchmark::State& state) {
  DrawnStack stack;
  const auto png = std::filesystem::temp_directory_path() /
                   ("radios-bench-" + std::to_string(::getpid()) + ".png");
  for (auto _ : state) stack.picture.render(stack.size, stack.placements, png);
  std::filesystem::remove(png);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(drawPanelPng)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  module = bench::takeModuleOption(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
