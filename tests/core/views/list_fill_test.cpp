// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter and Wave Data columns and the shared tables they live in.
#include <gtest/gtest.h>

#include <climits>

#include "core/views/parameter_column.h"
#include "core/views/view_tables.h"
#include "core/views/wave_data_column.h"

namespace korvelane {
namespace {

struct RecordingListener : ViewTablesListener {
  void ColumnChanged(ListKind list, int column) override { changes.push_back({list, column}); }
  void ButtonsEnabled(ButtonGroup group) override { groups.push_back(group); }
  std::vector<std::pair<ListKind, int>> changes;
  std::vector<ButtonGroup> groups;
};

class ListFillTest : public ::testing::Test {
 protected:
  ListFillTest() { tables.AddListener(&listener); }
  ~ListFillTest() override { tables.RemoveListener(&listener); }

  std::vector<std::string> ParameterColumn(int column) const {
    std::vector<std::string> texts;
    for (int row = 0; row < ParameterList::kRows; ++row)
      texts.push_back(tables.parameter_list.text(row, column));
    return texts;
  }
  std::string WaveCell(int row, int column) const {
    return std::string(tables.wave_data_list.text(row, column));
  }

  ViewTables tables;
  RecordingListener listener;
  AcquisitionStore store;
};

TEST_F(ListFillTest, LiveColumnsShowTheStoreScalesAndStatus) {
  store.ch1.enabled = true;
  store.ch1.volts_text = "1.00V";
  store.ch1.vert_pos = 25;
  store.sec_div_text = "800.00us";
  store.hori_pos_text = "0.50ms";
  store.acq_status = 3;
  FillParameterColumn(tables, store, 1);
  EXPECT_EQ(ParameterColumn(1),
            (std::vector<std::string>{"800.00us", "0.50ms", "1.00V", "191", "Trig'd"}));
  store.acq_status = 9;
  FillParameterColumn(tables, store, 1);
  EXPECT_EQ(ParameterColumn(1)[4], "?");
  FillParameterColumn(tables, store, 2);  // CH2 off
  EXPECT_EQ(ParameterColumn(2), std::vector<std::string>(5, "****"));
  EXPECT_EQ(listener.changes.size(), 3u);
}

TEST_F(ListFillTest, VertPosIsNotLimitedAndSurvivesExtremePositions) {
  store.ch2.enabled = true;
  const std::pair<int32_t, const char*> cases[] = {
      {16, "200"}, {216, "0"}, {300, "-84"}, {INT32_MIN, "2147483864"}, {INT32_MAX, "-2147483431"}};
  for (const auto& [position, text] : cases) {
    store.ch2.vert_pos = position;
    FillParameterColumn(tables, store, 2);
    EXPECT_EQ(ParameterColumn(2)[3], text) << position;
  }
}

TEST_F(ListFillTest, LoadedColumnsReadTheParameterBlockFields) {
  uint8_t block[50] = {};
  auto put = [&](size_t offset, const char* text) {
    std::memcpy(block + offset, text, strlen(text));
  };
  put(8, "1.00ms");
  put(18, "0.00s");
  put(28, "2.00V");
  put(38, "-12");
  put(43, "Auto");
  FillParameterColumn(tables, store, 5, ByteView(block, sizeof block));
  EXPECT_EQ(ParameterColumn(5),
            (std::vector<std::string>{"1.00ms", "0.00s", "2.00V", "-12", "Auto"}));

  // Fields without a terminator stop at their size less one; a short block reads as empty.
  std::memset(block, 'x', sizeof block);
  FillParameterColumn(tables, store, 6, ByteView(block, sizeof block));
  EXPECT_EQ(ParameterColumn(6),
            (std::vector<std::string>{"xxxxxxxxx", "xxxxxxxxx", "xxxxxxxxx", "xxxx", "xxxxxx"}));
  FillParameterColumn(tables, store, 7, ByteView(block, 20));
  EXPECT_EQ(ParameterColumn(7), (std::vector<std::string>{"xxxxxxxxx", "xx", "", "", ""}));
}

TEST_F(ListFillTest, ALiveChannelListsItsSamplesAndEmptyRowsAfterThem) {
  store.ch1.enabled = true;
  store.ch1.count = 500;
  store.ch1.samples[0] = 0;
  store.ch1.samples[1] = 255;
  store.ch1.samples[499] = 42;
  store.ch1.samples[500] = 7;  // beyond the count
  // Rows of an earlier, longer wave go.
  tables.wave_data_list.column(1)[3000].Set("9");
  FillWaveDataColumn(tables, store, 1);
  EXPECT_EQ(WaveCell(0, 1), "0");
  EXPECT_EQ(WaveCell(1, 1), "255");
  EXPECT_EQ(WaveCell(499, 1), "42");
  EXPECT_EQ(WaveCell(500, 1), "");
  EXPECT_EQ(WaveCell(3000, 1), "");
  EXPECT_EQ(WaveCell(3999, 1), "");
  ASSERT_EQ(listener.changes.size(), 1u);
  EXPECT_EQ(listener.changes[0].first, ListKind::kWaveData);
}

TEST_F(ListFillTest, LoadedColumnsComeFromTheFileSamplesWithTheSlotCount) {
  store.file_samples[0] = 18;
  store.file_samples[249] = 200;
  tables.wave_slots[3].count = 250;
  FillWaveDataColumn(tables, store, 3);
  EXPECT_EQ(WaveCell(0, 3), "18");
  EXPECT_EQ(WaveCell(249, 3), "200");
  EXPECT_EQ(WaveCell(250, 3), "");
  // Counts beyond the 4000 rows, or below zero, stay within the list.
  tables.wave_slots[4].count = 100000;
  FillWaveDataColumn(tables, store, 4);
  EXPECT_EQ(WaveCell(3999, 4), "0");
  tables.wave_slots[4].count = -5;
  FillWaveDataColumn(tables, store, 4);
  EXPECT_EQ(WaveCell(0, 4), "");
}

TEST_F(ListFillTest, ViewButtonsAreEnabledOnceEachAndNeverAgain) {
  EnableViewButtons(tables);
  EXPECT_TRUE(listener.groups.empty());
  tables.wave_slots[6].in_wave_data = 1;
  EnableViewButtons(tables);
  EXPECT_TRUE(tables.wave_data_buttons_enabled);
  EXPECT_FALSE(tables.graph_buttons_enabled);
  tables.wave_slots[1].in_graph = 1;
  tables.wave_slots[2].in_measurement = 1;
  EnableViewButtons(tables);
  tables.wave_slots[1] = WaveSlot();
  EnableViewButtons(tables);
  EXPECT_TRUE(tables.graph_buttons_enabled);
  EXPECT_TRUE(tables.measure_buttons_enabled);
  EXPECT_EQ(listener.groups,
            (std::vector<ButtonGroup>{ButtonGroup::kWaveData, ButtonGroup::kWaveGraph,
                                      ButtonGroup::kMeasurement}));
}

}  // namespace
}  // namespace korvelane
