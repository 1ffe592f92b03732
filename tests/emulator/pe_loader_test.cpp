#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "emulator/emulated_module.h"
#include "recording_windows.h"
#include "tiny_dll.h"

using panelhost::HostError;
using panelhost::ModuleFault;
using ::testing::HasSubstr;

namespace {

// mov eax, [esp+4]; add eax, [esp+8]; ret 8
const std::vector<std::uint8_t> kAdd = {0x8B, 0x44, 0x24, 0x04, 0x03, 0x44,
                                        0x24, 0x08, 0xC2, 0x08, 0x00};

tiny::Dll validDll() {
  tiny::Dll dll;
  dll.code = kAdd;
  // At 0x10: mov eax, offset data; ret (an absolute address the relocations must move).
  dll.code.resize(0x10, 0xCC);
  dll.code.insert(dll.code.end(), {0xB8, 0x00, 0x20, 0x00, 0x20, 0xC3});
  dll.relocated = {tiny::kText + 0x11};
  dll.exports = {{"Add", tiny::kText}, {"DataAddress", tiny::kText + 0x10}};
  dll.imports = {{"KERNEL32.dll", "Sleep"}, {"msvcrt.dll", "malloc"}, {"USER32.dll", "SetTimer"}};
  return dll;
}

TEST(PeLoader, LoadsAValidDllAtItsBaseOrElsewhere) {
  emulator_test::RecordingWindows windows;
  for (const std::uint32_t base : {tiny::kBase, 0x30000000u}) {
    SCOPED_TRACE(base);
    panelhost::EmulatorOptions options;
    options.imageBase = base;
    const auto module =
        panelhost::openEmulatedModule(validDll().bytes(), "tiny.gau", windows, options);
    EXPECT_EQ(module->pointerSize(), 4);
    ASSERT_EQ(module->exportAddress("Add"), base + tiny::kText);
    EXPECT_EQ(module->exportAddress("Missing"), std::nullopt);
    EXPECT_EQ(module->nameOf(base + tiny::kText), "Add");
    EXPECT_EQ(module->call(base + tiny::kText, {2, 40}, "Add"), 42u);
    EXPECT_EQ(module->call(base + tiny::kText + 0x10, {}, "DataAddress"), base + tiny::kData);
  }
}

TEST(PeLoader, HandsABitmapResourceBackAsABmpFile) {
  emulator_test::RecordingWindows windows;
  const auto module = panelhost::openEmulatedModule(validDll().bytes(), "tiny.gau", windows);
  const auto bmp = module->bitmapResource(7);
  ASSERT_TRUE(bmp.has_value());
  ASSERT_EQ(bmp->size(), 14u + 64u);
  EXPECT_EQ((*bmp)[0], 'B');
  EXPECT_EQ((*bmp)[1], 'M');
  EXPECT_EQ((*bmp)[2], 78);                // file size
  EXPECT_EQ((*bmp)[10], 14 + 40 + 4 * 4);  // pixels after the info header and 4 colours
  EXPECT_EQ((*bmp)[14], 40);               // the info header follows as the resource has it
  EXPECT_EQ(module->bitmapResource(8), std::nullopt);
}

struct Malformed {
  const char* name;
  std::function<void(tiny::Dll&)> change;
  std::function<void(std::vector<std::uint8_t>&)> breakFile;
  const char* message;
};

using tiny::put16;
using tiny::put32;
const auto keep = [](std::vector<std::uint8_t>&) {};
const auto same = [](tiny::Dll&) {};
const std::uint32_t kTextHeader = tiny::kSectionTable;
const std::uint32_t kDataHeader = tiny::kSectionTable + 40;
const std::uint32_t kReloc = tiny::fileOffset(tiny::kRelocations);
const std::uint32_t kRsrc = tiny::fileOffset(tiny::kResources);

const Malformed kMalformed[] = {
    {"a text file", same,
     [](auto& f) {
       f.assign({'h', 'e', 'l', 'l', 'o'});
     },
     "not a Windows DLL: it does not start with \"MZ\""},
    {"an empty file", same, [](auto& f) { f.clear(); }, "does not start with \"MZ\""},
    {"the PE header offset past the end", same, [](auto& f) { put32(f, 0x3C, 0x7FFFFFF0); },
     "no \"PE\" signature at 0x7FFFFFF0"},
    {"a PE32+ image", same, [](auto& f) { put16(f, tiny::kOptionalHeader, 0x20B); },
     "a 64-bit (PE32+) image"},
    {"built for x86-64", same, [](auto& f) { put16(f, tiny::kFileHeader, 0x8664); },
     "built for machine 0x8664 (x86-64), not for i386"},
    {"a program", same, [](auto& f) { put16(f, tiny::kFileHeader + 18, 0x0102); },
     "a program, not a DLL"},
    {"a huge image size", same, [](auto& f) { put32(f, tiny::kOptionalHeader + 56, 0x7FFF0000); },
     "is not a place Windows can put a DLL"},
    {"too many sections", same, [](auto& f) { put16(f, tiny::kFileHeader + 2, 1000); },
     "1000 sections"},
    {"a file cut inside its sections", same, [](auto& f) { f.resize(tiny::kHeadersSize + 0x100); },
     "section 1 \".text\" lies past the end of the file"},
    {"a section's data past the file's end", same,
     [](auto& f) { put32(f, kDataHeader + 20, 0x100000); },
     "section 2 \".data\" lies past the end of the file"},
    {"overlapping sections", same, [](auto& f) { put32(f, kDataHeader + 12, tiny::kText); },
     "section 2 \".data\" at 0x1000 (0x1000 bytes) does not follow the one before it"},
    {"a section beyond the image", same, [](auto& f) { put32(f, kTextHeader + 8, 0x100000); },
     "does not follow the one before it inside the image"},
    {"an entry point outside the image", same,
     [](auto& f) { put32(f, tiny::kOptionalHeader + 16, 0x100000); },
     "the entry point 0x100000 lies outside the image"},
    {"a relocation block too short", same, [](auto& f) { put32(f, kReloc + 4, 4); },
     "the relocation block at 0x6000 claims 0x4 bytes"},
    {"a relocation block longer than its directory", same,
     [](auto& f) { put32(f, kReloc + 4, 0x1000); }, "which do not fit the relocation directory"},
    {"a 64-bit relocation", same, [](auto& f) { put16(f, kReloc + 8, 0xA011); },
     "relocation of type 10 at 0x1011"},
    {"a relocation outside the image", same, [](auto& f) { put32(f, kReloc, 0x7000); },
     "a relocation at 0x7011 lies outside the image"},
    {"an import panelhost does not provide",
     [](tiny::Dll& d) {
       d.imports.push_back({"KERNEL32.dll", "CreateFileA"});
     },
     keep, "imports what panelhost does not provide: KERNEL32.dll!CreateFileA"},
    {"an import by ordinal", same,
     [](auto& f) { put32(f, tiny::fileOffset(tiny::kImports) + 0x50, 0x80000005); },
     "KERNEL32.dll!#5"},
    {"an import name outside the image", same,
     [](auto& f) { put32(f, tiny::fileOffset(tiny::kImports) + 0x50, 0x00FFFFF0); },
     "an imported function's name from KERNEL32.dll"},
    {"a resource directory counting more entries than it has", same,
     [](auto& f) { put16(f, kRsrc + 14, 0xFFFF); },
     "the resource directory at 0x0 runs past the end"},
    {"resource data outside the image", same, [](auto& f) { put32(f, kRsrc + 0x48, 0x00FFFF00); },
     "the data of resource 7"},
    {"a resource directory that loops", same, [](auto& f) { put32(f, kRsrc + 0x44, 0x80000000); },
     "an entry that opens a further directory"},
    {"an export naming an entry that does not exist", same,
     [](auto& f) { put16(f, tiny::fileOffset(tiny::kExports) + 40 + 16, 9); },
     "export \"Add\" names entry 9 of 2"},
    {"a DLL entry point that refuses to attach",
     [](tiny::Dll& d) {
       d.code = {0x31, 0xC0, 0xC2, 0x0C, 0x00};  // xor eax, eax; ret 12
       d.entryRva = tiny::kText;
     },
     keep, "its DLL entry point refused to attach (it returned FALSE)"},
    {"a DLL entry point that faults",
     [](tiny::Dll& d) {
       d.code = {0x0F, 0x0B};  // ud2
       d.entryRva = tiny::kText;
     },
     keep,
     "the DLL entry point of tiny.gau (process attach): ran an illegal instruction at 0x20001000"},
};

TEST(PeLoader, RefusesMalformedFilesWithAClearMessage) {
  emulator_test::RecordingWindows windows;
  for (const Malformed& test : kMalformed) {
    SCOPED_TRACE(test.name);
    tiny::Dll dll = validDll();
    test.change(dll);
    std::vector<std::uint8_t> file = dll.bytes();
    test.breakFile(file);
    try {
      panelhost::openEmulatedModule(file, "dir/tiny.gau", windows);
      ADD_FAILURE() << "loaded";
    } catch (const HostError& error) {
      EXPECT_THAT(error.what(), HasSubstr(test.message));
      EXPECT_THAT(error.what(), HasSubstr("tiny.gau"));
    }
  }
}

}  // namespace
