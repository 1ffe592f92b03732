// The update cycles and the integer floor in a form callgrind can count: each measured piece is a
// function of its own, which scripts/bench names to --toggle-collect.
//
//   cycle_probe [--module PATH] [--placements P] cycles N
//                                          N update periods of the flying stack (advance, so the
//                                          reply lamp's timer fires as it does in flight), its
//                                          gauges placed P times in all (bench/flying_stack.h);
//                                          prints the heap allocations made per update cycle
//   cycle_probe floor N                    the four frequency displays formatted from integers,
//                                          N times
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "allocation_count.h"
#include "flying_stack.h"
#include "support/host_error.h"

namespace {

// "%7.3f" of kHz / 1000 for 0 <= kHz < 1,000,000, from integer arithmetic: the least a display
// callback could do to write its frequency.
__attribute__((noinline)) void formatMhz(int khz, char* text) {
  char* end = text + 7;
  *end = '\0';
  for (int i = 0; i < 3; ++i, khz /= 10) *--end = static_cast<char>('0' + khz % 10);
  *--end = '.';
  do {
    *--end = static_cast<char>('0' + khz % 10);
    khz /= 10;
  } while (khz != 0 && end > text);
  while (end > text) *--end = ' ';
}

// The four frequency displays of the flying stack: COM active and standby, NAV active and standby.
__attribute__((noinline)) void measuredFloor(const volatile int* khz, long rounds) {
  char texts[4][8];
  for (long round = 0; round < rounds; ++round) {
    for (int i = 0; i < 4; ++i) formatMhz(khz[i], texts[i]);
    asm volatile("" : : "r"(texts) : "memory");
  }
}

__attribute__((noinline)) void measuredCycles(panelhost::PanelSession& session, long cycles) {
  session.advance(cycles * panelhost::PanelSession::kDefaultPeriodMs);
}

}  // namespace

int main(int argc, char** argv) {
  const auto module = bench::takeModuleOption(argc, argv);
  int placements = 3;
  if (argc == 5 && std::strcmp(argv[1], "--placements") == 0) {
    placements = std::atoi(argv[2]);
    argv += 2;
    argc -= 2;
  }
  if (argc != 3 || placements < 1) {
    std::fprintf(stderr, "usage: cycle_probe [--module PATH] [--placements P] cycles|floor N\n");
    return 2;
  }
  const long count = std::strtol(argv[2], nullptr, 10);
  if (std::strcmp(argv[1], "floor") == 0) {
    static const volatile int khz[4] = {122800, 121500, 110500, 113900};
    measuredFloor(khz, count);
    char text[8];
    formatMhz(khz[0], text);
    std::printf("floor %s\n", text);
    return std::strcmp(text, "122.800") == 0 ? 0 : 1;
  }
  try {
    auto session = bench::flyingStack(module, placements);
    // One period first, so that whatever a first cycle sets up is not counted.
    session->advance(panelhost::PanelSession::kDefaultPeriodMs);
    const std::uint64_t before = bench::allocationsSoFar();
    measuredCycles(*session, count);
    const std::uint64_t allocations = bench::allocationsSoFar() - before;
    std::printf("cycles %ld allocations %llu per-cycle %.3f\n", count,
                static_cast<unsigned long long>(allocations),
                static_cast<double>(allocations) / static_cast<double>(count));
  } catch (const panelhost::HostError& error) {
    std::fprintf(stderr, "cycle_probe: %s\n", error.what());
    return 2;
  }
  return 0;
}
