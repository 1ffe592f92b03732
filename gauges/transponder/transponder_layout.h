// The "Transponder" gauge as the host sees it: header, element tree, mouse table.
#pragma once

#include "host/interface/gauge_records.h"

// Bitmap resource ids, as the resource script numbers them.
constexpr ID kXpdrFacePlateBitmap = 8192;    // 417 x 111, 8 bit
constexpr ID kXpdrDigitStripBitmap = 8448;   // 16 x 160, 24 bit: figures 0..7, 20 px each
constexpr ID kXpdrDigitWindowBitmap = 8449;  // 16 x 20, 8 bit: the strip's window, next id
constexpr ID kXpdrModeKnobBitmap = 8704;     // 100 x 75, 8 bit: frames OFF, SBY, ON, ALT
constexpr ID kXpdrReplyLampBitmap = 8960;    // 29 x 35, 8 bit: the lamp lit

extern GAUGEHDR transponderGaugeHeader;
