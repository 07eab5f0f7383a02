// SPDX-License-Identifier: GPL-3.0-or-later
// Which slot a wave file is written from: the choice offered by "Select the Chan" before every
// save of a wave data, wave measurement or wave graph file.
#pragma once

#include <array>

#include "core/views/wave_slots.h"

namespace korvelane {

// The view that saves: its slots can be chosen while they have that view's data.
enum class SelectChanMode : int {
  kWaveData = 0,     // `in_wave_data`
  kMeasurement = 1,  // `in_measurement`
  kWaveGraph = 2,    // `in_graph`
};

// The radios of the dialog: radio i stands for slot i + 1.
struct SelectChanChoice {
  std::array<bool, kSlotCount> enabled{};
  int selection = 0;  // radio index 0..6

  int slot() const { return selection + 1; }
};

// Whether slot 1..7 has the data of `mode`; false for any other slot.
bool SlotHasModeData(const WaveSlotTable& slot_table, SelectChanMode mode, int slot);

// The radios as the dialog opens: a radio is enabled while its slot has the data of `mode`; the
// selection is "CH 1", or the first later slot with data when CH 1 has none. With no slot
// enabled the selection stays on "CH 1".
SelectChanChoice OpenSelectChan(const WaveSlotTable& slot_table, SelectChanMode mode);

}  // namespace korvelane
