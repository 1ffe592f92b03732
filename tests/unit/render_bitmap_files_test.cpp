// Reading the module's bitmaps: the BMP forms the resources use, the resource script that numbers
// them, and the errors a broken resource gives.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "render/bitmap_library.h"
#include "render/bmp_reader.h"
#include "render/render_error.h"
#include "render/resource_script.h"
#include "render_test_support.h"
#include "resources/bitmaps.h"

using panelhost::BitmapLibrary;
using panelhost::decodeBmp;
using panelhost::Image;
using panelhost::opaque;
using panelhost::RenderError;
using panelhost::ResourceScript;
using rendertest::BmpOptions;
using rendertest::encodeBmp;
using rendertest::ScratchDir;
using ::testing::HasSubstr;

namespace {

std::string errorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RenderError& e) {
    return e.what();
  }
  return "(no error)";
}

// Widths 3 and 5 leave padding at the end of each row in both depths.
TEST(BmpReader, ReadsEveryStoredFormPixelForPixel) {
  const struct {
    int bits;
    bool topDown;
    int width;
  } forms[] = {{8, false, 3}, {8, true, 5}, {24, false, 3}, {24, true, 5}};
  for (const auto& form : forms) {
    Image original(form.width, 4);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < form.width; ++x) {
        original.set(
            x, y, opaque(static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 60), 7));
      }
    }
    const Image read = decodeBmp(encodeBmp(original, BmpOptions{form.bits, form.topDown}), "t.bmp");
    EXPECT_EQ(read.pixels(), original.pixels())
        << form.bits << " bits, " << (form.topDown ? "top-down" : "bottom-up");
  }
}

TEST(BmpReader, RejectsWhatTheResourcesMustNotBeWithTheFileAndWhatWasExpected) {
  const auto good = encodeBmp(rendertest::patterned(4, 4), BmpOptions{8, false});
  auto with = [&](auto change) {
    auto bytes = good;
    change(bytes);
    return bytes;
  };
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* expected;
  } cases[] = {
      {"empty", {}, "expected the signature \"BM\""},
      {"cut in the header", std::vector<std::uint8_t>(good.begin(), good.begin() + 20),
       "truncated"},
      {"cut in the pixels", std::vector<std::uint8_t>(good.begin(), good.end() - 3),
       "truncated: expected the pixel rows"},
      {"run-length compressed", with([](auto& b) { rendertest::putU32(b, 30, 1); }),
       "compressed bitmap (compression 1); expected an uncompressed one"},
      {"32 bits", with([](auto& b) { rendertest::putU16(b, 28, 32); }),
       "32 bits per pixel; expected 8 (with a colour table) or 24"},
      {"4 bits", with([](auto& b) { rendertest::putU16(b, 28, 4); }), "4 bits per pixel"},
      {"core header", with([](auto& b) { rendertest::putU32(b, 14, 12); }),
       "expected a BITMAPINFOHEADER"},
      {"zero width", with([](auto& b) { rendertest::putU32(b, 18, 0); }), "size 0 x 4"},
      {"huge", with([](auto& b) { rendertest::putU32(b, 18, 0x7FFFFFFF); }), "expected a width"},
      {"index past the colour table", with([](auto& b) { b[b.size() - 16] = 200; }),
       "uses colour 200; expected one of the"},
  };
  for (const auto& c : cases) {
    const std::string message = errorOf([&] { decodeBmp(c.bytes, "art/knob.bmp"); });
    EXPECT_THAT(message, HasSubstr("art/knob.bmp: ")) << c.what;
    EXPECT_THAT(message, HasSubstr(c.expected)) << c.what;
  }
}

TEST(BmpReader, NamesAFileThatIsNotThereOrIsAFolderWithTheSystemsReason) {
  EXPECT_THAT(errorOf([] { panelhost::readBmpFile("/nonexistent/face.bmp"); }),
              HasSubstr("/nonexistent/face.bmp: cannot read the bitmap file (No such file or "
                        "directory)"));
  EXPECT_THAT(errorOf([] { panelhost::readBmpFile("/"); }),
              HasSubstr("/: cannot read the bitmap file (Is a directory)"));
}

TEST(ResourceScript, FollowsIncludesAndPassesOverCommentsAndOtherResources) {
  ScratchDir dir;
  dir.write("res/radios.rc",
            "// top\n#include \"version.rc\"\n#include \"parts/gauge.rc\"\n"
            "/* 1 BITMAP \"commented.bmp\"\n   2 BITMAP \"also.bmp\" */\n"
            "#define FACE 0x2000\nFACE BITMAP \"face.bmp\"  // the face plate\n");
  dir.write("res/version.rc",
            "1 VERSIONINFO\nFILEVERSION 1, 0, 0, 0\nBEGIN\n  BLOCK \"StringFileInfo\"\n  BEGIN\n"
            "    VALUE \"FileDescription\", \"3 BITMAP x.bmp\"\n  END\nEND\n");
  dir.write("res/parts/gauge.rc",
            "4096 BITMAP \"bitmaps/a.bmp\"\n4352 BITMAP DISCARDABLE \"bitmaps\\\\b.bmp\"\n");
  const ResourceScript script = ResourceScript::load(dir.path() / "res/radios.rc");
  ASSERT_EQ(script.bitmaps().size(), 3u);
  EXPECT_EQ(script.bitmaps()[0].id, 4096u);
  EXPECT_EQ(script.bitmaps()[0].file, dir.path() / "res/parts/bitmaps/a.bmp");
  EXPECT_THAT(script.bitmaps()[0].origin, HasSubstr("gauge.rc:1"));
  EXPECT_EQ(script.bitmaps()[1].id, 4352u);
  EXPECT_EQ(script.bitmaps()[1].file, dir.path() / "res/parts/bitmaps/b.bmp");
  EXPECT_EQ(script.bitmaps()[2].id, 0x2000u);
  EXPECT_EQ(script.bitmaps()[2].file, dir.path() / "res/face.bmp");
  EXPECT_THAT(script.bitmaps()[2].origin, HasSubstr("radios.rc:7"));
}

TEST(ResourceScript, TheModulesOwnScriptNamesEveryFrameOfTheBitmapTable) {
  const std::filesystem::path resources = std::filesystem::path(RADIOS_SOURCE_DIR) / "resources";
  const ResourceScript script = ResourceScript::load(resources / "radios.rc");
  std::vector<std::uint32_t> named, expected;
  for (const auto& bitmap : script.bitmaps()) {
    named.push_back(bitmap.id);
    EXPECT_EQ(bitmap.file, resources / "bitmaps" / (std::to_string(bitmap.id) + ".bmp"));
  }
  for (const BitmapRecord* record : bitmap::kAll) {
    for (int frame = 0; frame < record->frames; ++frame) expected.push_back(record->frameId(frame));
  }
  EXPECT_EQ(named, expected);
}

TEST(ResourceScript, ErrorsNameTheFileAndLine) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"\n\n#include \"missing.rc\"\n",
       "missing.rc: cannot read the resource script (No such file or directory)"},
      {"\nFACE BITMAP \"face.bmp\"\n", "main.rc:2: bitmap id \"FACE\"; expected a number"},
      // A backslash splices the next line into the #define; line numbers go on counting.
      {"#define TEXT \\\n  A\nFACE BITMAP \"face.bmp\"\n", "main.rc:3: bitmap id \"FACE\""},
      {"70000 BITMAP \"a.bmp\"\n", "main.rc:1: bitmap id \"70000\""},
      {"5 BITMAP a.bmp\n", "main.rc:1: expected ID BITMAP \"file.bmp\""},
      {"5 BITMAP \"a.bmp\n", "main.rc:1: a quoted text is not closed"},
      {"5 BITMAP \"a.bmp\"\n\n5 BITMAP \"b.bmp\"\n", "main.rc:3: bitmap 5 is already named at"},
      {"1 VERSIONINFO\nBEGIN\n", "the file ends inside a BEGIN ... END block"},
      {"#include \"main.rc\"\n", "include loop"},
      {"#include \"/dev/zero\"\n",
       "/dev/zero: cannot read the resource script (a character device, not a file)"},
      {"\n\nface.bmp 4096\n",
       "main.rc:3: expected a resource statement (ID BITMAP \"file.bmp\", ID TYPE ..., a "
       "#directive, or BEGIN ... END), got \"face.bmp 4096\""},
      {"4096\n", "main.rc:1: expected a resource statement"},
      {"\"4096\" BITMAP \"a.bmp\"\n", "main.rc:1: expected a resource statement"},
      {"\x01\x02 BITMAP \"a.bmp\"\n", "got \"\\x01\\x02 BITMAP \\\"a.bmp\\\"\""},
      {"4096 BITMAPP \"a.bmp\"\n", "main.rc:1: expected a resource type after 4096 (BITMAP, ICON"},
      {"4096 \"BITMAP\" \"a.bmp\"\n", "main.rc:1: expected a resource type after 4096"},
      {"4096 BITMAP \"bitmaps\\\\\"\n",
       "main.rc:1: expected the file name of a bitmap, got \"bitmaps\\\\\""},
      {"4096 BITMAP \"\"\n", "main.rc:1: expected the file name of a bitmap, got \"\""},
      {"#include \"parts/\"\n", "main.rc:1: expected the file name of an included script"},
      {"4096 BITMAP \"bitmaps/..\"\n", "main.rc:1: expected the file name of a bitmap"},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    const auto file = dir.write("main.rc", c.text);
    const std::string message = errorOf([&] { ResourceScript::load(file); });
    EXPECT_THAT(message, HasSubstr(c.expected)) << c.text;
  }
}

// What a resource script written in a Windows project holds besides the bitmaps.
TEST(ResourceScript, PassesOverTheOtherStatementsOfAWindowsResourceScript) {
  ScratchDir dir;
  const auto file =
      dir.write("main.rc",
                "#pragma code_page(1252)\nLANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n"
                "IDI_APP ICON \"app.ico\"\n1 24 \"app.manifest\"\nIDR_CLICK WAVE \"click.wav\"\n"
                "STRINGTABLE\nBEGIN\n  1 \"One\"\nEND\n"
                "IDD_ABOUT DIALOGEX 0, 0, 100, 50\nSTYLE DS_MODALFRAME\nCAPTION \"About\"\n"
                "FONT 8, \"MS Shell Dlg\"\n{\n  LTEXT \"x\", -1, 0, 0, 10, 10\n}\n"
                "4096 bitmap \"face.bmp\"\n");
  const ResourceScript script = ResourceScript::load(file);
  ASSERT_EQ(script.bitmaps().size(), 1u);
  EXPECT_THAT(script.bitmaps()[0].origin, HasSubstr("main.rc:17"));
}

TEST(BitmapLibrary, ABitmapTheScriptDoesNotNameIsReportedWithTheScriptAndItsNearestLine) {
  ScratchDir dir;
  dir.write("face.bmp", encodeBmp(rendertest::patterned(2, 2)));
  const auto script =
      dir.write("radios.rc", "\n4096 BITMAP \"face.bmp\"\n4352 BITMAP \"face.bmp\"\n");
  const BitmapLibrary library = BitmapLibrary::loadScript(script);
  EXPECT_EQ(errorOf([&] { library.image(4353); }),
            "bitmap 4353: the module's resource script names no bitmap of this id: expected a line "
            "4353 BITMAP \"FILE.bmp\" in " +
                script.string() + " or a script it includes (bitmap 4352 is named at " +
                script.string() + ":3)");
}

TEST(BitmapLibrary, LoadsEveryNamedBitmapOnceInDrawingForm) {
  ScratchDir dir;
  const Image face = rendertest::patterned(6, 3);
  dir.write("bitmaps/face.bmp", encodeBmp(face, BmpOptions{8, false}));
  dir.write("bitmaps/strip.bmp", encodeBmp(face, BmpOptions{24, true}));
  const auto script =
      dir.write("radios.rc", "10 BITMAP \"bitmaps/face.bmp\"\n11 BITMAP \"bitmaps/strip.bmp\"\n");
  const BitmapLibrary library = BitmapLibrary::loadScript(script);
  EXPECT_EQ(library.size(), 2u);
  EXPECT_EQ(library.image(10).pixels(), face.pixels());
  EXPECT_EQ(library.image(11).pixels(), face.pixels());
  EXPECT_THAT(library.describe(10), HasSubstr("bitmap 10 (")) << "names the file";
  EXPECT_THAT(errorOf([&] { library.image(12); }),
              HasSubstr("bitmap 12: the module's resource script names no bitmap"));
}

TEST(BitmapLibrary, ABrokenBitmapNamesTheResourceIdTheFileAndTheScriptLine) {
  const struct {
    const char* what;
    std::vector<std::uint8_t> bytes;
    const char* expected;
  } cases[] = {
      {"missing", {}, "cannot read the bitmap file (No such file or directory)"},
      {"truncated",
       [] {
         auto b = encodeBmp(rendertest::patterned(8, 8), BmpOptions{8, false});
         b.resize(b.size() / 2);
         return b;
       }(),
       "truncated"},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    if (!c.bytes.empty()) dir.write("bitmaps/lamp.bmp", c.bytes);
    const auto script = dir.write("radios.rc", "\n8960 BITMAP \"bitmaps/lamp.bmp\"\n");
    const std::string message = errorOf([&] { BitmapLibrary::loadScript(script); });
    EXPECT_THAT(message, HasSubstr("radios.rc:2: bitmap 8960: ")) << c.what;
    EXPECT_THAT(message, HasSubstr("bitmaps/lamp.bmp")) << c.what;
    EXPECT_THAT(message, HasSubstr(c.expected)) << c.what;
  }
}

}  // namespace
