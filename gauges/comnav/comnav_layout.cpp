#include "gauges/comnav/comnav_layout.h"

#include "gauges/comnav/comnav_state.h"
#include "host/element_headers.h"
#include "host/mouse_rects.h"
#include "module/element_list_routines.h"
#include "resources/bitmaps.h"

namespace {

constexpr FLAGS kDisplayImageFlags = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE | IMAGE_USE_BRIGHT;

// The displays go dark on an avionics, electrical or COM/NAV failure.
FAILURE_RECORD comNavDisplayFailures[] = {
    {14, 3, nullptr},
    {20, 3, nullptr},
    {21, 3, nullptr},
    {0, 0, nullptr},
};

extern ELEMENT_HEADER* comNavChildren[];

ELEMENT_STATIC_IMAGE comNavFaceplate =
    staticImage(elementHeader(ELEMENT_TYPE_STATIC_IMAGE, bitmap::kComNavFaceplate.id, 0, 0,
                              &comNavGaugeHeader, IMAGE_USE_TRANSPARENCY, comNavChildren));

// Red seven-segment digits on black, right-aligned and centred in a 78 x 26 box. A display shows
// seven characters ("123.420"); with its terminator that is the buffer the host must give.
constexpr TextLook kFrequencyDisplay = {
    {78, 26}, 0x003D3FC3, 0x00000000, 0x005C5C5C, "Quartz", 400, 1, 37, 6, 8,
};

constexpr ELEMENT_STRING frequencyDisplay(SINT32 x, SINT32 y,
                                          PELEMENT_STRING_UPDATE_CALLBACK callback) {
  return textElement(elementHeader(ELEMENT_TYPE_STRING, kNoBitmap, x, y, &comNavGaugeHeader,
                                   kDisplayImageFlags, nullptr, comNavDisplayFailures),
                     kFrequencyDisplay, callback);
}

constexpr ELEMENT_ICON twoFrameKnob(const BitmapRecord& frames, SINT32 x, SINT32 y,
                                    PELEMENT_ICON_UPDATE_CALLBACK callback) {
  return iconElement(elementHeader(ELEMENT_TYPE_ICON, frames.id, x, y, &comNavGaugeHeader, 0),
                     frames.frames, callback);
}

ELEMENT_STRING comActiveDisplay = frequencyDisplay(10, 32, comActiveText);
ELEMENT_STRING comStandbyDisplay = frequencyDisplay(112, 32, comStandbyText);
ELEMENT_STRING navActiveDisplay = frequencyDisplay(222, 32, navActiveText);
ELEMENT_STRING navStandbyDisplay = frequencyDisplay(324, 32, navStandbyText);
ELEMENT_ICON powerKnob = twoFrameKnob(bitmap::kComNavPowerKnob, 46, 121, powerSwitchIcon);
ELEMENT_ICON identKnob = twoFrameKnob(bitmap::kComNavIdentKnob, 231, 120, navIdentIcon);

ELEMENT_HEADER* comNavChildren[] = {
    &comActiveDisplay.header,
    &comStandbyDisplay.header,
    &navActiveDisplay.header,
    &navStandbyDisplay.header,
    &powerKnob.header,
    &identKnob.header,
    nullptr,
};

ELEMENT_HEADER* comNavElementList = &comNavFaceplate.header;

// The boxes are the ones panels were drawn against; the knob columns are deliberately uneven.
// clang-format off
MOUSERECT comNavMouseRects[] = {
    mouseParent(  0,   0,   0,   0),
    mouseParent( 64,  87,  58,  60),
    mouseTooltip("COM/NAV on/off"),
    mouseEndParent(),
    mouseChild ( 64,  87,  58,  60, CURSOR_HAND,      kMouseClick,        powerSwitchClick),
    mouseParent(148,  80,  56,  53),
    mouseTooltip("COM Frequency Select"),
    mouseEndParent(),
    mouseChild (176,  89,  15,  35, CURSOR_UPARROW,   kMouseKnob,         comKnobUp25),
    mouseChild (192,  80,  12,  53, CURSOR_UPARROW,   kMouseKnob,         comKnobUp1000),
    mouseChild (160,  89,  15,  35, CURSOR_DOWNARROW, kMouseKnob,         comKnobDown25),
    mouseChild (148,  80,  12,  53, CURSOR_DOWNARROW, kMouseKnob,         comKnobDown1000),
    mouseParent(107,  77,  27,  26),
    mouseTooltip("COM Frequency swap"),
    mouseEndParent(),
    mouseChild (107,  77,  27,  26, CURSOR_HAND,      kMouseClick,        comSwapClick),
    mouseParent(239, 125,  22,  21),
    mouseTooltip("NAV ident"),
    mouseEndParent(),
    mouseChild (239, 125,  22,  21, CURSOR_HAND,      kMouseClick,        navIdentClick),
    mouseParent(300,  61,  75,  67),
    mouseTooltip("NAV Frequency Select"),
    mouseEndParent(),
    mouseChild (350,  91,  15,  35, CURSOR_UPARROW,   kMouseKnob,         navKnobUp25),
    mouseChild (366,  82,  12,  53, CURSOR_UPARROW,   kMouseKnob,         navKnobUp1000),
    mouseChild (334,  91,  15,  35, CURSOR_DOWNARROW, kMouseKnob,         navKnobDown25),
    mouseChild (322,  91,  12,  53, CURSOR_DOWNARROW, kMouseKnob,         navKnobDown1000),
    mouseParent(281,  78,  27,  26),
    mouseTooltip("NAV Frequency swap"),
    mouseEndParent(),
    mouseChild (281,  78,  27,  26, CURSOR_HAND,      kMouseClick,        navSwapClick),
    mouseEndParent(),
    mouseEndOfList(),
};
// clang-format on

}  // namespace

GAUGEHDR comNavGaugeHeader =
    standardGaugeHeader("Com1Nav1", &comNavElementList, comNavMouseRects, comNavGaugeCallback);
