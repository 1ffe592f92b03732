#include "loader/module_kind.h"

#include <array>
#include <fstream>

#include "support/bounded_file.h"
#include "support/host_error.h"
#include "support/shown_text.h"

namespace panelhost {

namespace {

constexpr std::size_t kHeaderBytes = 18;  // as far as an ELF header's type field
constexpr unsigned char kElfMagic[] = {0x7F, 'E', 'L', 'F'};
constexpr int kElfTypeAt = 16;

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct Content {
  bool elf = false;
  bool sharedObject = false;
  bool windows = false;
  std::string described;  // "an ELF shared object", ...
};

Content contentOf(const std::string& header) {
  Content content;
  if (header.empty()) {
    content.described = "an empty file";
  } else if (header.size() >= 4 &&
             header.compare(0, 4, reinterpret_cast<const char*>(kElfMagic), 4) == 0) {
    content.elf = true;
    const int type = header.size() >= kHeaderBytes
                         ? static_cast<unsigned char>(header[kElfTypeAt]) |
                               static_cast<unsigned char>(header[kElfTypeAt + 1]) << 8
                         : 0;
    content.sharedObject = type == 3;
    content.described = type == 1   ? "an ELF object file"
                        : type == 2 ? "an ELF executable"
                        : type == 3 ? "an ELF shared object"
                                    : "an ELF file";
  } else if (header.compare(0, 2, "MZ") == 0) {
    content.windows = true;
    content.described = "a Windows DLL";
  } else {
    content.described = "neither an ELF shared object nor a Windows DLL: it starts with " +
                        quotedText(header.substr(0, 8));
  }
  return content;
}

[[noreturn]] void refuseModule(const std::string& path, const std::string& reason) {
  throw HostError("the module " + shownText(path, kShownPathBytes) + " could not be loaded (" +
                  reason + ")");
}

}  // namespace

ModuleKind moduleKindOf(const std::string& path) {
  const auto refuse = [&path](const std::string& reason) { refuseModule(path, reason); };
  // A FIFO is no module: the loader needs a file it can map.
  const std::string notReadable = whyNotReadable(path, false);
  if (!notReadable.empty()) refuse(notReadable);
  std::array<char, kHeaderBytes> bytes{};
  std::ifstream in(path, std::ios::binary);
  if (!in) refuse("it cannot be opened");
  in.read(bytes.data(), bytes.size());
  const Content content =
      contentOf(std::string(bytes.data(), static_cast<std::size_t>(in.gcount())));

  if (endsWith(path, ".gau")) {
    if (!content.windows) {
      refuse("it is " + content.described +
             ", not a Windows DLL; a .gau runs only in panelhost's x86 emulator, never natively");
    }
    return ModuleKind::Emulated;
  }
  if (endsWith(path, ".so")) {
    if (content.windows) {
      refuse(
          "it is a Windows DLL, not an ELF shared object; named .gau, it runs in panelhost's x86 "
          "emulator");
    }
    if (!content.sharedObject) {
      refuse("it is " + content.described + (content.elf ? ", not an ELF shared object" : ""));
    }
    return ModuleKind::Native;
  }
  if (content.windows) return ModuleKind::Emulated;
  refuseModule(path, "it is " + content.described +
                         "; panelhost loads native code only from an ELF shared object named .so, "
                         "and runs a Windows DLL in its x86 emulator");
}

}  // namespace panelhost
