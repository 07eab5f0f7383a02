// SPDX-License-Identifier: GPL-3.0-or-later
// The keys, knobs and lamps of the virtual front panel: what each one is called, which code it
// sends and what it writes to the operate log.
#pragma once

#include <cstdint>

#include "core/protocol/panel_codes.h"

namespace korvelane {

constexpr int kNoLamp = -1;

// A key of the panel. Each press sends its code with value 1. A lamp key also shows one entry of
// `panel_state`.
struct PanelKeyEntry {
  uint8_t code;
  const char* caption;
  const char* log_text;
  int lamp;  // PanelLamp, or kNoLamp for an ordinary key
};

constexpr int kPanelKeyCount = 23;
extern const PanelKeyEntry kPanelKeys[kPanelKeyCount];

// A knob: a pair of step arrows. The order of the table is the order of the knob markers.
struct PanelKnobEntry {
  int knob;  // PanelKnob
  const char* name;
  const char* log_text;
  const char* scale_format;  // printf format of the pending step count
};

constexpr int kPanelKnobCount = 8;
extern const PanelKnobEntry kPanelKnobs[kPanelKnobCount];

// A knob-press button beside one of three knobs.
struct KnobPressEntry {
  uint8_t code;
  int knob;  // PanelKnob
  const char* log_text;
};

constexpr int kKnobPressCount = 3;
extern const KnobPressEntry kKnobPresses[kKnobPressCount];

// The entry of a key code, or null.
const PanelKeyEntry* FindPanelKey(uint8_t code);
// Row of a knob in kPanelKnobs (its marker), or -1.
int KnobRow(int knob);
// The entry of a knob-press code, or null.
const KnobPressEntry* FindKnobPress(uint8_t code);

}  // namespace korvelane
