#include "gauges/transponder/transponder_layout.h"

#include "gauges/transponder/transponder_state.h"
#include "host/element_rows.h"
#include "host/gauge_header.h"
#include "host/mouse_rects.h"
#include "resources/bitmaps.h"

namespace {

using bitmap::kXpdrDigitStrip;
using bitmap::kXpdrFacePlate;
using bitmap::kXpdrModeKnob;
using bitmap::kXpdrReplyLamp;

constexpr GaugeElements xpdr(&transponderGaugeHeader);

// The host hides the lamp while any of these failures is active. Key 21 stands twice, as in the
// panels this gauge was made for; the host reads each entry for itself.
FAILURE_RECORD replyLampFailures[] = {
    {17, 3, nullptr},
    {21, 3, nullptr},
    {21, 3, nullptr},
    {0, 0, nullptr},
};

// The face's children, in drawing order. The four drums share one strip (figures 0 to 7, top to
// bottom) and its one-figure window; the knob's four frames cover the knob and its scale, turned
// to OFF, SBY, ON and ALT; the lamp is drawn only while lit, over the face's unlit one.
// clang-format off
//                         strip             x   y  flags X from       Y range Y from
auto thousands = xpdr.drum(kXpdrDigitStrip, 154, 32, 0x3, xpdrStripX0, 0, 7,   xpdrStripY0);
auto hundreds  = xpdr.drum(kXpdrDigitStrip, 221, 32, 0x3, xpdrStripX1, 0, 7,   xpdrStripY1);
auto tens      = xpdr.drum(kXpdrDigitStrip, 287, 32, 0x3, xpdrStripX2, 0, 7,   xpdrStripY2);
auto units     = xpdr.drum(kXpdrDigitStrip, 352, 32, 0x3, xpdrStripX3, 0, 7,   xpdrStripY3);
//                         frames            x   y  flags failures           frame from
auto modeKnob  = xpdr.icon(kXpdrModeKnob,    0, 36, 0x0, nullptr,           xpdrModeIcon);
auto replyLamp = xpdr.icon(kXpdrReplyLamp,  32,  0, 0x3, replyLampFailures, xpdrReplyLampIcon);
// clang-format on

ELEMENT_HEADER* faceChildren[] = {
    &thousands.header, &hundreds.header,  &tens.header, &units.header,
    &modeKnob.header,  &replyLamp.header, nullptr,
};

//                    bitmap          x  y  flags children
auto face = xpdr.face(kXpdrFacePlate, 0, 0, 0x1, faceChildren);

ELEMENT_HEADER* transponderElementList = &face.header;

// clang-format off
MOUSERECT transponderMouseRects[] = {
    //           x    y    w   h  cursor            flags               handler or tooltip
    mouseParent(  0,   0,   0,  0),
    mouseParent( 44,  39,  41, 46),
    mouseTooltip("Transponder Mode"),
    mouseEndParent(),
    mouseChild ( 44,  39,  41, 26, CURSOR_UPARROW,   kMouseClick,        xpdrModeUp),
    mouseChild ( 44,  66,  41, 20, CURSOR_DOWNARROW, kMouseClick,        xpdrModeDown),
    mouseParent(142,  54, 239, 31),
    mouseTooltip("Transponder Code select"),
    mouseEndParent(),
    mouseChild (142,  54,  20, 31, CURSOR_DOWNARROW, kMouseKnob,         xpdrDigit0Down),
    mouseChild (163,  54,  20, 31, CURSOR_UPARROW,   kMouseKnob,         xpdrDigit0Up),
    mouseChild (209,  54,  20, 31, CURSOR_DOWNARROW, kMouseKnob,         xpdrDigit1Down),
    mouseChild (230,  54,  20, 31, CURSOR_UPARROW,   kMouseKnob,         xpdrDigit1Up),
    mouseChild (275,  54,  20, 31, CURSOR_DOWNARROW, kMouseKnob,         xpdrDigit2Down),
    mouseChild (296,  54,  20, 31, CURSOR_UPARROW,   kMouseKnob,         xpdrDigit2Up),
    mouseChild (340,  54,  20, 31, CURSOR_DOWNARROW, kMouseKnob,         xpdrDigit3Down),
    mouseChild (361,  54,  20, 31, CURSOR_UPARROW,   kMouseKnob,         xpdrDigit3Up),
    mouseParent(101,  80,  22, 21),
    mouseTooltip("Test Mode"),
    mouseEndParent(),
    mouseChild (101,  80,  22, 21, CURSOR_HAND,      kMouseClickRelease, xpdrTestButton),
    mouseParent(104,  11,  24, 21),
    mouseTooltip("Squawk Ident"),
    mouseEndParent(),
    mouseChild (104,  11,  24, 21, CURSOR_HAND,      kMouseClick,        xpdrIdentButton),
    mouseEndParent(),
    mouseEndOfList(),
};
// clang-format on

}  // namespace

GAUGEHDR transponderGaugeHeader = standardGaugeHeader(
    "Transponder", &transponderElementList, transponderMouseRects, transponderGaugeCallback);
