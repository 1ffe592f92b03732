// panelhost: the simulator's panel system as a program.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/renderer_wiring.h"
#include "loader/loaded_module.h"
#include "loader/module_library.h"
#include "panel/gauge_info.h"
#include "scenario/scenario_runner.h"
#include "services/host_services.h"
#include "support/host_error.h"

namespace {

using panelhost::HostError;

constexpr const char* kUsage =
    "usage:\n"
    "  panelhost run FILE.scn [--module PATH] [--log]   run a scenario script\n"
    "  panelhost info [--module PATH]                   describe the module's gauges\n"
    "  panelhost --help                                 this text\n"
    "\n"
    "The module is MODULE.so beside panelhost (radios.so), or PATH with --module.\n"
    "run exits 0 when every check held, 1 when a check failed, 2 on bad input.\n";

constexpr int kExitUsage = 2;

struct Arguments {
  std::vector<std::string> positional;
  std::optional<std::string> module;
  bool log = false;
};

// Reads the options common to the commands; throws HostError on one it does not know.
Arguments readArguments(const std::vector<std::string>& args, bool logAllowed) {
  Arguments parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--module") {
      if (i + 1 >= args.size()) throw HostError("expected a path after --module");
      parsed.module = args[++i];
    } else if (args[i] == "--log" && logAllowed) {
      parsed.log = true;
    } else if (args[i].size() > 1 && args[i][0] == '-') {
      throw HostError("unknown option " + args[i]);
    } else {
      parsed.positional.push_back(args[i]);
    }
  }
  return parsed;
}

int runCommand(const std::vector<std::string>& args) {
  const Arguments parsed = readArguments(args, true);
  if (parsed.positional.size() != 1) throw HostError("expected one scenario file: run FILE.scn");
  panelhost::RunOptions options;
  options.moduleFolder = panelhost::executableFolder();
  options.moduleOverride = parsed.module;
  options.log = parsed.log;
  options.renderer = panelhost::builtInRenderer();
  return panelhost::runScenarioFile(parsed.positional[0], options, std::cout);
}

int infoCommand(const std::vector<std::string>& args) {
  const Arguments parsed = readArguments(args, false);
  if (!parsed.positional.empty()) throw HostError("expected no file: info [--module PATH]");
  const std::string path = parsed.module.value_or(panelhost::executableFolder() + "/" +
                                                  panelhost::moduleFileName("radios"));
  panelhost::HostServices host;
  try {
    const panelhost::LoadedModule module(path, host.panels());
    panelhost::describeModule(module, std::cout);
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
    {"info", infoCommand},
};

}  // namespace

int main(int argc, char** argv) {
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
    }
  }
  std::cerr << "panelhost: unknown command \"" << args[0] << "\"\n" << kUsage;
  return kExitUsage;
}
