// A gauge's mouse table as a host reads it: which child entry takes an event at a point, and which
// tooltip shows there.
#pragma once

#include <string>
#include <vector>

#include "host/gauge_records.h"

namespace panelhost {

// The entries up to and including the end-of-list entry (or a bounded number when it lacks one).
std::vector<const MOUSERECT*> mouseEntries(const GAUGEHDR* gauge);

bool boxHolds(const PIXBOX& box, int x, int y);

// Index (in mouseEntries) of the first child entry whose box holds the point and whose flags
// accept the event, or -1.
int childTakingEvent(const GAUGEHDR* gauge, int x, int y, FLAGS eventFlag);

// The tooltip of the first parent entry after the outer one whose box holds the point, taken from
// the user entry right after it; "" when none holds it or it has no tooltip.
std::string tooltipAt(const GAUGEHDR* gauge, int x, int y);

const char* mouseEntryKindName(const MOUSERECT* entry);
// "click", "release", "repeat", "wheel up", "wheel down" for one event flag.
const char* mouseEventName(FLAGS eventFlag);

}  // namespace panelhost
