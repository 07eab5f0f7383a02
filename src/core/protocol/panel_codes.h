// SPDX-License-Identifier: GPL-3.0-or-later
// Key and knob codes of the instrument's front panel, and where its lamps are in the parameter
// record's front-panel state bytes.
#pragma once

#include <cstdint>

namespace korvelane {

enum PanelKey : uint8_t {
  kKeyCursor = 1,
  kKeyUtility = 2,
  kKeyMb5 = 3,
  kKeySdivPress = 4,
  kKeyMeasure = 5,
  kKeySave = 6,
  kKeyMb4 = 7,
  kKeyCh1VdivPress = 8,
  kKeyDefaultSetup = 9,
  kKeyRunStop = 10,
  kKeyMb3 = 11,
  kKeyCh2VdivPress = 12,
  kKeySingle = 13,
  kKeyTrigMenu = 14,
  kKeyAuto = 15,
  kKeyAcquire = 17,
  kKeyForce = 18,
  kKeyMb2 = 19,
  kKeyHoriMenu = 21,
  kKeySetTo50 = 22,
  kKeyMb1 = 23,
  kKeyCh1 = 25,
  kKeyDisplay = 26,
  kKeyMath = 27,
  kKeyCh2 = 30,
  kKeyRef = 31,
};

// Knob numbers; knob n turns with code 16n + 15 (increase) and 16n + 17 (decrease).
enum PanelKnob : int {
  kKnobSdiv = 2,
  kKnobCh1Vdiv = 3,
  kKnobCh2Vdiv = 4,
  kKnobUniversal = 5,
  kKnobLevel = 6,
  kKnobHorPosition = 7,
  kKnobCh1VerPosition = 8,
  kKnobCh2VerPosition = 9,
};

constexpr uint8_t KnobIncreaseCode(int knob) {
  return static_cast<uint8_t>(16 * knob + 15);
}
constexpr uint8_t KnobDecreaseCode(int knob) {
  return static_cast<uint8_t>(16 * knob + 17);
}

// Index into `panel_state` (entry i holds parameter-record byte 11 - i) of each lamp.
enum PanelLamp : int {
  kLampCursor = 0,
  kLampRef = 1,
  kLampMath = 2,
  kLampCh2 = 3,
  kLampCh1 = 4,
  kLampSingle = 5,
  kLampIndicator = 6,
  kLampRunStop = 7,  // three states
};

}  // namespace korvelane
