// A PANELS table for the Windows smoke test: it records the key events the module sends and
// answers module variables and calculator expressions from a small fixed simulation.
#pragma once

#include <string>
#include <vector>

#include "host/interface/gauge_records.h"

struct RecordedKeyEvent {
  ID eventId;
  UINT32 value;
};

struct SmokeSimulation {
  UINT32 com1ActiveBcd = 0x2280;  // 122.80 MHz
  UINT32 nav1ActiveBcd = 0x1050;  // 110.50 MHz
  double com1StandbyMhz = 121.5;
  double nav1StandbyMhz = 113.9;
  double adfActiveKhz = 350.0;
};

// The one table the module is handed, and what the module has done through it so far.
struct RecordingPanels {
  SmokeSimulation simulation;
  std::vector<RecordedKeyEvent> keyEvents;
  std::vector<std::string> unknownRequests;  // what the module asked for that we cannot answer
  PANELS table;
};

RecordingPanels& recordingPanels();
