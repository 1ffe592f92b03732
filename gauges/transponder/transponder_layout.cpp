#include "gauges/transponder/transponder_layout.h"

#include "module/element_list_routines.h"

namespace {

ELEMENT_STATIC_IMAGE transponderBackground = {{ELEMENT_TYPE_STATIC_IMAGE, 8192, {0, 0}, {0, 0}, {0, 0},
                                          &transponderGaugeHeader, nullptr, nullptr, nullptr,
                                          IMAGE_USE_TRANSPARENCY, 0, 0}};

ELEMENT_HEADER* transponderElementList = &transponderBackground;

MOUSERECT transponderMouseRects[] = {
    {MOUSE_RECT_PARENT, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_END_PARENT, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_EOL, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
};

}  // namespace

GAUGEHDR transponderGaugeHeader =
    standardGaugeHeader("Transponder", &transponderElementList, transponderMouseRects, nullptr);
