#include "scenario/sim_keys.h"

#include <cmath>
#include <cstdio>

#include "support/number_text.h"

namespace panelhost {

namespace {

struct KeyName {
  SimKey key;
  const char* name;
};

constexpr KeyName kKeyNames[] = {
    {SimKey::Com1Active, "com1.active"}, {SimKey::Com1Standby, "com1.standby"},
    {SimKey::Nav1Active, "nav1.active"}, {SimKey::Nav1Standby, "nav1.standby"},
    {SimKey::AdfActive, "adf.active"},   {SimKey::XpdrCode, "xpdr.code"},
    {SimKey::Nav1Ident, "nav1.ident"},   {SimKey::AdfIdent, "adf.ident"},
};

// A key takes a value when the host's form of it carries the value at the precision the simulation
// keeps and compares it to, so that a script cannot put the simulation where no simulator could.
// COM and NAV travel as 16-bit BCD of the frequency in 10 kHz without the leading 1: 100.000 to
// 199.990 MHz, the 5-kHz digit carried only by a last digit of 2 or 7 (121.725, not 121.720).
constexpr long kLowestKhz = 100000;
constexpr long kHighestKhz = 199990;
// The ADF travels as five BCD digits of tenths of a kHz: 0.0 to 9999.9 kHz.
constexpr long long kHighestAdfTenths = 99999;

bool bcd16Carries(long khz) {
  const long tens = khz / 10 % 10;
  return khz % 10 == (tens == 2 || tens == 7 ? 5 : 0);
}

bool isMhzKey(SimKey key) {
  return key == SimKey::Com1Active || key == SimKey::Com1Standby || key == SimKey::Nav1Active ||
         key == SimKey::Nav1Standby;
}

int& khzField(RadioSimState& state, SimKey key) {
  switch (key) {
    case SimKey::Com1Active:
      return state.com1ActiveKhz;
    case SimKey::Com1Standby:
      return state.com1StandbyKhz;
    case SimKey::Nav1Active:
      return state.nav1ActiveKhz;
    default:
      return state.nav1StandbyKhz;
  }
}

}  // namespace

std::optional<SimKey> simKeyNamed(const std::string& name) {
  for (const KeyName& entry : kKeyNames) {
    if (name == entry.name) return entry.key;
  }
  return std::nullopt;
}

const char* simKeyName(SimKey key) {
  for (const KeyName& entry : kKeyNames) {
    if (key == entry.key) return entry.name;
  }
  return "?";
}

bool simKeySettable(SimKey key) { return key != SimKey::Nav1Ident && key != SimKey::AdfIdent; }

std::string simValueForm(SimKey key, SimUse use) {
  if (isMhzKey(key) && use == SimUse::Set) {
    return "a frequency in MHz that the host's BCD form carries, 100.000 to 199.990 with a last "
           "kHz digit of 0, or 5 after a 10-kHz digit of 2 or 7, such as 121.725";
  }
  if (isMhzKey(key)) return "a frequency in MHz from 100.000 to 199.990, such as 121.725";
  if (key == SimKey::AdfActive) return "a frequency in kHz from 0.0 to 9999.9, such as 350.0";
  if (key == SimKey::XpdrCode) return "four digits 0-7 such as 0012";
  return "on or off";
}

std::optional<SimSetting> parseSimValue(SimKey key, const std::string& text, SimUse use) {
  SimSetting setting{key};
  if (isMhzKey(key)) {
    // Kept and compared in whole kHz: 121.7254 is 121.725.
    const auto value = parseNumber(text);
    if (!value || !(std::fabs(*value) < 1e6)) return std::nullopt;
    const long khz = std::lround(*value * 1000);
    if (khz < kLowestKhz || khz > kHighestKhz || (use == SimUse::Set && !bcd16Carries(khz))) {
      return std::nullopt;
    }
    setting.number = *value;
  } else if (key == SimKey::AdfActive) {
    // Kept as given, since the gauge reads it from the calculator and truncates it (415.99 shows
    // 415.9), and compared to the nearest tenth, which five BCD digits must carry.
    const auto value = parseNumber(text);
    if (!value || text[0] == '-' || !(*value >= 0 && *value < 1e6) ||
        std::llround(*value * 10) > kHighestAdfTenths) {
      return std::nullopt;
    }
    setting.number = *value;
  } else if (key == SimKey::XpdrCode) {
    if (text.size() != 4) return std::nullopt;
    for (char digit : text) {
      if (digit < '0' || digit > '7') return std::nullopt;
      setting.code = setting.code * 10 + (digit - '0');
    }
  } else {
    if (text != "on" && text != "off") return std::nullopt;
    setting.on = text == "on";
  }
  return setting;
}

void applySimSetting(RadioSimState& state, const SimSetting& setting) {
  if (isMhzKey(setting.key)) {
    khzField(state, setting.key) = static_cast<int>(std::lround(setting.number * 1000));
  } else if (setting.key == SimKey::AdfActive) {
    state.adfActiveKhz = setting.number;
  } else if (setting.key == SimKey::XpdrCode) {
    state.xpdrCode = setting.code;
  } else if (setting.key == SimKey::Nav1Ident) {
    state.nav1Ident = setting.on;
  } else {
    state.adfIdent = setting.on;
  }
}

bool simHolds(const RadioSimState& state, const SimSetting& expected) {
  RadioSimState copy = state;
  switch (expected.key) {
    case SimKey::AdfActive:
      return std::llround(state.adfActiveKhz * 10) == std::llround(expected.number * 10);
    case SimKey::XpdrCode:
      return state.xpdrCode == expected.code;
    case SimKey::Nav1Ident:
      return state.nav1Ident == expected.on;
    case SimKey::AdfIdent:
      return state.adfIdent == expected.on;
    default:
      return khzField(copy, expected.key) == static_cast<int>(std::lround(expected.number * 1000));
  }
}

std::string simValueText(const RadioSimState& state, SimKey key) {
  RadioSimState copy = state;
  char text[32];
  if (isMhzKey(key)) {
    std::snprintf(text, sizeof text, "%.3f", khzField(copy, key) / 1000.0);
  } else if (key == SimKey::AdfActive) {
    std::snprintf(text, sizeof text, "%.1f", state.adfActiveKhz);
  } else if (key == SimKey::XpdrCode) {
    std::snprintf(text, sizeof text, "%04d", state.xpdrCode);
  } else {
    return (key == SimKey::Nav1Ident ? state.nav1Ident : state.adfIdent) ? "on" : "off";
  }
  return text;
}

}  // namespace panelhost
