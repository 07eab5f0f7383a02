// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/select_chan.h"

namespace korvelane {

bool SlotHasModeData(const WaveSlotTable& slot_table, SelectChanMode mode, int slot) {
  if (!WaveSlotTable::Valid(slot))
    return false;
  const WaveSlot& entry = slot_table[slot];
  switch (mode) {
    case SelectChanMode::kWaveData:
      return entry.in_wave_data != 0;
    case SelectChanMode::kMeasurement:
      return entry.in_measurement != 0;
    case SelectChanMode::kWaveGraph:
      return entry.in_graph != 0;
  }
  return false;
}

SelectChanChoice OpenSelectChan(const WaveSlotTable& slot_table, SelectChanMode mode) {
  SelectChanChoice choice;
  for (int slot = 1; slot <= kSlotCount; ++slot)
    choice.enabled[static_cast<size_t>(slot - 1)] = SlotHasModeData(slot_table, mode, slot);
  if (!choice.enabled[0]) {
    for (int index = 1; index < kSlotCount; ++index) {
      if (choice.enabled[static_cast<size_t>(index)]) {
        choice.selection = index;
        break;
      }
    }
  }
  return choice;
}

}  // namespace korvelane
