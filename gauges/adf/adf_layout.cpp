#include "gauges/adf/adf_layout.h"

#include "gauges/adf/adf_state.h"
#include "host/element_rows.h"
#include "host/gauge_header.h"
#include "host/mouse_rects.h"
#include "resources/bitmaps.h"

namespace {

using bitmap::kAdfDigitStrip;
using bitmap::kAdfFace;
using bitmap::kAdfHundredsStrip;
using bitmap::kAdfIdentKnob;
using bitmap::kAdfModeKnob;

constexpr GaugeElements adf(&adfGaugeHeader);

// The face's children, in drawing order. The hundreds drum is two figures wide and touches the
// tens drum; the tenths drum stands apart, the decimal point painted on the face in the gap. The
// three digit drums share one strip and its window.
// clang-format off
//                        frames              x   y  flags failures frame from
auto modeKnob  = adf.icon(kAdfModeKnob,        0,  0, 0x0, nullptr, adfModeIcon);
auto identKnob = adf.icon(kAdfIdentKnob,       0, 92, 0x0, nullptr, adfIdentIcon);
//                        strip               x   y  flags X from     Y range Y from
auto hundreds  = adf.drum(kAdfHundredsStrip, 193, 40, 0x3, adfStripX, 1, 18,  adfHundredsStripY);
auto tens      = adf.drum(kAdfDigitStrip,    229, 40, 0x3, adfStripX, 0, 10,  adfTensStripY);
auto units     = adf.drum(kAdfDigitStrip,    247, 40, 0x3, adfStripX, 0, 10,  adfUnitsStripY);
auto tenths    = adf.drum(kAdfDigitStrip,    275, 40, 0x3, adfStripX, 0, 10,  adfTenthsStripY);
// clang-format on

ELEMENT_HEADER* faceChildren[] = {
    &modeKnob.header, &identKnob.header, &hundreds.header, &tens.header,
    &units.header,    &tenths.header,    nullptr,
};

//                   bitmap    x  y  flags children
auto face = adf.face(kAdfFace, 0, 0, 0x1, faceChildren);

ELEMENT_HEADER* adfElementList = &face.header;

// The second frequency region reaches past the gauge's right edge and the mode knob's up half
// ends one pixel right of its region: the boxes stand as panels were drawn against them.
// clang-format off
MOUSERECT adfMouseRects[] = {
    //           x    y    w   h  cursor            flags        handler or tooltip
    mouseParent(  0,   0,   0,  0),
    mouseParent( 24,  24,  44, 42),
    mouseTooltip("ADF Mode"),
    mouseEndParent(),
    mouseChild ( 24,  24,  22, 42, CURSOR_DOWNARROW, kMouseClick, adfModeDown),
    mouseChild ( 47,  24,  22, 42, CURSOR_UPARROW,   kMouseClick, adfModeUp),
    mouseParent( 27, 112,  36, 37),
    mouseTooltip("ADF Ident"),
    mouseEndParent(),
    mouseChild ( 27, 112,  36, 37, CURSOR_HAND,      kMouseClick, adfIdentToggle),
    mouseParent(102,  50, 197, 87),
    mouseTooltip("ADF Frequency select"),
    mouseEndParent(),
    mouseChild (102,  50,  23, 87, CURSOR_DOWNARROW, kMouseKnob,  adfHundredsDown),
    mouseChild (174,  50,  23, 87, CURSOR_UPARROW,   kMouseKnob,  adfHundredsUp),
    mouseChild (126,  67,  23, 53, CURSOR_DOWNARROW, kMouseKnob,  adfTensDown),
    mouseChild (150,  67,  23, 53, CURSOR_UPARROW,   kMouseKnob,  adfTensUp),
    mouseParent(299,  50, 197, 87),
    mouseTooltip("ADF Frequency select"),
    mouseEndParent(),
    mouseChild (299,  50,  23, 87, CURSOR_DOWNARROW, kMouseKnob,  adfUnitsDown),
    mouseChild (370,  50,  23, 87, CURSOR_UPARROW,   kMouseKnob,  adfUnitsUp),
    mouseChild (323,  67,  23, 53, CURSOR_DOWNARROW, kMouseKnob,  adfTenthsDown),
    mouseChild (346,  67,  23, 53, CURSOR_UPARROW,   kMouseKnob,  adfTenthsUp),
    mouseEndParent(),
    mouseEndOfList(),
};
// clang-format on

}  // namespace

GAUGEHDR adfGaugeHeader =
    standardGaugeHeader("ADF", &adfElementList, adfMouseRects, adfGaugeCallback);
