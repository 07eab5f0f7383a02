// SPDX-License-Identifier: GPL-3.0-or-later
// The channel choice before a wave file is written.
#include "core/views/select_chan.h"

#include <gtest/gtest.h>

#include <vector>

namespace korvelane {
namespace {

std::vector<int> EnabledSlots(const SelectChanChoice& choice) {
  std::vector<int> slots;
  for (int index = 0; index < kSlotCount; ++index) {
    if (choice.enabled[static_cast<size_t>(index)])
      slots.push_back(index + 1);
  }
  return slots;
}

TEST(SelectChanTest, EachModeOffersTheSlotsWithItsViewsData) {
  WaveSlotTable table;
  table[1] = {1, 1, 0, 4000};  // graph and wave data
  table[2] = {0, 0, 1, 0};     // measurements only
  table[5] = {0, 1, 1, 800};   // a wave data file with measurements, hidden
  table[7] = {1, 0, 0, 300};   // shown only
  EXPECT_EQ(EnabledSlots(OpenSelectChan(table, SelectChanMode::kWaveData)),
            (std::vector<int>{1, 5}));
  EXPECT_EQ(EnabledSlots(OpenSelectChan(table, SelectChanMode::kMeasurement)),
            (std::vector<int>{2, 5}));
  EXPECT_EQ(EnabledSlots(OpenSelectChan(table, SelectChanMode::kWaveGraph)),
            (std::vector<int>{1, 7}));
  EXPECT_FALSE(SlotHasModeData(table, SelectChanMode::kWaveData, 0));
  EXPECT_FALSE(SlotHasModeData(table, SelectChanMode::kWaveData, 8));
}

TEST(SelectChanTest, WithNoSlotToChooseCh1StaysChosen) {
  WaveSlotTable table;
  const SelectChanChoice choice = OpenSelectChan(table, SelectChanMode::kWaveData);
  EXPECT_TRUE(EnabledSlots(choice).empty());
  EXPECT_EQ(choice.selection, 0);
  EXPECT_EQ(choice.slot(), 1);
}

}  // namespace
}  // namespace korvelane
