#include "gauges/comnav/comnav_layout.h"

#include "gauges/comnav/comnav_state.h"
#include "host/element_rows.h"
#include "host/gauge_header.h"
#include "host/mouse_rects.h"
#include "resources/bitmaps.h"

namespace {

using bitmap::kComNavFaceplate;
using bitmap::kComNavIdentKnob;
using bitmap::kComNavPowerKnob;

constexpr GaugeElements comNav(&comNavGaugeHeader);

// The displays go dark on an avionics, electrical or COM/NAV failure.
FAILURE_RECORD displayFailures[] = {
    {14, 3, nullptr},
    {20, 3, nullptr},
    {21, 3, nullptr},
    {0, 0, nullptr},
};

// Red seven-segment digits on black, right-aligned and centred in their box.
constexpr TextLook frequencyLook() {
  TextLook look{};
  look.box = {78, 26};
  look.foreground = 0x003D3FC3;
  look.background = 0x00000000;
  look.highlight = 0x005C5C5C;
  look.fontName = "Quartz";
  look.fontWeight = 400;
  look.fontCharset = 1;  // DEFAULT_CHARSET
  look.fontSize = 37;
  look.drawTextFlags = 6;  // DT_RIGHT | DT_VCENTER
  // Seven characters ("123.420") and the terminator: the buffer the host must give.
  look.characters = 8;
  return look;
}
constexpr TextLook kFrequency = frequencyLook();

// The face's children, in drawing order.
// clang-format off
//                            bitmap or look     x    y  flags failures         callback
auto comActive  = comNav.text(kFrequency,        10,  32, 0x7, displayFailures, comActiveText);
auto comStandby = comNav.text(kFrequency,       112,  32, 0x7, displayFailures, comStandbyText);
auto navActive  = comNav.text(kFrequency,       222,  32, 0x7, displayFailures, navActiveText);
auto navStandby = comNav.text(kFrequency,       324,  32, 0x7, displayFailures, navStandbyText);
auto powerKnob  = comNav.icon(kComNavPowerKnob,  46, 121, 0x0, nullptr,         powerSwitchIcon);
auto identKnob  = comNav.icon(kComNavIdentKnob, 231, 120, 0x0, nullptr,         navIdentIcon);
// clang-format on

ELEMENT_HEADER* faceChildren[] = {
    &comActive.header, &comStandby.header, &navActive.header, &navStandby.header,
    &powerKnob.header, &identKnob.header,  nullptr,
};

//                      bitmap            x  y  flags children
auto face = comNav.face(kComNavFaceplate, 0, 0, 0x1, faceChildren);

ELEMENT_HEADER* comNavElementList = &face.header;

// The boxes are the ones panels were drawn against; the knob columns are deliberately uneven.
// clang-format off
MOUSERECT comNavMouseRects[] = {
    //           x    y   w   h  cursor            flags        handler or tooltip
    mouseParent(  0,   0,  0,  0),
    mouseParent( 64,  87, 58, 60),
    mouseTooltip("COM/NAV on/off"),
    mouseEndParent(),
    mouseChild ( 64,  87, 58, 60, CURSOR_HAND,      kMouseClick, powerSwitchClick),
    mouseParent(148,  80, 56, 53),
    mouseTooltip("COM Frequency Select"),
    mouseEndParent(),
    mouseChild (176,  89, 15, 35, CURSOR_UPARROW,   kMouseKnob,  comKnobUp25),
    mouseChild (192,  80, 12, 53, CURSOR_UPARROW,   kMouseKnob,  comKnobUp1000),
    mouseChild (160,  89, 15, 35, CURSOR_DOWNARROW, kMouseKnob,  comKnobDown25),
    mouseChild (148,  80, 12, 53, CURSOR_DOWNARROW, kMouseKnob,  comKnobDown1000),
    mouseParent(107,  77, 27, 26),
    mouseTooltip("COM Frequency swap"),
    mouseEndParent(),
    mouseChild (107,  77, 27, 26, CURSOR_HAND,      kMouseClick, comSwapClick),
    mouseParent(239, 125, 22, 21),
    mouseTooltip("NAV ident"),
    mouseEndParent(),
    mouseChild (239, 125, 22, 21, CURSOR_HAND,      kMouseClick, navIdentClick),
    mouseParent(300,  61, 75, 67),
    mouseTooltip("NAV Frequency Select"),
    mouseEndParent(),
    mouseChild (350,  91, 15, 35, CURSOR_UPARROW,   kMouseKnob,  navKnobUp25),
    mouseChild (366,  82, 12, 53, CURSOR_UPARROW,   kMouseKnob,  navKnobUp1000),
    mouseChild (334,  91, 15, 35, CURSOR_DOWNARROW, kMouseKnob,  navKnobDown25),
    mouseChild (322,  91, 12, 53, CURSOR_DOWNARROW, kMouseKnob,  navKnobDown1000),
    mouseParent(281,  78, 27, 26),
    mouseTooltip("NAV Frequency swap"),
    mouseEndParent(),
    mouseChild (281,  78, 27, 26, CURSOR_HAND,      kMouseClick, navSwapClick),
    mouseEndParent(),
    mouseEndOfList(),
};
// clang-format on

}  // namespace

GAUGEHDR comNavGaugeHeader =
    standardGaugeHeader("Com1Nav1", &comNavElementList, comNavMouseRects, comNavGaugeCallback);
