#include "flying_stack.h"

#include <cstring>

#include "loader/module_files.h"
#include "panel/panel_file.h"

namespace bench {

std::unique_ptr<panelhost::PanelSession> flyingStack(const std::optional<std::string>& module,
                                                     int placements) {
  panelhost::SessionOptions options;
  options.moduleFolder = panelhost::executableFolder();
  options.moduleOverride = module;
  panelhost::PanelLayout panel = panelhost::builtInPanel();
  const std::vector<panelhost::GaugePlacement> stack = panel.placements;
  panel.placements.clear();
  for (int i = 0; i < placements; ++i) {
    panel.placements.push_back(stack[static_cast<std::size_t>(i) % stack.size()]);
  }
  auto session = std::make_unique<panelhost::PanelSession>(std::move(panel), options);
  session->start();
  session->advance(6000);
  const auto* comNav = session->placedGauge("Com1Nav1");
  const auto* transponder = session->placedGauge("Transponder");
  const auto* adf = session->placedGauge("ADF");
  session->click(*comNav, 93, 117);  // power on
  if (transponder != nullptr) {
    for (int i = 0; i < 3; ++i) session->click(*transponder, 64, 50);  // OFF to ALT
  }
  if (adf != nullptr) session->click(*adf, 58, 45);  // ADF mode
  return session;
}

std::optional<std::string> takeModuleOption(int& argc, char** argv) {
  std::optional<std::string> module;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--module") == 0 && i + 1 < argc) {
      module = argv[++i];
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  return module;
}

}  // namespace bench
