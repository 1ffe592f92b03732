// The common header every element of a gauge's tree starts with. The fields the host owns at run
// time (previous position, offset, previous element) start zero.
#pragma once

#include "host/gauge_records.h"

constexpr ELEMENT_HEADER elementHeader(ELEMENT_TYPE_ENUM kind, ID resourceId, SINT32 x, SINT32 y,
                                       GAUGEHDR* gauge, FLAGS imageFlags,
                                       ELEMENT_HEADER** children = nullptr,
                                       FAILURE_RECORD* failures = nullptr) {
  return ELEMENT_HEADER{kind,    resourceId, {x, y},   {0, 0},     {0, 0}, gauge,
                        nullptr, children,   failures, imageFlags, 0,      0};
}

// Text elements carry no bitmap.
constexpr ID kNoBitmap = static_cast<ID>(-1);
