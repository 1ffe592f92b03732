// panelhost: the simulator's panel system as a program.
#include <unistd.h>

#include <algorithm>
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
#include "panel/gauge_tables.h"
#include "panel/panel_file.h"
#include "panel/panel_session.h"
#include "panel/run_clock.h"
#include "scenario/scenario_runner.h"
#include "services/host_services.h"
#include "support/host_error.h"
#include "support/number_text.h"
#include "support/shown_text.h"
#include "view/view_command.h"

namespace {

using panelhost::HostError;

constexpr int kExitUsage = 2;
// Beyond these the viewer's window is either a few pixels or larger than any screen.
constexpr double kSmallestScale = 0.25;
constexpr double kLargestScale = 4.0;

struct Arguments {
  std::vector<std::string> positional;
  std::optional<std::string> module;
  std::optional<std::string> panel;
  std::optional<std::string> window;
  std::optional<double> timeoutSeconds;
  std::optional<std::string> record;
  double scale = 1.0;
  bool log = false;
  bool offsets = false;
  bool markdown = false;
  panelhost::RenderSettings rendering;
  panelhost::HostConditions conditions;
};

struct Allowed {
  bool log = false;
  bool rendering = false;
  bool panel = false;
  bool offsets = false;
  bool timeout = false;
  bool markdown = false;
  bool viewing = false;  // --record, --scale
};

// Reads the options common to the commands; throws HostError on one it does not know.
Arguments readArguments(const std::vector<std::string>& args, Allowed allowed) {
  Arguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    auto value = [&](const std::string& what) {
      if (i + 1 >= args.size()) throw HostError("expected " + what + " after " + args[i]);
      return args[++i];
    };
    if (args[i] == "--module") {
      parsed.module = value("a path");
    } else if (args[i] == "--fpu") {
      parsed.conditions.fpuBits = panelhost::parseFpuBits(value(panelhost::fpuBitsChoices()));
    } else if (args[i] == "--answers") {
      parsed.conditions.answers =
          panelhost::parseHeldAnswers(value(panelhost::heldAnswersChoices()));
    } else if (args[i] == "--offsets" && allowed.offsets) {
      parsed.offsets = true;
    } else if (args[i] == "--markdown" && allowed.markdown) {
      parsed.markdown = true;
    } else if (args[i] == "--log" && allowed.log) {
      parsed.log = true;
    } else if (args[i] == "--panel" && allowed.panel) {
      parsed.panel = value("a panel file");
    } else if (args[i] == "--window") {
      parsed.window = value("a window of the panel file");
    } else if (args[i] == "--timeout" && allowed.timeout) {
      parsed.timeoutSeconds = panelhost::parseTimeoutSeconds(value("seconds"));
    } else if (args[i] == "--record" && allowed.viewing) {
      parsed.record = value("a scenario file to write");
    } else if (args[i] == "--scale" && allowed.viewing) {
      const std::string text = value("a scale");
      const std::optional<double> scale = panelhost::parseNumber(text);
      if (!scale || *scale < kSmallestScale || *scale > kLargestScale) {
        throw HostError("--scale " + panelhost::shownText(text) +
                        ": expected a number from 0.25 to 4");
      }
      parsed.scale = *scale;
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
  allowed.markdown = true;
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
    const panelhost::GaugeSizer sizer = panelhost::builtInSizer(path, parsed.rendering);
    if (parsed.markdown) {
      panelhost::writeGaugeTables(module, std::cout, sizer);
    } else {
      panelhost::describeModule(module, std::cout, parsed.offsets, sizer,
                                parsed.panel ? &*panel : nullptr);
    }
  } catch (const HostError& error) {
    std::cout << error.what() << std::endl;
    return kExitUsage;
  }
  return 0;
}

int viewCommand(const std::vector<std::string>& args) {
  Allowed allowed;
  allowed.rendering = true;
  allowed.panel = true;
  allowed.viewing = true;
  const Arguments parsed = readArguments(args, allowed);
  if (!parsed.positional.empty()) {
    throw HostError("expected no file, got " + panelhost::shownText(parsed.positional[0]));
  }
  panelhost::ViewRequest request;
  request.panel = parsed.panel;
  request.window = parsed.window;
  request.module = parsed.module;
  request.record = parsed.record;
  request.resourcesFolder = parsed.rendering.resourcesFolder;
  request.panelLights = parsed.rendering.panelLights;
  request.scale = parsed.scale;
  request.conditions = parsed.conditions;
  return panelhost::viewCommand(request);
}

// A command with what `panelhost help NAME` says of it. Every command takes --module; those that
// draw take the rendering options too.
struct CliCommand {
  const char* name;
  const char* arguments;    // after `panelhost NAME` in the usage line
  const char* summary;      // one line, for the overview
  const char* description;  // what it does
  const char* options;      // its own options, before --module
  bool rendering;
  const char* exitStatus;
  int (*run)(const std::vector<std::string>& args);
};

constexpr const char* kModuleOption =
    "  --module PATH        the module to load, for every module a panel names; without it\n"
    "                       MODULE.so beside panelhost, else MODULE.gau there (radios for info);\n"
    "                       a 32-bit Windows .gau runs in panelhost's x86 emulator\n";
// Every command takes it.
constexpr const char* kWindowOption =
    "  --window NAME        the window of the panel file (Window01, or its title in [Window\n"
    "                       Titles]); by default the first that places gauges\n";
constexpr const char* kHostOptions =
    "  --fpu 24|53|64       the x87 precision every call into an emulated .gau starts with\n"
    "                       (53 by default; refused for a native module, which uses SSE)\n"
    "  --answers exact|float|below\n"
    "                       how the simulation holds what the calculator hands back: exact\n"
    "                       doubles (default), 32-bit floats, or one step below\n";
constexpr const char* kRenderingOptions =
    "  --lights on|off      night panel lighting in the pictures (off by default)\n"
    "  --resources DIR      the folder of MODULE.rc and its bitmaps (default: the module's)\n";

constexpr CliCommand kCommands[] = {
    {"run",
     "FILE.scn [--module PATH] [--log] [--timeout S] [--window NAME] [HOST]\n"
     "              [--lights on|off] [--resources DIR]",
     "run a scenario script",
     "Runs the scenario script FILE.scn (docs/panelhost.md, docs/scenarios.md). Its `panel` file\n"
     "is read relative to the script, the pictures of its `render` commands are written\n"
     "relative to the working folder.\n",
     "  --log                print every key event, timer firing and mouse dispatch with its\n"
     "                       virtual time\n"
     "  --timeout S          end with exit status 2 after S seconds, saying how far virtual\n"
     "                       time got; a longer run shows its progress on a terminal\n",
     true,
     "0 every check held, 1 a check failed, 2 the script, a panel file or the\n"
     "module could not be read or used.\n",
     runCommand},
    {"render",
     "[--panel FILE] [--window NAME] [--module PATH] [--timeout S] [HOST]\n"
     "                 [--lights on|off] [--resources DIR] OUT.png",
     "draw the panel as it stands right after start",
     "Loads the module, places the panel's gauges, initialises them and draws the panel into\n"
     "OUT.png, relative to the working folder.\n",
     "  --panel FILE         the panel file (default: the built-in radio stack, the same as\n"
     "                       panels/radio-stack.cfg)\n"
     "  --timeout S          end with exit status 2 after S seconds, writing nothing\n",
     true, "0 the picture was written, 2 otherwise.\n", renderCommand},
    {"info",
     "[--module PATH] [--offsets | --markdown] [--panel FILE] [--window NAME]\n"
     "               [--resources DIR] [HOST]",
     "describe the module's gauges as panelhost reads their records",
     "Lists each gauge of the module: its header, its size in pixels and the panel line that\n"
     "places it, its elements and its mouse table.\n",
     "  --offsets            every field of every record at its offset, to compare with the\n"
     "                       layout the simulator reads\n"
     "  --markdown           the tables of docs/scenarios.md instead: each gauge's controls with\n"
     "                       a point inside each, and its elements\n"
     "  --panel FILE         the panel file whose window places the gauges shown, and whose\n"
     "                       first gauge names the module (unless --module)\n"
     "  --resources DIR      the folder of MODULE.rc and its bitmaps, which give the sizes\n",
     false, "0, or 2 when the module could not be read.\n", infoCommand},
    {"view",
     "[--panel FILE] [--window NAME] [--module PATH] [--scale S] [--record FILE.scn]\n"
     "               [HOST] [--lights on|off] [--resources DIR]",
     "the panel in a window, in real time",
     "Opens the panel in a window, driven by the real clock. The mouse works the controls (the\n"
     "wheel turns a knob, holding the button repeats); L switches the panel lights, S writes a\n"
     "screenshot into the working folder, Q or Escape quits.\n",
     "  --panel FILE         the panel file (default: the built-in radio stack)\n"
     "  --scale S            draw the panel S times its size, 0.25 to 4\n"
     "  --record FILE.scn    write what you did as a scenario that `panelhost run` plays back\n",
     true, "0, 1 when a module timer outlived the unload, 2 on bad input.\n", viewCommand},
};

std::string usageLine(const CliCommand& command) {
  return std::string("panelhost ") + command.name + " " + command.arguments;
}

std::string overview() {
  std::string text = "usage:\n";
  for (const CliCommand& command : kCommands) {
    text += "  " + usageLine(command) + "\n      " + command.summary + "\n";
  }
  return text +
         "  panelhost help COMMAND, panelhost COMMAND --help\n"
         "      what a command does, its options and its exit status\n"
         "  panelhost --version\n"
         "HOST: --fpu 24|53|64 --answers exact|float|below, the host's conditions (see help run)\n";
}

std::string commandHelp(const CliCommand& command) {
  return "usage: " + usageLine(command) + "\n\n" + command.description + "\n" + command.options +
         kModuleOption + kWindowOption + kHostOptions +
         (command.rendering ? kRenderingOptions : "") + "\nExit status: " + command.exitStatus;
}

const CliCommand* commandNamed(const std::string& name) {
  for (const CliCommand& command : kCommands) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

bool asksForHelp(const std::string& arg) { return arg == "--help" || arg == "-h"; }

}  // namespace

int main(int argc, char** argv) {
  // A write past `ulimit -f` is then an error that names the file, not a signal that ends the
  // program without a word.
  std::signal(SIGXFSZ, SIG_IGN);
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    std::cerr << overview();
    return kExitUsage;
  }
  if (args[0] == "--version") {
    std::cout << "panelhost " << PANELHOST_VERSION << "\n";
    return 0;
  }
  if (asksForHelp(args[0]) || args[0] == "help") {
    if (args.size() < 2 || asksForHelp(args[0])) {
      std::cout << overview();
      return 0;
    }
    if (const CliCommand* command = commandNamed(args[1])) {
      std::cout << commandHelp(*command);
      return 0;
    }
    std::cerr << "panelhost help: unknown command " << panelhost::quotedText(args[1]) << "\n"
              << overview();
    return kExitUsage;
  }
  const CliCommand* command = commandNamed(args[0]);
  if (command == nullptr) {
    std::cerr << "panelhost: unknown command " << panelhost::quotedText(args[0]) << "\n"
              << overview();
    return kExitUsage;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (std::any_of(rest.begin(), rest.end(), asksForHelp)) {
    std::cout << commandHelp(*command);
    return 0;
  }
  try {
    return command->run(rest);
  } catch (const HostError& error) {
    std::cerr << "panelhost " << command->name << ": " << error.what() << "\n"
              << "usage: " << usageLine(*command) << "\n"
              << "(panelhost help " << command->name << " says more)\n";
    return kExitUsage;
  } catch (const std::bad_alloc&) {
    std::cerr << "panelhost " << command->name << ": " << panelhost::kOutOfMemory << std::endl;
    return kExitUsage;
  }
}
