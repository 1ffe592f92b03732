// The host's lifecycle as the fake's "Lifecycle" gauge records it: every service, in order, with
// the extra data the published facts give it.
#include <dlfcn.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <link.h>

#include "panel/panel_file.h"
#include "panel/panel_session.h"

namespace {

using Served = std::pair<std::uint32_t, std::uint32_t>;  // service id, extra data

std::vector<Served> servicesSent(const panelhost::HostServices& host) {
  std::vector<Served> served;
  for (const auto& event : host.keyEvents) served.emplace_back(event.eventId - 7000, event.value);
  return served;
}

std::uint32_t loadAddressOf(const char* path) {
  void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
  link_map* map = nullptr;
  if (handle == nullptr || dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0) return 0;
  const auto address = static_cast<std::uint32_t>(map->l_addr);
  dlclose(handle);
  return address;
}

TEST(SessionLifecycle, EachPlacementIsServedStartUpdateDrawingAndUnloadWithTheirExtraData) {
  panelhost::SessionOptions options;
  options.moduleOverride = FAKE_MODULE_PATH;
  panelhost::PanelSession session(
      panelhost::parsePanelText("[Window00]\ngauge00=fake!Lifecycle, 0, 0\n", "lifecycle.cfg"),
      options);
  session.start();
  const std::uint32_t module = loadAddressOf(FAKE_MODULE_PATH);
  const std::uint32_t window = panelhost::HostServices::kMainWindow;
  session.updateCycles(1);
  session.beforeDrawing();
  session.afterDrawing();
  session.unload();

  const std::vector<Served> expected = {
      {0, 0}, {1, 0}, {2, module}, {3, module}, {4, 0},  {5, 0},  {14, window}, {16, 0}, {6, 0},
      {7, 0}, {8, 0}, {9, 0},      {10, 0},     {11, 0}, {17, 0}, {15, window}, {12, 0}, {13, 0}};
  EXPECT_NE(module, 0u);
  EXPECT_EQ(servicesSent(session.host()), expected);
}

}  // namespace
