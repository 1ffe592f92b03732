// The ADF receiver's control head, in the manner of a panel-mount ADF of the 1980s: a dark
// faceplate, a four-position mode knob at the top left, the VOL knob below it, the frequency on
// mechanical drums behind a recessed window, and a dual concentric knob on either side of the
// window's lower half.
//
// The knob bitmaps are drawn onto the whole face and cut out of it, so that the icons, which the
// host draws without transparency, match the face around them pixel for pixel.

#include <cmath>
#include <string>

#include "art/gauge_art.h"
#include "art/knob.h"
#include "art/lettering.h"

namespace {

using art::Align;
using art::Canvas;
using art::Rgb;

constexpr int kFaceWidth = bitmap::kAdfFace.width;
constexpr int kFaceHeight = bitmap::kAdfFace.height;

constexpr Rgb kFace{36, 36, 39};
constexpr Rgb kFaceTop{46, 46, 50};
constexpr Rgb kFaceBottom{28, 28, 31};
constexpr Rgb kBevelLight{88, 88, 94};
constexpr Rgb kBevelDark{12, 12, 14};
constexpr Rgb kLettering{232, 232, 226};
constexpr Rgb kLegend{168, 168, 166};
constexpr Rgb kTick{200, 200, 196};

// The icons and drums as the gauge places them.
struct Box {
  int x, y, w, h;
};
constexpr Box kModeIcon{0, 0, bitmap::kAdfModeKnob.width, bitmap::kAdfModeKnob.height};
constexpr Box kIdentIcon{0, 92, bitmap::kAdfIdentKnob.width, bitmap::kAdfIdentKnob.height};

// Knob centres and radii follow the mouse boxes: the mode knob's region (24, 24, 44, 42), the
// ident region (27, 112, 36, 37), and the dual knobs' strips, outer 87 high, inner 53 high.
constexpr double kModeX = 46.0, kModeY = 45.0, kModeRadius = 20.0;
constexpr double kVolX = 45.0, kVolY = 130.5, kVolRadius = 18.0;
constexpr double kLeftKnobX = 149.5, kRightKnobX = 346.0, kDualKnobY = 93.5;
constexpr double kOuterRadius = 42.0, kInnerRadius = 25.0;

constexpr int kModes = bitmap::kAdfModeKnob.frames;
constexpr double kModeAngles[kModes] = {-60.0, -20.0, 20.0, 60.0};  // OFF, ADF, ANT, BFO
const char* const kModeLabels[kModes] = {"OFF", "ADF", "ANT", "BFO"};
constexpr double kVolOffAngle = -135.0;
constexpr double kVolOnAngle = 0.0;

// The drums: hundreds at 193 (two figures), tens 229, units 247, tenths 275; all at y 40, as high
// as their windows.
constexpr int kDrumTop = 40;
constexpr int kDrumHeight = bitmap::kAdfDigitWindow.height;
constexpr int kDrumsLeft = 193;
constexpr int kDrumsRight = 293;
constexpr int kUnitsRight = 265;
constexpr int kTenthsLeft = 275;
constexpr int kFigureWidth = bitmap::kAdfDigitStrip.width;
constexpr int kCellHeight = 27;

constexpr Rgb kDrumGround{30, 30, 32};
constexpr Rgb kDrumEdge{12, 12, 13};
constexpr Rgb kFigure{238, 238, 230};
constexpr Rgb kWindowMask{128, 128, 128};

double dx(double degrees) { return std::sin(degrees * 3.14159265358979323846 / 180.0); }
double dy(double degrees) { return -std::cos(degrees * 3.14159265358979323846 / 180.0); }

Canvas crop(const Canvas& from, const Box& box) {
  Canvas out(box.w, box.h, kFace);
  out.blit(from, -box.x, -box.y);
  return out;
}

void drawFaceplate(Canvas& c) {
  c.verticalGradient(0, 0, kFaceWidth, kFaceHeight, kFaceTop, kFaceBottom);
  // Light catches the top and left edges of the plate, the bottom and right fall into shadow.
  c.fillRect(0, 0, kFaceWidth, 1, kBevelLight);
  c.fillRect(0, 0, 1, kFaceHeight, kBevelLight);
  c.fillRect(0, kFaceHeight - 1, kFaceWidth, 1, kBevelDark);
  c.fillRect(kFaceWidth - 1, 0, 1, kFaceHeight, kBevelDark);
  c.fillRect(1, 1, kFaceWidth - 2, 1, art::mix(kBevelLight, kFace, 0.5));

  for (double x : {7.0, kFaceWidth - 8.0})
    for (double y : {7.0, kFaceHeight - 8.0}) art::drawScrew(c, x, y, 3.5);
}

void drawModeScale(Canvas& c) {
  for (int i = 0; i < kModes; ++i) {
    const double a = kModeAngles[i];
    c.fillCircle(kModeX + dx(a) * (kModeRadius + 4), kModeY + dy(a) * (kModeRadius + 4), 1.3,
                 kTick);
    const double labelR = kModeRadius + 18;
    art::drawText(c, kModeLabels[i], static_cast<int>(kModeX + dx(a) * labelR + 0.5),
                  static_cast<int>(kModeY + dy(a) * labelR + art::capHeight(9) / 2.0 + 0.5), 9,
                  kLettering, Align::Center);
  }
}

void drawVolScale(Canvas& c) {
  art::drawText(c, "VOL", static_cast<int>(kVolX), 102, 9, kLettering, Align::Center);
  // A short arc of dots, growing from the off position round to the top, as on a volume control.
  for (int i = 0; i <= 6; ++i) {
    const double a = kVolOffAngle + (kVolOnAngle - kVolOffAngle) * i / 6.0;
    const double r = kVolRadius + 4.5;
    c.fillCircle(kVolX + dx(a) * r, kVolY + dy(a) * r, 0.6 + 0.15 * i, kTick);
  }
}

void drawDisplay(Canvas& c) {
  art::drawText(c, "ADF", (kDrumsLeft + kDrumsRight) / 2, 28, 15, kLettering, Align::Center);
  const int titleHalf = art::textWidth("ADF", 15) / 2 + 6;
  const int mid = (kDrumsLeft + kDrumsRight) / 2;
  c.fillRect(kDrumsLeft - 4, 21, mid - titleHalf - kDrumsLeft + 4, 1, kLegend);
  c.fillRect(mid + titleHalf, 21, kDrumsRight + 4 - mid - titleHalf, 1, kLegend);

  art::drawDisplayWindow(c, kDrumsLeft - 5, kDrumTop - 5, kDrumsRight - kDrumsLeft + 10,
                         kDrumHeight + 10);
  // The decimal point, in the gap between the units and tenths drums.
  c.fillCircle((kUnitsRight + kTenthsLeft) / 2.0, kDrumTop + kDrumHeight - 4.0, 1.8, kFigure);
  art::drawText(c, "kHz", kDrumsRight + 4, kDrumTop + kDrumHeight + 17, 9, kLegend, Align::Right);
}

void drawDualKnobs(Canvas& c) {
  for (double x : {kLeftKnobX, kRightKnobX}) {
    art::drawDualKnob(c, x, kDualKnobY, kOuterRadius, kInnerRadius, art::blackPlasticKnob(),
                      art::metalKnob());
  }
  // What each ring turns, under the knob.
  const int legendY = static_cast<int>(kDualKnobY + kOuterRadius) + 12;
  art::drawText(c, "100  \xC2\xB7  10", static_cast<int>(kLeftKnobX), legendY, 8, kLegend,
                Align::Center);
  art::drawText(c, "1  \xC2\xB7  .1", static_cast<int>(kRightKnobX), legendY, 8, kLegend,
                Align::Center);
}

void drawModeKnob(Canvas& c, int mode) {
  art::drawKnob(c, kModeX, kModeY, kModeRadius, art::blackPlasticKnob(), kModeAngles[mode]);
}

void drawVolKnob(Canvas& c, bool identOn) {
  art::drawKnob(c, kVolX, kVolY, kVolRadius, art::blackPlasticKnob(),
                identOn ? kVolOnAngle : kVolOffAngle);
}

Canvas bareFace() {
  Canvas c(kFaceWidth, kFaceHeight, kFace);
  drawFaceplate(c);
  drawModeScale(c);
  drawVolScale(c);
  drawDisplay(c);
  drawDualKnobs(c);
  return c;
}

// A drum cell: the figures sit in the top 25 rows, which is all the window shows; the two rows
// below are the dark seam to the next cell. The ground darkens towards the top and bottom, as a
// drum curves away.
void drawCell(Canvas& strip, int top, const std::string& figures) {
  for (int row = 0; row < kDrumHeight; ++row) {
    const double fromMiddle = std::abs(row - (kDrumHeight - 1) / 2.0) / (kDrumHeight / 2.0);
    strip.fillRect(0, top + row, strip.width(), 1,
                   art::mix(kDrumGround, kDrumEdge, fromMiddle * fromMiddle));
  }
  strip.fillRect(0, top + kDrumHeight, strip.width(), kCellHeight - kDrumHeight, kDrumEdge);
  const int baseline = top + (kDrumHeight + art::capHeight(19)) / 2;
  // Figures stand in 18-pixel columns from the right, so the hundreds line up with the digits.
  int column = strip.width() / kFigureWidth - static_cast<int>(figures.size());
  for (char f : figures) {
    art::drawText(strip, std::string(1, f), column * kFigureWidth + kFigureWidth / 2, baseline, 19,
                  kFigure, Align::Center);
    ++column;
  }
}

Canvas hundredsStrip() {
  Canvas strip(bitmap::kAdfHundredsStrip.width, bitmap::kAdfHundredsStrip.height, kDrumEdge);
  const int cells = strip.height() / kCellHeight;
  for (int cell = 0; cell < cells; ++cell) {
    // The first cell stands for group 1 and the last for 18: both blank, no knob reaches them.
    const int group = cell + 1;
    const bool shown = cell > 0 && cell < cells - 1;
    drawCell(strip, cell * kCellHeight, shown ? std::to_string(group) : "");
  }
  return strip;
}

Canvas digitStrip() {
  Canvas strip(bitmap::kAdfDigitStrip.width, bitmap::kAdfDigitStrip.height, kDrumEdge);
  for (int cell = 0; cell < strip.height() / kCellHeight; ++cell)
    drawCell(strip, cell * kCellHeight, std::to_string(cell % 10));
  return strip;
}

}  // namespace

void drawAdfArt(art::ArtOutput& out) {
  const Canvas face = bareFace();

  Canvas background = face;
  drawModeKnob(background, 0);
  drawVolKnob(background, false);
  out.save(bitmap::kAdfFace, background);

  for (int mode = 0; mode < kModes; ++mode) {
    Canvas withKnob = face;
    drawModeKnob(withKnob, mode);
    out.save(bitmap::kAdfModeKnob, crop(withKnob, kModeIcon), mode);
  }
  for (int identOn = 0; identOn < bitmap::kAdfIdentKnob.frames; ++identOn) {
    Canvas withKnob = face;
    drawVolKnob(withKnob, identOn == 1);
    out.save(bitmap::kAdfIdentKnob, crop(withKnob, kIdentIcon), identOn);
  }

  out.save(bitmap::kAdfHundredsStrip, hundredsStrip());
  out.save(bitmap::kAdfHundredsWindow, Canvas(bitmap::kAdfHundredsWindow.width,
                                              bitmap::kAdfHundredsWindow.height, kWindowMask));
  out.save(bitmap::kAdfDigitStrip, digitStrip());
  out.save(bitmap::kAdfDigitWindow,
           Canvas(bitmap::kAdfDigitWindow.width, bitmap::kAdfDigitWindow.height, kWindowMask));
}
