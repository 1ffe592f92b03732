// The transponder's bitmaps: a black panel radio face in the manner of the classic panel-mount
// transponders, with four code drums over their knobs, a reply lamp and an ident button at top
// left, and a four-position mode knob. The knob frames and the lit lamp are cut from whole-face
// renders, so they line up with the face plate pixel for pixel.
#include <cmath>
#include <string>

#include "art/gauge_art.h"
#include "art/knob.h"
#include "art/lettering.h"

namespace {

using art::Align;
using art::Canvas;
using art::Rgb;
using art::Weight;

constexpr int kFaceWidth = bitmap::kXpdrFacePlate.width;
constexpr int kFaceHeight = bitmap::kXpdrFacePlate.height;

// A drum shows one cell of its strip through a window one cell high.
constexpr int kDrumWidth = bitmap::kXpdrDigitStrip.width;
constexpr int kDrumHeight = bitmap::kXpdrDigitWindow.height;
constexpr int kDrumCells = bitmap::kXpdrDigitStrip.height / kDrumHeight;

// Where the gauge's elements and mouse boxes put things, in gauge pixels.
constexpr int kDrumX[4] = {154, 221, 287, 352};
constexpr int kDrumY = 32;
constexpr int kKnobIconX = 0, kKnobIconY = 36;
constexpr int kKnobIconWidth = bitmap::kXpdrModeKnob.width;
constexpr int kKnobIconHeight = bitmap::kXpdrModeKnob.height;
constexpr int kLampX = 32, kLampY = 0;
constexpr int kLampWidth = bitmap::kXpdrReplyLamp.width;
constexpr int kLampHeight = bitmap::kXpdrReplyLamp.height;
constexpr double kModeKnobX = 64.5, kModeKnobY = 62.0, kModeKnobRadius = 16.5;
constexpr double kCodeKnobY = 70.0, kCodeKnobRadius = 12.0;
constexpr int kIdentX = 104, kIdentY = 11, kIdentWidth = 24, kIdentHeight = 21;
constexpr int kTestX = 101, kTestY = 80, kTestWidth = 22, kTestHeight = 21;

// The knob turns clockwise from OFF at seven o'clock to ALT at one o'clock.
// Each label is placed by hand where it reads best beside its tick.
struct ModeMark {
  const char* label;
  double degrees;  // 0 = up, clockwise
  int labelX;      // centre of the word
  int labelY;      // middle of its capitals
};
constexpr ModeMark kModeMarks[bitmap::kXpdrModeKnob.frames] = {
    {"OFF", 210, 43, 89},
    {"SBY", 270, 30, 62},
    {"ON", 330, 43, 41},
    {"ALT", 30, 87, 41},
};

constexpr Rgb kPanel{34, 34, 37};
constexpr Rgb kPanelEdgeLight{78, 78, 84};
constexpr Rgb kPanelEdgeDark{12, 12, 14};
constexpr Rgb kLettering{232, 232, 226};
constexpr Rgb kDimLettering{170, 170, 166};
constexpr Rgb kDrumFace{24, 24, 26};
constexpr Rgb kFigure{240, 240, 232};

constexpr double kPi = 3.14159265358979323846;

void direction(double degrees, double& dx, double& dy) {
  dx = std::sin(degrees * kPi / 180.0);
  dy = -std::cos(degrees * kPi / 180.0);
}

Canvas crop(const Canvas& source, int x, int y, int w, int h) {
  Canvas out(w, h, kPanel);
  out.blit(source, -x, -y);
  return out;
}

void drawPlate(Canvas& c) {
  c.verticalGradient(0, 0, kFaceWidth, kFaceHeight, Rgb{44, 44, 48}, Rgb{28, 28, 31});
  // A machined edge: lit along the top and left, in shadow along the bottom and right.
  c.fillRect(0, 0, kFaceWidth, 1, kPanelEdgeLight);
  c.fillRect(0, 0, 1, kFaceHeight, kPanelEdgeLight);
  c.fillRect(0, kFaceHeight - 1, kFaceWidth, 1, kPanelEdgeDark);
  c.fillRect(kFaceWidth - 1, 0, 1, kFaceHeight, kPanelEdgeDark);
  for (double x : {6.5, kFaceWidth - 6.5})
    for (double y : {6.5, kFaceHeight - 6.5}) art::drawScrew(c, x, y, 3.5);
}

// The lamp sits in a round chrome bezel; unlit its amber lens is a dull brown, lit it glows and
// throws a little light on the panel round it.
void drawReplyLamp(Canvas& c, bool lit) {
  const double cx = kLampX + kLampWidth / 2.0, cy = 13.5;
  if (lit) {
    for (int y = kLampY; y < kLampY + kLampHeight; ++y)
      for (int x = kLampX; x < kLampX + kLampWidth; ++x) {
        const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        c.blend(x, y, Rgb{255, 170, 40}, 0.45 * std::exp(-(d - 8) * (d - 8) / 18.0) * (d > 8));
      }
  }
  c.fillCircle(cx + 0.6, cy + 0.8, 9.6, kPanelEdgeDark);
  c.shadedDisc(cx, cy, 9.0, Rgb{205, 205, 210}, Rgb{70, 70, 76});
  c.fillCircle(cx, cy, 6.6, Rgb{20, 20, 22});
  if (lit) {
    c.shadedDisc(cx, cy, 6.0, Rgb{255, 236, 150}, Rgb{240, 130, 20});
    c.fillCircle(cx - 0.5, cy - 0.5, 3.2, Rgb{255, 250, 215});
  } else {
    c.shadedDisc(cx, cy, 6.0, Rgb{120, 78, 34}, Rgb{50, 30, 14});
  }
  art::drawText(c, "REPLY", static_cast<int>(cx), 32, 7, lit ? kLettering : kDimLettering,
                Align::Center);
}

void drawModeKnob(Canvas& c, double pointerDegrees) {
  for (const ModeMark& mark : kModeMarks) {
    double dx = 0, dy = 0;
    direction(mark.degrees, dx, dy);
    const double r0 = kModeKnobRadius + 2.0, r1 = kModeKnobRadius + 5.0;
    c.line(kModeKnobX + dx * r0, kModeKnobY + dy * r0, kModeKnobX + dx * r1, kModeKnobY + dy * r1,
           1.4, kLettering);
    art::drawText(c, mark.label, mark.labelX, mark.labelY + art::capHeight(8) / 2, 8, kLettering,
                  Align::Center);
  }
  art::KnobStyle style = art::blackPlasticKnob();
  style.gripMarks = 28;
  art::drawKnob(c, kModeKnobX, kModeKnobY, kModeKnobRadius, style, pointerDegrees);
  // The pointer carries on across the knurled skirt to the rim, so it reads at a glance.
  double dx = 0, dy = 0;
  direction(pointerDegrees, dx, dy);
  c.line(kModeKnobX + dx * kModeKnobRadius * 0.7, kModeKnobY + dy * kModeKnobRadius * 0.7,
         kModeKnobX + dx * kModeKnobRadius * 0.97, kModeKnobY + dy * kModeKnobRadius * 0.97, 2.2,
         Rgb{240, 240, 236});
}

// Each drum sits behind a small recessed window with the code knob below it.
void drawCodeColumn(Canvas& c, int drumX) {
  const double knobX = drumX + kDrumWidth / 2.0;
  art::drawDisplayWindow(c, drumX - 3, kDrumY - 3, kDrumWidth + 6, kDrumHeight + 6);
  art::KnobStyle style = art::blackPlasticKnob();
  style.gripMarks = 22;
  art::drawKnob(c, knobX, kCodeKnobY, kCodeKnobRadius, style, std::nullopt);
}

void drawLettering(Canvas& c) {
  art::drawText(c, "TRANSPONDER", 145, 20, 10, kLettering, Align::Left);
  // A thin rule under the title ties the four drums together as one code.
  c.fillRect(145, 24, kFaceWidth - 159, 1, Rgb{88, 88, 92});
  art::drawText(c, "CODE", 268, 100, 7, kDimLettering, Align::Center);
  c.fillRect(145, 97, 100, 1, Rgb{88, 88, 92});
  c.fillRect(291, 97, 104, 1, Rgb{88, 88, 92});
}

Canvas drawFace(double modePointerDegrees, bool lampLit) {
  Canvas c(kFaceWidth, kFaceHeight, kPanel);
  drawPlate(c);
  drawReplyLamp(c, lampLit);
  art::drawPushButton(c, kIdentX, kIdentY, kIdentWidth, kIdentHeight, "ID", 9);
  drawModeKnob(c, modePointerDegrees);
  art::drawPushButton(c, kTestX, kTestY, kTestWidth, kTestHeight, "TST", 7);
  for (int x : kDrumX) drawCodeColumn(c, x);
  drawLettering(c);
  return c;
}

// Figures 0 to 7 down a drum, one 20-pixel cell each, each cell shaded as the curve of the drum
// turning away at its top and bottom.
Canvas drawDigitStrip() {
  Canvas c(kDrumWidth, kDrumHeight * kDrumCells, kDrumFace);
  for (int digit = 0; digit < kDrumCells; ++digit) {
    const int top = digit * kDrumHeight;
    for (int y = 0; y < kDrumHeight; ++y) {
      const double fromMiddle = std::abs(y + 0.5 - kDrumHeight / 2.0) / (kDrumHeight / 2.0);
      c.fillRect(0, top + y, kDrumWidth, 1, art::mix(Rgb{46, 46, 50}, Rgb{10, 10, 12}, fromMiddle));
    }
    const int px = 15;
    const int baseline = top + (kDrumHeight + art::capHeight(px)) / 2;
    art::drawText(c, std::to_string(digit), kDrumWidth / 2, baseline, px, kFigure, Align::Center);
  }
  return c;
}

}  // namespace

void drawTransponderArt(art::ArtOutput& out) {
  out.save(bitmap::kXpdrFacePlate, drawFace(kModeMarks[0].degrees, false));
  out.save(bitmap::kXpdrDigitStrip, drawDigitStrip());
  // The strip shows through every pixel of the window: one whole figure.
  out.save(bitmap::kXpdrDigitWindow, Canvas(kDrumWidth, kDrumHeight, Rgb{255, 255, 255}));
  for (int frame = 0; frame < bitmap::kXpdrModeKnob.frames; ++frame) {
    out.save(bitmap::kXpdrModeKnob,
             crop(drawFace(kModeMarks[frame].degrees, false), kKnobIconX, kKnobIconY,
                  kKnobIconWidth, kKnobIconHeight),
             frame);
  }
  out.save(bitmap::kXpdrReplyLamp,
           crop(drawFace(kModeMarks[0].degrees, true), kLampX, kLampY, kLampWidth, kLampHeight));
}
