// A PE32 i386 DLL as the Windows loader sees it, read from the file's bytes and checked whole
// before anything of it runs: headers, sections laid out at their addresses, and the directories
// the loader and panelhost use. Addresses are RVAs (offsets from the image base) throughout, so
// the same image can be placed at its preferred base or relocated.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace panelhost {

enum PageAccess : std::uint8_t { kPageRead = 1, kPageWrite = 2, kPageExecute = 4 };

struct PeSection {
  std::string name;
  std::uint32_t rva = 0;
  std::uint32_t extent = 0;  // bytes the section takes in memory
  std::uint32_t characteristics = 0;
};

struct PeImport {
  std::string dll;            // as the file names it ("KERNEL32.dll")
  std::string function;       // "#12" for an import by ordinal
  std::uint32_t slotRva = 0;  // where the loader writes the function's address
};

// The image's thread-local storage: a template that every thread gets a copy of, the variable
// that receives the TLS index, and the callbacks run before the entry point.
struct PeTls {
  std::uint32_t templateRva = 0;
  std::uint32_t templateSize = 0;
  std::uint32_t zeroFill = 0;
  std::uint32_t indexRva = 0;
  std::vector<std::uint32_t> callbackRvas;
};

struct PeBlob {
  std::uint32_t rva = 0;
  std::uint32_t size = 0;
};

struct PeImage {
  std::uint32_t preferredBase = 0;
  std::uint32_t entryRva = 0;  // 0: no entry point
  bool relocatable = false;
  std::vector<PeSection> sections;
  std::vector<PeImport> imports;
  std::map<std::string, std::uint32_t> exports;  // name -> RVA
  std::vector<std::uint32_t> relocations;        // RVAs of 32-bit addresses to adjust
  std::optional<PeTls> tls;
  std::map<std::uint32_t, PeBlob> bitmaps;             // RT_BITMAP by numeric id
  std::map<std::uint32_t, std::string> functionNames;  // RVA -> symbol name as the file has it
  // The image as mapped at its preferred base: headers, then each section at its RVA, zero-filled
  // past its raw data. memory.size() is SizeOfImage.
  std::vector<std::uint8_t> memory;
  // Per 4 KiB page of `memory`: PageAccess bits from its section (headers read-only).
  std::vector<std::uint8_t> pageAccess;
};

// The largest image accepted: far above any gauge module, and a bound on what a hostile header
// can make the loader allocate.
constexpr std::uint32_t kMaxImageSize = 32u << 20;

// Throws HostError naming `name` and what is wrong with the file.
PeImage parsePeImage(const std::vector<std::uint8_t>& file, const std::string& name);

// Makes the image's memory fit `base` instead of its preferred one: adds the difference to every
// relocated address. Once only. Throws
// HostError when the image cannot move (its relocations were stripped).
void relocateImage(PeImage& image, std::uint32_t base, const std::string& name);

// Readers of the image's directories, each given the image's bytes as mapped; they throw HostError.
struct PeDirectory {
  std::uint32_t rva = 0;
  std::uint32_t size = 0;
};
void readImports(PeImage& image, PeDirectory directory, const std::string& name);
void readExports(PeImage& image, PeDirectory directory, const std::string& name);
void readRelocations(PeImage& image, PeDirectory directory, const std::string& name);
void readTls(PeImage& image, PeDirectory directory, const std::string& name);
void readResources(PeImage& image, PeDirectory directory, const std::string& name);
// Function names from the file's COFF symbol table, when it still has one; a table that does not
// fit the file is ignored, as Windows ignores it.
void readSymbolNames(PeImage& image, const std::vector<std::uint8_t>& file,
                     std::uint32_t tableOffset, std::uint32_t symbolCount);

}  // namespace panelhost
