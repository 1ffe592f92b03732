#include "gauges/transponder/transponder_layout.h"

#include "gauges/transponder/transponder_state.h"
#include "module/element_list_routines.h"

namespace {

constexpr FLAGS kTransparent = IMAGE_USE_TRANSPARENCY;
constexpr FLAGS kTransparentErase = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE;

// The host hides the lamp while any of these failures is active.
FAILURE_RECORD replyLampFailures[] = {
    {17, 3, 0},
    {21, 3, 0},
    {21, 3, 0},
    {0, 0, 0},
};

// The four drums share one strip (figures 0..7, top to bottom) and one one-figure window.
// clang-format off
constexpr ELEMENT_MOVING_IMAGE drum(SINT32 x, PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK stripX,
                                    PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK stripY) {
  return {{ELEMENT_TYPE_MOVING_IMAGE, kXpdrDigitStripBitmap, {x, 32}, {0, 0}, {0, 0},
           &transponderGaugeHeader, nullptr, nullptr, nullptr, kTransparentErase, 0, 0},
          0.0, 0.0, stripX,
          0.0, 7.0, stripY};
}

ELEMENT_MOVING_IMAGE thousandsDrum = drum(154, xpdrStripX0, xpdrStripY0);
ELEMENT_MOVING_IMAGE hundredsDrum  = drum(221, xpdrStripX1, xpdrStripY1);
ELEMENT_MOVING_IMAGE tensDrum      = drum(287, xpdrStripX2, xpdrStripY2);
ELEMENT_MOVING_IMAGE unitsDrum     = drum(352, xpdrStripX3, xpdrStripY3);

// Its four frames cover the knob and its scale, turned to OFF, SBY, ON and ALT.
ELEMENT_ICON modeKnob = {
    {ELEMENT_TYPE_ICON, kXpdrModeKnobBitmap, {0, 36}, {0, 0}, {0, 0},
     &transponderGaugeHeader, nullptr, nullptr, nullptr, 0x0, 0, 0},
    4, xpdrModeIcon, 0, 0, 0.0, 0};

// Drawn only while lit; otherwise the face plate's unlit lamp shows.
ELEMENT_ICON replyLamp = {
    {ELEMENT_TYPE_ICON, kXpdrReplyLampBitmap, {32, 0}, {0, 0}, {0, 0},
     &transponderGaugeHeader, nullptr, nullptr, replyLampFailures, kTransparentErase, 0, 0},
    1, xpdrReplyLampIcon, 0, 0, 0.0, 0};
// clang-format on

ELEMENT_HEADER* facePlateChildren[] = {
    &thousandsDrum, &hundredsDrum, &tensDrum, &unitsDrum, &modeKnob, &replyLamp, nullptr,
};

// clang-format off
ELEMENT_STATIC_IMAGE facePlate = {
    {ELEMENT_TYPE_STATIC_IMAGE, kXpdrFacePlateBitmap, {0, 0}, {0, 0}, {0, 0},
     &transponderGaugeHeader, nullptr, facePlateChildren, nullptr, kTransparent, 0, 0}};
// clang-format on

ELEMENT_HEADER* transponderElementList = &facePlate;

constexpr FLAGS kClick = MOUSE_LEFTSINGLE;
constexpr FLAGS kClickRelease = MOUSE_LEFTSINGLE | MOUSE_LEFTRELEASE;
constexpr FLAGS kKnob = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT | MOUSE_WHEEL_UP | MOUSE_WHEEL_DOWN;

constexpr MOUSE_RECT_TYPE PARENT = MOUSE_RECT_PARENT;
constexpr MOUSE_RECT_TYPE CHILD = MOUSE_RECT_CHILD;
constexpr MOUSE_RECT_TYPE USER = MOUSE_RECT_USER;
constexpr MOUSE_RECT_TYPE END = MOUSE_RECT_END_PARENT;
constexpr CURSOR_TYPE NONE = CURSOR_NONE;
constexpr CURSOR_TYPE UP = CURSOR_UPARROW;
constexpr CURSOR_TYPE DOWN = CURSOR_DOWNARROW;
constexpr CURSOR_TYPE HAND = CURSOR_HAND;

// clang-format off
MOUSERECT transponderMouseRects[] = {
    {PARENT,         {  0,  0,   0,  0}, NONE, 0, 0,             0, nullptr,                   nullptr},
    {PARENT,         { 44, 39,  41, 46}, NONE, 0, 0,             0, nullptr,                   nullptr},
    {USER,           {  0,  0,   0,  0}, NONE, 0, 0,             0, "Transponder Mode",        nullptr},
    {END,            {  0,  0,   0,  0}, NONE, 0, 0,             0, nullptr,                   nullptr},
    {CHILD,          { 44, 39,  41, 26}, UP,   0, kClick,        0, xpdrModeUp,                nullptr},
    {CHILD,          { 44, 66,  41, 20}, DOWN, 0, kClick,        0, xpdrModeDown,              nullptr},
    {PARENT,         {142, 54, 239, 31}, NONE, 0, 0,             0, nullptr,                   nullptr},
    {USER,           {  0,  0,   0,  0}, NONE, 0, 0,             0, "Transponder Code select", nullptr},
    {END,            {  0,  0,   0,  0}, NONE, 0, 0,             0, nullptr,                   nullptr},
    {CHILD,          {142, 54,  20, 31}, DOWN, 0, kKnob,         0, xpdrDigit0Down,            nullptr},
    {CHILD,          {163, 54,  20, 31}, UP,   0, kKnob,         0, xpdrDigit0Up,              nullptr},
    {CHILD,          {209, 54,  20, 31}, DOWN, 0, kKnob,         0, xpdrDigit1Down,            nullptr},
    {CHILD,          {230, 54,  20, 31}, UP,   0, kKnob,         0, xpdrDigit1Up,              nullptr},
    {CHILD,          {275, 54,  20, 31}, DOWN, 0, kKnob,         0, xpdrDigit2Down,            nullptr},
    {CHILD,          {296, 54,  20, 31}, UP,   0, kKnob,         0, xpdrDigit2Up,              nullptr},
    {CHILD,          {340, 54,  20, 31}, DOWN, 0, kKnob,         0, xpdrDigit3Down,            nullptr},
    {CHILD,          {361, 54,  20, 31}, UP,   0, kKnob,         0, xpdrDigit3Up,              nullptr},
    {PARENT,         {101, 80,  22, 21}, NONE, 0, 0,             0, nullptr,                   nullptr},
    {USER,           {  0,  0,   0,  0}, NONE, 0, 0,             0, "Test Mode",               nullptr},
    {END,            {  0,  0,   0,  0}, NONE, 0, 0,             0, nullptr,                   nullptr},
    {CHILD,          {101, 80,  22, 21}, HAND, 0, kClickRelease, 0, xpdrTestButton,            nullptr},
    {PARENT,         {104, 11,  24, 21}, NONE, 0, 0,             0, nullptr,                   nullptr},
    {USER,           {  0,  0,   0,  0}, NONE, 0, 0,             0, "Squawk Ident",            nullptr},
    {END,            {  0,  0,   0,  0}, NONE, 0, 0,             0, nullptr,                   nullptr},
    {CHILD,          {104, 11,  24, 21}, HAND, 0, kClick,        0, xpdrIdentButton,           nullptr},
    {END,            {  0,  0,   0,  0}, NONE, 0, 0,             0, nullptr,                   nullptr},
    {MOUSE_RECT_EOL, {  0,  0,   0,  0}, NONE, 0, 0,             0, nullptr,                   nullptr},
};
// clang-format on

}  // namespace

GAUGEHDR transponderGaugeHeader = standardGaugeHeader(
    "Transponder", &transponderElementList, transponderMouseRects, transponderGaugeCallback);
