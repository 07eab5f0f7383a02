// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/wave_slots.h"

namespace korvelane {
namespace {
constexpr const char* kColumnNames[kSlotCount] = {"CH1",   "CH2",   "Chan3", "Chan4",
                                                  "Chan5", "Chan6", "Chan7"};
constexpr const char* kBoxNames[kSlotCount] = {"CH1",    "CH2",    "Chan 3", "Chan 4",
                                               "Chan 5", "Chan 6", "Chan 7"};
}  // namespace

const char* SlotColumnName(int slot) {
  return WaveSlotTable::Valid(slot) ? kColumnNames[slot - 1] : "";
}

const char* SlotBoxName(int slot) {
  return WaveSlotTable::Valid(slot) ? kBoxNames[slot - 1] : "";
}

}  // namespace korvelane
