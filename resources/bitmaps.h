// Every bitmap the module carries, with its resource id, size and colour depth: the one place
// these are written. The gauges' layouts name the records; the art generator draws each bitmap to
// its record and writes the resource script (bitmaps.rc) that numbers them as bitmaps/<id>.bmp;
// the tests check the files and the script against the records.
#pragma once

#include <cstdint>

struct BitmapRecord {
  std::uint32_t id;  // of the first frame: an icon's frames have consecutive ids
  int frames;        // 1 for anything but an icon
  int width;         // each frame's, in pixels
  int height;
  int bitsPerPixel;  // 8 (with a colour table) or 24

  constexpr std::uint32_t frameId(int frame) const {
    return id + static_cast<std::uint32_t>(frame);
  }
};

namespace bitmap {

// The host shows a moving image's strip through the bitmap of the next id: its window, one colour
// in 8 bits.
constexpr BitmapRecord windowOf(const BitmapRecord& strip, int width, int height) {
  return {strip.id + 1, 1, width, height, 8};
}

// clang-format off
//                                            id     frames width height bits
// "Com1Nav1"
constexpr BitmapRecord kComNavFaceplate   = { 4096,  1,     417,  163,   8};
constexpr BitmapRecord kComNavPowerKnob   = { 4352,  2,      48,   42,   8};  // OFF, on
constexpr BitmapRecord kComNavIdentKnob   = { 4608,  2,      41,   35,   8};  // in, pulled out
// "Transponder"
constexpr BitmapRecord kXpdrFacePlate     = { 8192,  1,     417,  111,   8};
constexpr BitmapRecord kXpdrDigitStrip    = { 8448,  1,      16,  160,  24};
constexpr BitmapRecord kXpdrDigitWindow   = windowOf(kXpdrDigitStrip, 16,   20);
constexpr BitmapRecord kXpdrModeKnob      = { 8704,  4,     100,   75,   8};  // OFF, SBY, ON, ALT
constexpr BitmapRecord kXpdrReplyLamp     = { 8960,  1,      29,   35,   8};  // lit
// "ADF"
constexpr BitmapRecord kAdfFace           = {12288,  1,     417,  165,   8};
constexpr BitmapRecord kAdfModeKnob       = {12544,  4,      98,   87,   8};  // OFF, ADF, ANT, BFO
constexpr BitmapRecord kAdfIdentKnob      = {12800,  2,      80,   73,   8};  // ident off, on
constexpr BitmapRecord kAdfHundredsStrip  = {13056,  1,      36,  486,   8};
constexpr BitmapRecord kAdfHundredsWindow = windowOf(kAdfHundredsStrip, 36, 25);
constexpr BitmapRecord kAdfDigitStrip     = {13312,  1,      18,  297,   8};
constexpr BitmapRecord kAdfDigitWindow    = windowOf(kAdfDigitStrip, 18,    25);
// clang-format on

// Every record, in resource id order.
constexpr const BitmapRecord* kAll[] = {
    &kComNavFaceplate, &kComNavPowerKnob,  &kComNavIdentKnob,   &kXpdrFacePlate, &kXpdrDigitStrip,
    &kXpdrDigitWindow, &kXpdrModeKnob,     &kXpdrReplyLamp,     &kAdfFace,       &kAdfModeKnob,
    &kAdfIdentKnob,    &kAdfHundredsStrip, &kAdfHundredsWindow, &kAdfDigitStrip, &kAdfDigitWindow,
};

}  // namespace bitmap
