#include "gauges/comnav/comnav_layout.h"

#include "module/element_list_routines.h"

namespace {

ELEMENT_STATIC_IMAGE comNavBackground = {{ELEMENT_TYPE_STATIC_IMAGE, 4096, {0, 0}, {0, 0}, {0, 0},
                                          &comNavGaugeHeader, nullptr, nullptr, nullptr,
                                          IMAGE_USE_TRANSPARENCY, 0, 0}};

ELEMENT_HEADER* comNavElementList = &comNavBackground;

MOUSERECT comNavMouseRects[] = {
    {MOUSE_RECT_PARENT, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_END_PARENT, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_EOL, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
};

}  // namespace

GAUGEHDR comNavGaugeHeader =
    standardGaugeHeader("Com1Nav1", &comNavElementList, comNavMouseRects, nullptr);
