// What the panel costs a host: one update cycle of the radio stack, a simulated minute with the
// transponder blinking, and the whole panel drawn to a PNG.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "cli/renderer_wiring.h"
#include "panel/panel_file.h"
#include "panel/panel_session.h"

namespace {

using panelhost::PanelSession;

std::string moduleFolder() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

// The radio stack as a pilot flies it: COM/NAV on, transponder at ALT and blinking, ADF on.
std::unique_ptr<PanelSession> flyingStack() {
  auto session = std::make_unique<PanelSession>(
      panelhost::builtInPanel(), panelhost::SessionOptions{moduleFolder(), std::nullopt, nullptr});
  session->start();
  session->advance(6000);
  const auto& comNav = *session->placedGauge("Com1Nav1");
  const auto& transponder = *session->placedGauge("Transponder");
  const auto& adf = *session->placedGauge("ADF");
  session->click(comNav, 93, 117);                                  // power on
  for (int i = 0; i < 3; ++i) session->click(transponder, 64, 50);  // OFF to ALT
  session->click(adf, 58, 45);                                      // ADF mode
  return session;
}

void updateCycle(benchmark::State& state) {
  auto session = flyingStack();
  for (auto _ : state) session->updateCycles(1);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(updateCycle);

void simulatedMinute(benchmark::State& state) {
  auto session = flyingStack();
  for (auto _ : state) session->advance(60000);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(simulatedMinute)->Unit(benchmark::kMillisecond);

void renderPanelPng(benchmark::State& state) {
  auto session = flyingStack();
  const auto render = panelhost::builtInRenderer();
  const std::string png = (std::filesystem::temp_directory_path() / "radios-bench.png").string();
  for (auto _ : state) {
    auto view = session->view();
    render(view, png);
  }
  std::filesystem::remove(png);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(renderPanelPng)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
