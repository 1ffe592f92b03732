#include <exception>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>

#include "art/art_output.h"
#include "art/gauge_art.h"

namespace {

const char* const kUsage =
    "usage: radios-art RESOURCE_DIR [--previews DIR]\n"
    "  Draws the radio gauge bitmaps into RESOURCE_DIR/bitmaps as <resource id>.bmp, and the\n"
    "  resource script that numbers them as RESOURCE_DIR/bitmaps.rc.\n"
    "  --previews DIR  also write <resource id>.png previews into DIR\n"
    "  --help          show this text\n";

struct Options {
  std::string resourceDir;
  std::optional<std::string> previewDir;
};

// Returns nothing after printing a message when the arguments are wrong or help was asked for;
// exitCode says which.
std::optional<Options> parse(int argc, char** argv, int& exitCode) {
  Options options;
  bool haveDir = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      exitCode = 0;
      return std::nullopt;
    }
    if (arg == "--previews") {
      if (i + 1 >= argc) {
        std::cerr << "radios-art: --previews needs a directory\n" << kUsage;
        exitCode = 2;
        return std::nullopt;
      }
      options.previewDir = argv[++i];
    } else if (!arg.empty() && arg[0] == '-') {
      std::cerr << "radios-art: unknown option '" << arg << "'\n" << kUsage;
      exitCode = 2;
      return std::nullopt;
    } else if (haveDir) {
      std::cerr << "radios-art: unexpected argument '" << arg << "'\n" << kUsage;
      exitCode = 2;
      return std::nullopt;
    } else {
      options.resourceDir = arg;
      haveDir = true;
    }
  }
  if (!haveDir) {
    std::cerr << "radios-art: missing RESOURCE_DIR\n" << kUsage;
    exitCode = 2;
    return std::nullopt;
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  int exitCode = 0;
  const std::optional<Options> options = parse(argc, argv, exitCode);
  if (!options) return exitCode;
  try {
    art::ArtOutput out(options->resourceDir, options->previewDir);
    drawComNavArt(out);
    drawTransponderArt(out);
    drawAdfArt(out);
    out.saveResourceScript({std::begin(bitmap::kAll), std::end(bitmap::kAll)});
  } catch (const std::exception& e) {
    std::cerr << "radios-art: error: " << e.what() << "\n";
    return 2;
  }
  return 0;
}
