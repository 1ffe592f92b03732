#include "gauges/adf/adf_layout.h"

#include "module/element_list_routines.h"

namespace {

ELEMENT_STATIC_IMAGE adfBackground = {{ELEMENT_TYPE_STATIC_IMAGE, 12288, {0, 0}, {0, 0}, {0, 0},
                                          &adfGaugeHeader, nullptr, nullptr, nullptr,
                                          IMAGE_USE_TRANSPARENCY, 0, 0}};

ELEMENT_HEADER* adfElementList = &adfBackground;

MOUSERECT adfMouseRects[] = {
    {MOUSE_RECT_PARENT, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_END_PARENT, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
    {MOUSE_RECT_EOL, {0, 0, 0, 0}, CURSOR_NONE, 0, 0, 0, nullptr, nullptr},
};

}  // namespace

GAUGEHDR adfGaugeHeader =
    standardGaugeHeader("ADF", &adfElementList, adfMouseRects, nullptr);
