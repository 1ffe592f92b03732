#pragma once

#include <optional>
#include <string>

#include "art/canvas.h"

namespace art {

// gripMarks: number of knurling notches round the edge (0 for a smooth knob). body is the mid
// tone of the metal or plastic; the shading is derived from it. rim is the dark shadow ring
// where the knob meets the panel. marks is the colour of the notches (usually darker than body).
struct KnobStyle {
  int gripMarks;
  Rgb body;
  Rgb rim;
  Rgb marks;
};

// Some starting points that look like real radio knobs on a dark faceplate.
KnobStyle blackPlasticKnob();
KnobStyle metalKnob();

// A round knob seen from the front: dark rim ring, shaded knurled skirt with grip marks, a
// domed top face and, when pointerDegrees is set, a white pointer line (0 = up, clockwise).
void drawKnob(Canvas& c, double cx, double cy, double radius, const KnobStyle& style,
              std::optional<double> pointerDegrees);

// A dual concentric knob: a large outer knob with grip marks and a smaller inner knob on top,
// with the inner knob casting a shadow on the outer.
void drawDualKnob(Canvas& c, double cx, double cy, double outerRadius, double innerRadius,
                  const KnobStyle& outer, const KnobStyle& inner);

// A rectangular push button with a bevel and a centred white label (labelPx is the font size).
void drawPushButton(Canvas& c, int x, int y, int w, int h, const std::string& label, int labelPx);

// A recessed, very dark display window with a thin bevel. The inside is near-black, never pure
// black, so it stays opaque.
void drawDisplayWindow(Canvas& c, int x, int y, int w, int h);

// A slotted screw head, for faceplate corners.
void drawScrew(Canvas& c, double cx, double cy, double r);

}  // namespace art
