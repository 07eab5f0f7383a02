// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/panel/panel_tables.h"

namespace korvelane {

const PanelKeyEntry kPanelKeys[kPanelKeyCount] = {
    {kKeyHoriMenu, "H_MENU", "HORI_MENU click down", kNoLamp},
    {kKeyMeasure, "MEASURE", "MEASURE click down", kNoLamp},
    {kKeyAcquire, "ACQUIRE", "ACQUIRE click down", kNoLamp},
    {kKeyDisplay, "DISPLAY", "DISPLAY click down", kNoLamp},
    {kKeyDefaultSetup, "DEF/SET", "DEFAULT_SETUP click down", kNoLamp},
    {kKeyAuto, "AUTO", "AUTO click down", kNoLamp},
    {kKeySave, "SAVE", "SAVE_RECALL click down", kNoLamp},
    {kKeyUtility, "UTILITY", "UTILITY click down", kNoLamp},
    {kKeyTrigMenu, "T_MENU", "TRIG_MENU click down", kNoLamp},
    {kKeyForce, "FORCE", "FORCE click down", kNoLamp},
    {kKeySetTo50, "SET 50%", "SET_TO_50% click down", kNoLamp},
    {kKeyMb1, "MB_1", "MB_1 click down", kNoLamp},
    {kKeyMb2, "MB_2", "MB_2 click down", kNoLamp},
    {kKeyMb3, "MB_3", "MB_3 click down", kNoLamp},
    {kKeyMb4, "MB_4", "MB_4 click down", kNoLamp},
    {kKeyMb5, "MB_5", "MB_5 click down", kNoLamp},
    {kKeyCursor, "CURSOR", "CURSOR click down", kLampCursor},
    {kKeyRunStop, "RUN/STOP", "RUN/STOP click down", kLampRunStop},
    {kKeySingle, "SINGLE", "SINGLE click down", kLampSingle},
    {kKeyCh1, "CH1", "CH1 click down", kLampCh1},
    {kKeyCh2, "CH2", "CH2 click down", kLampCh2},
    {kKeyMath, "MATH", "MATH click down", kLampMath},
    {kKeyRef, "REF", "REF click down", kLampRef},
};

const PanelKnobEntry kPanelKnobs[kPanelKnobCount] = {
    {kKnobSdiv, "S/div knob", "S/div knob oper", "%3d"},
    {kKnobHorPosition, "Hor Position knob", "Hor Position knob oper", "%4d"},
    {kKnobCh1Vdiv, "CH1 V/div knob", "CH1 V/div knob oper", "%3d"},
    {kKnobCh1VerPosition, "CH1 Ver Position knob", "CH1 Ver Position knob oper", "%4d"},
    {kKnobCh2Vdiv, "CH2 V/div knob", "CH2 V/div knob oper", "%3d"},
    {kKnobCh2VerPosition, "CH2 Ver Position knob", "CH2 Ver Position knob oper", "%4d"},
    {kKnobUniversal, "Universal knob", "Universal knob oper", "%4d"},
    {kKnobLevel, "Level knob", "Level knob oper", "%4d"},
};

const KnobPressEntry kKnobPresses[kKnobPressCount] = {
    {kKeySdivPress, kKnobSdiv, "S/div knob click down"},
    {kKeyCh1VdivPress, kKnobCh1Vdiv, "CH1 V/div knob click down"},
    {kKeyCh2VdivPress, kKnobCh2Vdiv, "CH2 V/div knob click down"},
};

const PanelKeyEntry* FindPanelKey(uint8_t code) {
  for (const PanelKeyEntry& key : kPanelKeys) {
    if (key.code == code)
      return &key;
  }
  return nullptr;
}

int KnobRow(int knob) {
  for (int row = 0; row < kPanelKnobCount; ++row) {
    if (kPanelKnobs[row].knob == knob)
      return row;
  }
  return -1;
}

const KnobPressEntry* FindKnobPress(uint8_t code) {
  for (const KnobPressEntry& press : kKnobPresses) {
    if (press.code == code)
      return &press;
  }
  return nullptr;
}

}  // namespace korvelane
