// SPDX-License-Identifier: GPL-3.0-or-later
// The seven wave slots through which the graph, the three lists and the wave files agree on which
// waves exist. Slot 1 is CH1, slot 2 is CH2, slots 3..7 hold waves loaded from files; slot n is
// column n of every list and plot n of the graph.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace korvelane {

constexpr int kSlotCount = 7;
constexpr int kCh1Slot = 1;
constexpr int kCh2Slot = 2;
constexpr int kFirstFileSlot = 3;

struct WaveSlot {
  uint8_t in_graph = 0;        // shown on the graph
  uint8_t in_wave_data = 0;    // has a column in the Wave Data list
  uint8_t in_measurement = 0;  // has a column in the measurement list
  int32_t count = 0;           // samples of the wave

  bool free() const { return in_graph == 0 && in_wave_data == 0 && in_measurement == 0; }
};

class WaveSlotTable {
 public:
  static bool Valid(int slot) { return slot >= 1 && slot <= kSlotCount; }

  // Slot 1..7; callers check the number with Valid first.
  WaveSlot& operator[](int slot) { return slots_[static_cast<size_t>(slot - 1)]; }
  const WaveSlot& operator[](int slot) const { return slots_[static_cast<size_t>(slot - 1)]; }

 private:
  std::array<WaveSlot, kSlotCount> slots_{};
};

// How a wave loaded from a file into slot 3..7 is shown on the graph: the right pane's openers of
// wave data and measurement files load it hidden, the Wave Graph view's reader shows it.
enum class LoadMode : int { kHideWaveData = 0, kHideMeasurement = 1, kShow = 2 };

// Column header of slot 1..7: "CH1", "CH2", "Chan3" .. "Chan7"; "" for any other number.
const char* SlotColumnName(int slot);

// Check-box label of slot 1..7: "CH1", "CH2", "Chan 3" .. "Chan 7"; "" for any other number.
const char* SlotBoxName(int slot);

}  // namespace korvelane
