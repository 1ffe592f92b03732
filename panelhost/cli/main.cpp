// panelhost: the simulator's panel system as a program.
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "cli/renderer_wiring.h"
#include "loader/loaded_module.h"
#include "loader/module_files.h"
#include "panel/gauge_info.h"
#include "panel/panel_file.h"
#include "panel/panel_session.h"
#include "panel/run_clock.h"
#include "scenario/scenario_runner.h"
#include "services/host_services.h"
#include "support/host_error.h"
#include "support/shown_text.h"
#include "view/view_command.h"

namespace {

using panelhost::HostError;

constexpr const char* kUsage =
    "usage:\n"
    "  panelhost run FILE.scn [--module PATH] [--log] [--timeout S] [--window NAME] [HOST]\n"
    "                [RENDERING]         run a scenario script\n"
    "  panelhost render [--panel FILE] [--window NAME] [--module PATH] [--timeout S] [HOST]\n"
    "                   [RENDERING] OUT.png\n"
    "                                    draw the panel as it stands after start\n"
    "  panelhost info [--module PATH] [--offsets] [--panel FILE] [--window NAME]\n"
    "                 [--resources DIR] [HOST]\n"
    "                                    describe the module's records as panelhost reads them\n"
    "                                    (--offsets: every field at its offset)\n"
    "  panelhost view [--panel FILE] [--window NAME] [--module PATH] [--scale S]\n"
    "                 [--record FILE.scn] [HOST] [RENDERING]\n"
    "                                    the panel in a window, in real time; the mouse works\n"
    "                                    its controls; L panel lights, S screenshot, Q quits;\n"
    "                                    --record writes what you did as a scenario for run\n"
    "  panelhost --help                  this text\n"
    "\n"
    "HOST: --fpu 24|53|64 (the x87 precision every call into an emulated .gau starts with;\n"
    "53 by default, refused for a native module) and --answers exact|float|below (how the\n"
    "simulation holds what the calculator hands back: exact doubles, 32-bit floats, or one step\n"
    "below). Every command takes them.\n"
    "RENDERING: --lights on|off (panel lighting; off by default) and --resources DIR (the\n"
    "folder of MODULE.rc and its bitmaps; by default the module's own folder).\n"
    "The module is MODULE.so beside panelhost (radios.so), else MODULE.gau there, or PATH with\n"
    "--module; a 32-bit Windows .gau runs in panelhost's x86 emulator.\n"
    "--window NAME: the panel file's window (Window01, or its title); by default the first\n"
    "that places gauges. --timeout S: stop with exit status 2 after S seconds.\n"
    "run exits 0 when every check held, 1 when a check failed, 2 on bad input;\n"
    "render exits 0 when the picture was written, 2 otherwise.\n";

constexpr int kExitUsage = 2;

struct Arguments {
  std::vector<std::string> positional;
  std::optional<std::string> module;
  std::optional<std::string> panel;
  std::optional<std::string> window;
  std::optional<double> timeoutSeconds;
  bool log = false;
  bool offsets = false;
  panelhost::RenderSettings rendering;
  panelhost::HostConditions conditions;
};

struct Allowed {
  bool log = false;
  bool rendering = false;
  bool panel = false;
  bool offsets = false;
  bool timeout = false;
};

// Reads the options common to the commands; throws HostError on one it does not know.
Arguments readArguments(const std::vector<std::string>& args, Allowed allowed) {
  Arguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    auto value = [&](const char* what) {
      if (i + 1 >= args.size())
        throw HostError("expected " + std::string(what) + " after " + args[i]);
      return args[++i];
    };
    if (args[i] == "--module") {
      parsed.module = value("a path");
    } else if (args[i] == "--fpu") {
      parsed.conditions.fpuBits = panelhost::parseFpuBits(value("24, 53 or 64"));
    } else if (args[i] == "--answers") {
      parsed.conditions.answers = panelhost::parseHeldAnswers(value("exact, float or below"));
    } else if (args[i] == "--offsets" && allowed.offsets) {
      parsed.offsets = true;
    } else if (args[i] == "--log" && allowed.log) {
      parsed.log = true;
    } else if (args[i] == "--panel" && allowed.panel) {
      parsed.panel = value("a panel file");
    } else if (args[i] == "--window") {
      parsed.window = value("a window of the panel file");
    } else if (args[i] == "--timeout" && allowed.timeout) {
      parsed.timeoutSeconds = panelhost::parseTimeoutSeconds(value("seconds"));
    } else if (args[i] == "--resources" && allowed.rendering) {
      parsed.rendering.resourcesFolder = value("a folder");
    } else if (args[i] == "--lights" && allowed.rendering) {
      const std::string state = value("on or off");
      if (state != "on" && state != "off") {
        throw HostError("--lights " + panelhost::shownText(state) + ": expected on or off");
      }
      parsed.rendering.panelLights = state == "on";
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      throw HostError("unknown option " + panelhost::shownText(args[i]));
    } else {
      parsed.positional.push_back(args[i]);
    }
  }
  return parsed;
}

panelhost::PanelLayout chosenPanel(const Arguments& parsed) {
  return parsed.panel ? panelhost::readPanelFile(*parsed.panel, parsed.window)
                      : panelhost::builtInPanel(parsed.window);
}

int runCommand(const std::vector<std::string>& args) {
  Allowed allowed{true, true, false};
  allowed.timeout = true;
  const Arguments parsed = readArguments(args, allowed);
  if (parsed.positional.size() != 1) throw HostError("expected one scenario file: run FILE.scn");
  panelhost::RunOptions options;
  options.moduleFolder = panelhost::executableFolder();
  options.moduleOverride = parsed.module;
  options.log = parsed.log;
  options.renderer = panelhost::builtInRenderer(parsed.rendering);
  options.conditions = parsed.conditions;
  options.window = parsed.window;
  options.timeoutSeconds = parsed.timeoutSeconds;
  options.showProgress = isatty(STDERR_FILENO) != 0;
  return panelhost::runScenarioFile(parsed.positional[0], options, std::cout);
}

// The panel as the simulator shows it once it has loaded the module and initialised the gauges.
int renderCommand(const std::vector<std::string>& args) {
  Allowed allowed{false, true, true};
  allowed.timeout = true;
  const Arguments parsed = readArguments(args, allowed);
  if (parsed.positional.size() != 1) throw HostError("expected one picture file: render OUT.png");
  panelhost::RunClock clock(parsed.timeoutSeconds, false);
  panelhost::SessionOptions options;
  options.moduleFolder = panelhost::executableFolder();
  options.moduleOverride = parsed.module;
  options.print = [](const std::string& line) { std::cout << line << "\n"; };
  options.conditions = parsed.conditions;
  options.pace = [&clock](std::int64_t nowMs) { clock.reached(nowMs); };
  try {
    panelhost::PanelSession session(chosenPanel(parsed), options);
    session.start();
    clock.check(session.nowMs());
    panelhost::PanelView view = session.view();
    session.beforeDrawing();
    panelhost::builtInRenderer(parsed.rendering, [&] { clock.check(session.nowMs()); })(
        view, parsed.positional[0]);
    session.afterDrawing();
    session.unload();
  } catch (const HostError& error) {
    std::cout << error.what() << std::endl;
    return kExitUsage;
  }
  return 0;
}

int infoCommand(const std::vector<std::string>& args) {
  Allowed allowed;
  allowed.offsets = true;
  allowed.rendering = true;  // --resources: where the bitmaps that give the sizes are
  allowed.panel = true;      // whose placements are shown, and whose module is described
  const Arguments parsed = readArguments(args, allowed);
  if (!parsed.positional.empty()) {
    throw HostError("expected no file: info [--module PATH] [--offsets]");
  }
  panelhost::HostServices host;
  host.setHeldAnswers(parsed.conditions.answers);
  try {
    std::optional<panelhost::PanelLayout> panel;
    if (parsed.panel || parsed.window) panel = chosenPanel(parsed);
    if (panel) {
      for (const std::string& note : panel->notes) std::cout << note << "\n";
    }
    const std::string path = parsed.module.value_or(panelhost::moduleFileIn(
        panelhost::executableFolder(),
        parsed.panel ? panel->placements.front().moduleName : std::string("radios")));
    const panelhost::LoadedModule module(panelhost::openModuleImage(path, host, parsed.conditions),
                                         host);
    panelhost::describeModule(module, std::cout, parsed.offsets,
                              panelhost::builtInSizer(path, parsed.rendering),
                              parsed.panel ? &*panel : nullptr);
  } catch (const HostError& error) {
    std::cout << error.what() << std::endl;
    return kExitUsage;
  }
  return 0;
}

struct CliCommand {
  const char* name;
  int (*run)(const std::vector<std::string>& args);
};

constexpr CliCommand kCommands[] = {
    {"run", runCommand},
    {"render", renderCommand},
    {"info", infoCommand},
    {"view", panelhost::viewCommand},
};

}  // namespace

int main(int argc, char** argv) {
  // A write past `ulimit -f` is then an error that names the file, not a signal that ends the
  // program without a word.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << kUsage;
    return kExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::cout << kUsage;
    return 0;
  }
  for (const CliCommand& command : kCommands) {
    if (args[0] != command.name) continue;
    try {
      return command.run({args.begin() + 1, args.end()});
    } catch (const HostError& error) {
      std::cerr << "panelhost " << command.name << ": " << error.what() << "\n" << kUsage;
      return kExitUsage;
    } catch (const std::bad_alloc&) {
      std::cerr << "panelhost " << command.name << ": " << panelhost::kOutOfMemory << std::endl;
      return kExitUsage;
    }
  }
  std::cerr << "panelhost: unknown command " << panelhost::quotedText(args[0]) << "\n" << kUsage;
  return kExitUsage;
}
