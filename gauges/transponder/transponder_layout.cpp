#include "gauges/transponder/transponder_layout.h"

#include "gauges/transponder/transponder_state.h"
#include "host/element_headers.h"
#include "host/mouse_rects.h"
#include "module/element_list_routines.h"
#include "resources/bitmaps.h"

namespace {

constexpr FLAGS kTransparent = IMAGE_USE_TRANSPARENCY;
constexpr FLAGS kTransparentErase = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE;

// The host hides the lamp while any of these failures is active.
FAILURE_RECORD replyLampFailures[] = {
    {17, 3, nullptr},
    {21, 3, nullptr},
    {21, 3, nullptr},
    {0, 0, nullptr},
};

// The four drums share one strip (figures 0..7, top to bottom) and one one-figure window.
// clang-format off
constexpr ELEMENT_MOVING_IMAGE drum(SINT32 x, PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK stripX,
                                    PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK stripY) {
  return movingImage(elementHeader(ELEMENT_TYPE_MOVING_IMAGE, bitmap::kXpdrDigitStrip.id, x, 32,
                                   &transponderGaugeHeader, kTransparentErase),
                     0.0, 0.0, stripX,
                     0.0, 7.0, stripY);
}

ELEMENT_MOVING_IMAGE thousandsDrum = drum(154, xpdrStripX0, xpdrStripY0);
ELEMENT_MOVING_IMAGE hundredsDrum  = drum(221, xpdrStripX1, xpdrStripY1);
ELEMENT_MOVING_IMAGE tensDrum      = drum(287, xpdrStripX2, xpdrStripY2);
ELEMENT_MOVING_IMAGE unitsDrum     = drum(352, xpdrStripX3, xpdrStripY3);

// Its four frames cover the knob and its scale, turned to OFF, SBY, ON and ALT.
ELEMENT_ICON modeKnob = iconElement(
    elementHeader(ELEMENT_TYPE_ICON, bitmap::kXpdrModeKnob.id, 0, 36, &transponderGaugeHeader, 0x0),
    bitmap::kXpdrModeKnob.frames, xpdrModeIcon);

// Drawn only while lit; otherwise the face plate's unlit lamp shows.
ELEMENT_ICON replyLamp = iconElement(
    elementHeader(ELEMENT_TYPE_ICON, bitmap::kXpdrReplyLamp.id, 32, 0, &transponderGaugeHeader,
                  kTransparentErase, nullptr, replyLampFailures),
    bitmap::kXpdrReplyLamp.frames, xpdrReplyLampIcon);
// clang-format on

ELEMENT_HEADER* facePlateChildren[] = {
    &thousandsDrum.header, &hundredsDrum.header, &tensDrum.header, &unitsDrum.header,
    &modeKnob.header,      &replyLamp.header,    nullptr,
};

// clang-format off
ELEMENT_STATIC_IMAGE facePlate =
    staticImage(elementHeader(ELEMENT_TYPE_STATIC_IMAGE, bitmap::kXpdrFacePlate.id, 0, 0,
                              &transponderGaugeHeader, kTransparent, facePlateChildren));
// clang-format on

ELEMENT_HEADER* transponderElementList = &facePlate.header;

// clang-format off
MOUSERECT transponderMouseRects[] = {
    mouseParent(  0,   0,   0,   0),
    mouseParent( 44,  39,  41,  46),
    mouseTooltip("Transponder Mode"),
    mouseEndParent(),
    mouseChild ( 44,  39,  41,  26, CURSOR_UPARROW,   kMouseClick,        xpdrModeUp),
    mouseChild ( 44,  66,  41,  20, CURSOR_DOWNARROW, kMouseClick,        xpdrModeDown),
    mouseParent(142,  54, 239,  31),
    mouseTooltip("Transponder Code select"),
    mouseEndParent(),
    mouseChild (142,  54,  20,  31, CURSOR_DOWNARROW, kMouseKnob,         xpdrDigit0Down),
    mouseChild (163,  54,  20,  31, CURSOR_UPARROW,   kMouseKnob,         xpdrDigit0Up),
    mouseChild (209,  54,  20,  31, CURSOR_DOWNARROW, kMouseKnob,         xpdrDigit1Down),
    mouseChild (230,  54,  20,  31, CURSOR_UPARROW,   kMouseKnob,         xpdrDigit1Up),
    mouseChild (275,  54,  20,  31, CURSOR_DOWNARROW, kMouseKnob,         xpdrDigit2Down),
    mouseChild (296,  54,  20,  31, CURSOR_UPARROW,   kMouseKnob,         xpdrDigit2Up),
    mouseChild (340,  54,  20,  31, CURSOR_DOWNARROW, kMouseKnob,         xpdrDigit3Down),
    mouseChild (361,  54,  20,  31, CURSOR_UPARROW,   kMouseKnob,         xpdrDigit3Up),
    mouseParent(101,  80,  22,  21),
    mouseTooltip("Test Mode"),
    mouseEndParent(),
    mouseChild (101,  80,  22,  21, CURSOR_HAND,      kMouseClickRelease, xpdrTestButton),
    mouseParent(104,  11,  24,  21),
    mouseTooltip("Squawk Ident"),
    mouseEndParent(),
    mouseChild (104,  11,  24,  21, CURSOR_HAND,      kMouseClick,        xpdrIdentButton),
    mouseEndParent(),
    mouseEndOfList(),
};
// clang-format on

}  // namespace

GAUGEHDR transponderGaugeHeader = standardGaugeHeader(
    "Transponder", &transponderElementList, transponderMouseRects, transponderGaugeCallback);
