#include "gauges/adf/adf_layout.h"

#include "gauges/adf/adf_state.h"
#include "host/element_headers.h"
#include "host/mouse_rects.h"
#include "module/element_list_routines.h"
#include "resources/bitmaps.h"

namespace {

constexpr FLAGS kNoImageFlags = 0x0;
constexpr FLAGS kTransparent = IMAGE_USE_TRANSPARENCY;
constexpr FLAGS kTransparentErase = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE;

constexpr SINT32 kDrumTop = 40;

constexpr ELEMENT_HEADER adfElement(ELEMENT_TYPE_ENUM kind, ID bitmap, SINT32 x, SINT32 y,
                                    FLAGS imageFlags, ELEMENT_HEADER** children = nullptr) {
  return elementHeader(kind, bitmap, x, y, &adfGaugeHeader, imageFlags, children);
}

constexpr ELEMENT_ICON icon(const BitmapRecord& frames, SINT32 x, SINT32 y,
                            PELEMENT_ICON_UPDATE_CALLBACK frameFromState) {
  return iconElement(adfElement(ELEMENT_TYPE_ICON, frames.id, x, y, kNoImageFlags), frames.frames,
                     frameFromState);
}

// Every drum moves only vertically; the minimum of its Y range stands for the strip's top cell.
constexpr ELEMENT_MOVING_IMAGE drum(const BitmapRecord& strip, SINT32 x, FLOAT64 minY, FLOAT64 maxY,
                                    PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK yFromState) {
  return movingImage(
      adfElement(ELEMENT_TYPE_MOVING_IMAGE, strip.id, x, kDrumTop, kTransparentErase), 0.0, 0.0,
      adfStripX, minY, maxY, yFromState);
}

// clang-format off
//                                        frames                   x   y  frame from
ELEMENT_ICON adfModeKnob  =         icon(bitmap::kAdfModeKnob,    0,  0, adfModeIcon);
ELEMENT_ICON adfIdentKnob =         icon(bitmap::kAdfIdentKnob,   0, 92, adfIdentIcon);

//                               strip                      x   Y range     Y from
ELEMENT_MOVING_IMAGE adfHundredsDrum =
                            drum(bitmap::kAdfHundredsStrip, 193, 1.0, 18.0, adfHundredsStripY);
ELEMENT_MOVING_IMAGE adfTensDrum =
                            drum(bitmap::kAdfDigitStrip,    229, 0.0, 10.0, adfTensStripY);
ELEMENT_MOVING_IMAGE adfUnitsDrum =
                            drum(bitmap::kAdfDigitStrip,    247, 0.0, 10.0, adfUnitsStripY);
ELEMENT_MOVING_IMAGE adfTenthsDrum =
                            drum(bitmap::kAdfDigitStrip,    275, 0.0, 10.0, adfTenthsStripY);
// clang-format on

ELEMENT_HEADER* adfBackgroundChildren[] = {
    &adfModeKnob.header,
    &adfIdentKnob.header,
    &adfHundredsDrum.header,
    &adfTensDrum.header,
    &adfUnitsDrum.header,
    &adfTenthsDrum.header,
    nullptr,
};

ELEMENT_STATIC_IMAGE adfBackground = staticImage(adfElement(
    ELEMENT_TYPE_STATIC_IMAGE, bitmap::kAdfFace.id, 0, 0, kTransparent, adfBackgroundChildren));

ELEMENT_HEADER* adfElementList = &adfBackground.header;

// clang-format off
MOUSERECT adfMouseRects[] = {
    mouseParent(  0,   0,   0,   0),
    mouseParent( 24,  24,  44,  42),
    mouseTooltip("ADF Mode"),
    mouseEndParent(),
    mouseChild ( 24,  24,  22,  42, CURSOR_DOWNARROW, kMouseClick,        adfModeDown),
    mouseChild ( 47,  24,  22,  42, CURSOR_UPARROW,   kMouseClick,        adfModeUp),
    mouseParent( 27, 112,  36,  37),
    mouseTooltip("ADF Ident"),
    mouseEndParent(),
    mouseChild ( 27, 112,  36,  37, CURSOR_HAND,      kMouseClick,        adfIdentToggle),
    mouseParent(102,  50, 197,  87),
    mouseTooltip("ADF Frequency select"),
    mouseEndParent(),
    mouseChild (102,  50,  23,  87, CURSOR_DOWNARROW, kMouseKnob,         adfHundredsDown),
    mouseChild (174,  50,  23,  87, CURSOR_UPARROW,   kMouseKnob,         adfHundredsUp),
    mouseChild (126,  67,  23,  53, CURSOR_DOWNARROW, kMouseKnob,         adfTensDown),
    mouseChild (150,  67,  23,  53, CURSOR_UPARROW,   kMouseKnob,         adfTensUp),
    mouseParent(299,  50, 197,  87),
    mouseTooltip("ADF Frequency select"),
    mouseEndParent(),
    mouseChild (299,  50,  23,  87, CURSOR_DOWNARROW, kMouseKnob,         adfUnitsDown),
    mouseChild (370,  50,  23,  87, CURSOR_UPARROW,   kMouseKnob,         adfUnitsUp),
    mouseChild (323,  67,  23,  53, CURSOR_DOWNARROW, kMouseKnob,         adfTenthsDown),
    mouseChild (346,  67,  23,  53, CURSOR_UPARROW,   kMouseKnob,         adfTenthsUp),
    mouseEndParent(),
    mouseEndOfList(),
};
// clang-format on

}  // namespace

GAUGEHDR adfGaugeHeader =
    standardGaugeHeader("ADF", &adfElementList, adfMouseRects, adfGaugeCallback);
