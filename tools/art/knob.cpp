#include "art/knob.h"

#include <algorithm>
#include <cmath>

#include "art/lettering.h"

namespace art {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kPanelShadow{6, 6, 7};  // near-black, never (0,0,0) which is transparent

Rgb lighter(Rgb c, double t) { return mix(c, kWhite, t); }
Rgb darker(Rgb c, double t) { return mix(c, kPanelShadow, t); }

// Unit vector for a dial angle: 0 degrees points up, clockwise positive, y grows downwards.
void direction(double degrees, double& dx, double& dy) {
  const double radians = degrees * kPi / 180.0;
  dx = std::sin(radians);
  dy = -std::cos(radians);
}

}  // namespace

KnobStyle blackPlasticKnob() { return {36, Rgb{58, 58, 62}, Rgb{12, 12, 14}, Rgb{20, 20, 22}}; }

KnobStyle metalKnob() { return {40, Rgb{150, 152, 156}, Rgb{18, 18, 20}, Rgb{70, 72, 76}}; }

void drawKnob(Canvas& c, double cx, double cy, double radius, const KnobStyle& style,
              std::optional<double> pointerDegrees) {
  // A soft drop shadow down-right sells the knob as standing off the panel.
  c.fillCircle(cx + radius * 0.06, cy + radius * 0.08, radius * 1.02, kPanelShadow);
  c.fillCircle(cx, cy, radius, style.rim);

  const double skirt = radius * 0.93;
  c.shadedDisc(cx, cy, skirt, lighter(style.body, 0.35), darker(style.body, 0.55));

  const double face = radius * 0.72;
  if (style.gripMarks > 0) {
    const double spacing = 2 * kPi * skirt / style.gripMarks;
    const double thickness = std::clamp(spacing * 0.45, 1.0, radius * 0.12);
    for (int i = 0; i < style.gripMarks; ++i) {
      double dx = 0, dy = 0;
      direction(360.0 * i / style.gripMarks, dx, dy);
      c.line(cx + dx * (face + radius * 0.03), cy + dy * (face + radius * 0.03),
             cx + dx * (skirt - radius * 0.015), cy + dy * (skirt - radius * 0.015), thickness,
             style.marks);
    }
  }

  // The top face is lit the opposite way round to the skirt so it reads as a separate, slightly
  // dished surface, with a thin dark chamfer between the two.
  c.fillCircle(cx, cy, face + radius * 0.035, darker(style.body, 0.65));
  c.shadedDisc(cx, cy, face, lighter(style.body, 0.18), darker(style.body, 0.3));

  if (pointerDegrees) {
    double dx = 0, dy = 0;
    direction(*pointerDegrees, dx, dy);
    const double thickness = std::max(1.5, radius * 0.09);
    c.line(cx + dx * radius * 0.18, cy + dy * radius * 0.18, cx + dx * (face - thickness * 0.6),
           cy + dy * (face - thickness * 0.6), thickness, Rgb{240, 240, 236});
  }
}

void drawDualKnob(Canvas& c, double cx, double cy, double outerRadius, double innerRadius,
                  const KnobStyle& outer, const KnobStyle& inner) {
  drawKnob(c, cx, cy, outerRadius, outer, std::nullopt);
  c.fillCircle(cx + innerRadius * 0.08, cy + innerRadius * 0.1, innerRadius * 1.06, kPanelShadow);
  drawKnob(c, cx, cy, innerRadius, inner, std::nullopt);
}

void drawPushButton(Canvas& c, int x, int y, int w, int h, const std::string& label, int labelPx) {
  const double radius = std::min(w, h) * 0.12;
  const Rgb face{52, 52, 56};
  c.fillRoundedRect(x + 1, y + 1, w, h, radius, kPanelShadow);
  // Light catches the top-left bevel and the bottom-right one falls into shadow.
  c.fillRoundedRect(x, y, w, h, radius, lighter(face, 0.35));
  c.fillRoundedRect(x + 1, y + 1, w - 1, h - 1, radius, darker(face, 0.6));
  c.fillRoundedRect(x + 1, y + 1, w - 2, h - 2, radius, mix(face, kWhite, 0.12));
  const int inset = std::max(2, std::min(w, h) / 10);
  c.verticalGradient(x + inset, y + inset, w - 2 * inset, h - 2 * inset, lighter(face, 0.1),
                     darker(face, 0.2));
  c.strokeRoundedRect(x + inset - 1, y + inset - 1, w - 2 * inset + 2, h - 2 * inset + 2, 1.5, 1.0,
                      darker(face, 0.3));
  if (!label.empty()) {
    const int baseline = y + (h + capHeight(labelPx)) / 2;
    drawText(c, label, x + w / 2, baseline, labelPx, Rgb{242, 242, 238}, Align::Center);
  }
}

void drawDisplayWindow(Canvas& c, int x, int y, int w, int h) {
  // A recess is shadowed along its top-left edge and catches light along its bottom-right lip.
  c.fillRect(x, y, w, h, Rgb{96, 96, 100});
  c.fillRect(x, y, w - 1, h - 1, Rgb{14, 14, 16});
  c.fillRect(x + 1, y + 1, w - 2, h - 2, Rgb{28, 28, 30});
  c.verticalGradient(x + 2, y + 2, w - 4, h - 4, Rgb{10, 10, 12}, Rgb{18, 18, 21});
}

void drawScrew(Canvas& c, double cx, double cy, double r) {
  c.fillCircle(cx + r * 0.1, cy + r * 0.12, r * 1.05, kPanelShadow);
  c.fillCircle(cx, cy, r, Rgb{40, 40, 42});
  c.shadedDisc(cx, cy, r * 0.88, Rgb{190, 190, 194}, Rgb{70, 70, 74});
  const double dx = std::cos(kPi / 5) * r * 0.75, dy = std::sin(kPi / 5) * r * 0.75;
  const double slot = std::max(1.0, r * 0.22);
  c.line(cx - dx, cy - dy, cx + dx, cy + dy, slot, Rgb{30, 30, 32});
  c.line(cx - dx + 0.5, cy - dy + 0.6, cx + dx + 0.5, cy + dy + 0.6, slot * 0.3,
         Rgb{200, 200, 204});
}

}  // namespace art
