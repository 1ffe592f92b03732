// The numbers this module exchanges with the host: key events it sends, module variables and
// calculator expressions it reads, and the timer ids it owns on the host's main window.
#pragma once

#include "host/interface/gauge_records.h"

namespace keyevent {
constexpr ID kCom1ActiveSet = 65707;   // value: Bcd16Frequency
constexpr ID kNav1ActiveSet = 65708;   // value: Bcd16Frequency
constexpr ID kTransponderSet = 65715;  // value: the four code digits as nibbles
constexpr ID kAdfSet = 66479;          // value: adfTenthsToBcd32 of the frequency
constexpr ID kNav1IdentOff = 65832;    // value: 0
constexpr ID kNav1IdentOn = 65837;     // value: 0
constexpr ID kAdfIdentOff = 65836;     // value: 0
constexpr ID kAdfIdentOn = 65841;      // value: 0
}  // namespace keyevent

namespace modulevar {
constexpr SINT32 kCom1ActiveFrequency = 23;  // Bcd16Frequency
constexpr SINT32 kNav1ActiveFrequency = 24;  // Bcd16Frequency
}  // namespace modulevar

namespace calculator {
constexpr const char* kCom1Standby = "A:COM1 STANDBY FREQUENCY, Megahertz";
constexpr const char* kNav1Standby = "A:NAV1 STANDBY FREQUENCY, Megahertz";
// Already carries its parentheses: handed to the host unchanged.
constexpr const char* kAdfActive = "(A:ADF ACTIVE FREQUENCY:1,KHz)";
}  // namespace calculator

namespace paneltimer {
constexpr UINT kXpdrIdentWindow = 1;
constexpr UINT kXpdrReplyLit = 2;
constexpr UINT kXpdrReplyDark = 3;
constexpr UINT kComNavSettle = 4;
constexpr UINT kFirstOwned = 1;
constexpr UINT kLastOwned = 4;

constexpr UINT kXpdrIdentWindowMs = 18000;
constexpr UINT kXpdrReplyLitMs = 500;
constexpr UINT kXpdrReplyDarkMs = 2000;
constexpr UINT kComNavSettleMs = 5000;
}  // namespace paneltimer
