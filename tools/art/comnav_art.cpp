// The COM/NAV radio face: a panel-mount nav/comm of the classic stacked-avionics kind, a COM half
// on the left and a NAV half on the right. Every part sits under the mouse box or display box of
// the gauge that works it, so the coordinates here follow the gauge's layout.
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "art/gauge_art.h"
#include "art/knob.h"
#include "art/lettering.h"

namespace {

using art::Align;
using art::Canvas;
using art::Rgb;
using art::Weight;

constexpr int kWidth = bitmap::kComNavFaceplate.width;
constexpr int kHeight = bitmap::kComNavFaceplate.height;
constexpr double kPi = 3.14159265358979323846;

constexpr Rgb kLettering{226, 226, 222};
constexpr Rgb kDimLettering{160, 162, 166};

// Display windows: wide enough round the gauge's 78 x 26 text boxes at y 32.
struct Box {
  int x, y, w, h;
};
constexpr Box kComWindow{5, 23, 191, 42};
constexpr Box kNavWindow{217, 23, 191, 42};

// Centres of the parts the gauge's mouse boxes and icons sit over.
struct Point {
  double x, y;
};
constexpr Point kComKnob{176, 106.5};     // coarse columns 148..204, fine 160..191
constexpr Point kNavKnob{350, 108.5};     // coarse columns 322..378, fine 334..365
constexpr Box kComSwap{108, 78, 25, 24};  // mouse box 107, 77, 27 x 26
constexpr Box kNavSwap{282, 79, 25, 24};  // mouse box 281, 78, 27 x 26
// Where the gauge places the two knob icons, each as large as its bitmap.
constexpr Box kPowerIcon{46, 121, bitmap::kComNavPowerKnob.width, bitmap::kComNavPowerKnob.height};
constexpr Box kIdentIcon{231, 120, bitmap::kComNavIdentKnob.width, bitmap::kComNavIdentKnob.height};
constexpr double kOuterKnobRadius = 27.5;
constexpr double kInnerKnobRadius = 15.5;
constexpr double kPowerKnobRadius = 16.5;
constexpr double kPowerOffDegrees = -62;
constexpr double kPowerOnDegrees = 35;

Point powerKnobCentre() { return {kPowerIcon.x + 24.0, kPowerIcon.y + 20.0}; }
Point identKnobCentre() { return {kIdentIcon.x + 20.0, kIdentIcon.y + 16.5}; }

Point onCircle(Point centre, double radius, double degrees) {
  const double a = degrees * kPi / 180.0;
  return {centre.x + radius * std::sin(a), centre.y - radius * std::cos(a)};
}

void drawFaceplate(Canvas& c) {
  // Anodised black face with a soft top-to-bottom sheen, and a bevel round the edge.
  c.verticalGradient(0, 0, kWidth, kHeight, Rgb{52, 53, 57}, Rgb{30, 31, 34});
  c.fillRect(0, 0, kWidth, 1, Rgb{92, 93, 98});
  c.fillRect(0, 0, 1, kHeight, Rgb{80, 81, 86});
  c.fillRect(0, kHeight - 1, kWidth, 1, Rgb{14, 14, 16});
  c.fillRect(kWidth - 1, 0, 1, kHeight, Rgb{16, 16, 18});
  c.strokeRoundedRect(2, 2, kWidth - 4, kHeight - 4, 3, 1, Rgb{40, 41, 45});

  // The two halves are parted by a shallow groove.
  c.fillRect(206, 6, 1, kHeight - 12, Rgb{20, 20, 23});
  c.fillRect(207, 6, 1, kHeight - 12, Rgb{66, 67, 72});
}

void drawWindow(Canvas& c, const Box& w) {
  // A bezel lip round the glass, then the recessed display itself.
  c.fillRoundedRect(w.x - 2, w.y - 2, w.w + 4, w.h + 4, 4, Rgb{22, 22, 25});
  c.strokeRoundedRect(w.x - 2, w.y - 2, w.w + 4, w.h + 4, 4, 1, Rgb{74, 75, 80});
  art::drawDisplayWindow(c, w.x, w.y, w.w, w.h);
  // A faint reflection across the upper glass.
  for (int x = w.x + 3; x < w.x + w.w - 3; ++x) c.blend(x, w.y + 3, Rgb{90, 92, 98}, 0.25);
}

void drawSwapArrows(Canvas& c, const Box& b) {
  const double cx = b.x + b.w / 2.0, cy = b.y + b.h / 2.0;
  const double half = b.w * 0.26;
  const Rgb ink{236, 236, 232};
  // Two opposed arrows, the usual "flip-flop" legend.
  c.line(cx - half, cy - 3, cx + half, cy - 3, 1.4, ink);
  c.line(cx + half, cy - 3, cx + half - 3.2, cy - 6, 1.4, ink);
  c.line(cx - half, cy + 3, cx + half, cy + 3, 1.4, ink);
  c.line(cx - half, cy + 3, cx - half + 3.2, cy + 6, 1.4, ink);
}

void drawSwapButton(Canvas& c, const Box& b) {
  art::drawPushButton(c, b.x, b.y, b.w, b.h, "", 8);
  drawSwapArrows(c, b);
}

void drawHalfLegends(Canvas& c, const Box& window, const char* title, const char* band) {
  drawText(c, title, window.x + 1, 15, 11, kLettering, Align::Left, Weight::Bold);
  drawText(c, band, window.x + window.w, 15, 8, kDimLettering, Align::Right, Weight::Regular);
  // ACTIVE and STANDBY sit under their digits; the swap button lies between them.
  const int below = window.y + window.h + 11;
  drawText(c, "ACTIVE", window.x + 44, below, 8, kLettering, Align::Center);
  drawText(c, "STANDBY", window.x + 146, below, 8, kLettering, Align::Center);
}

// Tick marks round a knob, outside it, for the engraved scale on the face.
void drawTicks(Canvas& c, Point centre, double inner, double outer, double fromDegrees,
               double toDegrees, int count, Rgb ink) {
  for (int i = 0; i < count; ++i) {
    const double d = fromDegrees + (toDegrees - fromDegrees) * i / (count - 1);
    const Point a = onCircle(centre, inner, d), b = onCircle(centre, outer, d);
    c.line(a.x, a.y, b.x, b.y, 1.0, ink);
  }
}

void drawKnobLegends(Canvas& c) {
  // Power / volume knob: OFF at the end of its travel, the scale running clockwise from it.
  const Point power = powerKnobCentre();
  const Point off = onCircle(power, kPowerKnobRadius + 8, kPowerOffDegrees);
  drawText(c, "OFF", static_cast<int>(off.x) - 1, static_cast<int>(off.y) + 2, 8, kLettering,
           Align::Right);
  drawTicks(c, power, kPowerKnobRadius + 2.5, kPowerKnobRadius + 5.5, kPowerOffDegrees + 18, 120, 8,
            kDimLettering);
  drawText(c, "PULL TEST", static_cast<int>(power.x), 110, 8, kLettering, Align::Center);

  // Ident knob of the NAV half.
  const Point ident = identKnobCentre();
  drawText(c, "PULL IDENT", static_cast<int>(ident.x), 104, 8, kLettering, Align::Center);
  drawText(c, "PUSH VOR TEST", static_cast<int>(ident.x), 114, 8, kLettering, Align::Center);
}

void drawLockScrew(Canvas& c, double cx, double cy) {
  // The rack's cam-lock screw, sunk in a small counterbore.
  c.fillCircle(cx, cy, 5.5, Rgb{20, 20, 22});
  art::drawScrew(c, cx, cy, 4.2);
}

// The face without the two switch knobs, which live in their own bitmaps.
Canvas drawBareFace() {
  Canvas c(kWidth, kHeight, Rgb{40, 41, 45});
  drawFaceplate(c);
  drawWindow(c, kComWindow);
  drawWindow(c, kNavWindow);
  drawHalfLegends(c, kComWindow, "COMM", "118.000 - 135.975");
  drawHalfLegends(c, kNavWindow, "NAV", "108.000 - 117.925");
  drawSwapButton(c, kComSwap);
  drawSwapButton(c, kNavSwap);
  drawKnobLegends(c);
  drawLockScrew(c, 13, 150);
  drawLockScrew(c, 404, 150);

  const art::KnobStyle outer = art::blackPlasticKnob();
  art::KnobStyle inner = art::blackPlasticKnob();
  inner.body = Rgb{72, 72, 77};
  inner.gripMarks = 24;
  art::drawDualKnob(c, kComKnob.x, kComKnob.y, kOuterKnobRadius, kInnerKnobRadius, outer, inner);
  art::drawDualKnob(c, kNavKnob.x, kNavKnob.y, kOuterKnobRadius, kInnerKnobRadius, outer, inner);
  return c;
}

Canvas crop(const Canvas& src, const Box& b) {
  Canvas out(b.w, b.h, Rgb{40, 41, 45});
  out.blit(src, -b.x, -b.y);
  return out;
}

void drawPowerKnob(Canvas& c, Point centre, double pointerDegrees) {
  art::KnobStyle style = art::blackPlasticKnob();
  style.gripMarks = 28;
  art::drawKnob(c, centre.x, centre.y, kPowerKnobRadius, style, pointerDegrees);
}

void drawIdentKnob(Canvas& c, Point centre, bool pulledOut) {
  art::KnobStyle style = art::blackPlasticKnob();
  style.gripMarks = 22;
  if (pulledOut) {
    // Pulled out, the knob stands further off the face: a wider shadow and a bright band of the
    // shaft collar showing beneath it.
    c.fillCircle(centre.x + 2.5, centre.y + 3, 13.5, Rgb{10, 10, 12});
    c.fillRing(centre.x, centre.y + 1.5, 13.2, 11.5, Rgb{150, 152, 156});
    art::drawKnob(c, centre.x - 0.5, centre.y - 1, 13.0, style, std::nullopt);
  } else {
    art::drawKnob(c, centre.x, centre.y, 12.0, style, std::nullopt);
  }
}

// Draws `part` onto a copy of the face under `box`, so the icon carries the face's own
// background and lies on it seamlessly (icons are drawn without transparency).
template <typename DrawPart>
Canvas iconFrame(const Canvas& face, const Box& box, DrawPart drawPart) {
  Canvas icon = crop(face, box);
  drawPart(icon);
  return icon;
}

}  // namespace

void drawComNavArt(art::ArtOutput& out) {
  const Canvas bare = drawBareFace();
  const Point power = powerKnobCentre();
  const Point ident = identKnobCentre();
  const Point powerInIcon{power.x - kPowerIcon.x, power.y - kPowerIcon.y};
  const Point identInIcon{ident.x - kIdentIcon.x, ident.y - kIdentIcon.y};

  Canvas face = bare;
  drawPowerKnob(face, power, kPowerOffDegrees);
  drawIdentKnob(face, ident, false);
  out.save(bitmap::kComNavFaceplate, face);

  // Frame 0 of each knob is the way the face shows it; frame 1 the switch thrown.
  out.save(bitmap::kComNavPowerKnob,
           iconFrame(bare, kPowerIcon,
                     [&](Canvas& c) { drawPowerKnob(c, powerInIcon, kPowerOffDegrees); }),
           0);
  out.save(bitmap::kComNavPowerKnob,
           iconFrame(bare, kPowerIcon,
                     [&](Canvas& c) { drawPowerKnob(c, powerInIcon, kPowerOnDegrees); }),
           1);
  out.save(bitmap::kComNavIdentKnob,
           iconFrame(bare, kIdentIcon, [&](Canvas& c) { drawIdentKnob(c, identInIcon, false); }),
           0);
  out.save(bitmap::kComNavIdentKnob,
           iconFrame(bare, kIdentIcon, [&](Canvas& c) { drawIdentKnob(c, identInIcon, true); }), 1);
}
