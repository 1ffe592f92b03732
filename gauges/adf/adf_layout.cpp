#include "gauges/adf/adf_layout.h"

#include "gauges/adf/adf_state.h"
#include "host/element_headers.h"
#include "host/mouse_rects.h"
#include "module/element_list_routines.h"

namespace {

constexpr FLAGS kNoImageFlags = 0x0;
constexpr FLAGS kTransparent = IMAGE_USE_TRANSPARENCY;
constexpr FLAGS kTransparentErase = IMAGE_USE_TRANSPARENCY | IMAGE_USE_ERASE;

constexpr ID kBackgroundBitmap = 12288;
constexpr ID kModeKnobFirstFrame = 12544;   // OFF, ADF, ANT, BFO
constexpr ID kIdentKnobFirstFrame = 12800;  // off, on
constexpr ID kHundredsStrip = 13056;        // its window is 13057
constexpr ID kDigitStrip = 13312;           // its window is 13313
constexpr SINT32 kDrumTop = 40;

constexpr ELEMENT_HEADER adfElement(ELEMENT_TYPE_ENUM kind, ID bitmap, SINT32 x, SINT32 y,
                                    FLAGS imageFlags, ELEMENT_HEADER** children = nullptr) {
  return elementHeader(kind, bitmap, x, y, &adfGaugeHeader, imageFlags, children);
}

constexpr ELEMENT_ICON icon(ID firstFrame, SINT32 x, SINT32 y, SINT32 frames,
                            PELEMENT_ICON_UPDATE_CALLBACK frameFromState) {
  return iconElement(adfElement(ELEMENT_TYPE_ICON, firstFrame, x, y, kNoImageFlags), frames,
                     frameFromState);
}

// Every drum moves only vertically; the minimum of its Y range stands for the strip's top cell.
constexpr ELEMENT_MOVING_IMAGE drum(ID strip, SINT32 x, FLOAT64 minY, FLOAT64 maxY,
                                    PELEMENT_MOVING_IMAGE_UPDATE_CALLBACK yFromState) {
  return movingImage(adfElement(ELEMENT_TYPE_MOVING_IMAGE, strip, x, kDrumTop, kTransparentErase),
                     0.0, 0.0, adfStripX, minY, maxY, yFromState);
}

// clang-format off
//                                        first frame            x   y  frames  frame from
ELEMENT_ICON adfModeKnob  =         icon(kModeKnobFirstFrame,   0,  0,  4,      adfModeIcon);
ELEMENT_ICON adfIdentKnob =         icon(kIdentKnobFirstFrame,  0, 92,  2,      adfIdentIcon);

//                                        strip             x    Y range     Y from
ELEMENT_MOVING_IMAGE adfHundredsDrum = drum(kHundredsStrip, 193, 1.0, 18.0, adfHundredsStripY);
ELEMENT_MOVING_IMAGE adfTensDrum     = drum(kDigitStrip,    229, 0.0, 10.0, adfTensStripY);
ELEMENT_MOVING_IMAGE adfUnitsDrum    = drum(kDigitStrip,    247, 0.0, 10.0, adfUnitsStripY);
ELEMENT_MOVING_IMAGE adfTenthsDrum   = drum(kDigitStrip,    275, 0.0, 10.0, adfTenthsStripY);
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
    ELEMENT_TYPE_STATIC_IMAGE, kBackgroundBitmap, 0, 0, kTransparent, adfBackgroundChildren));

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
