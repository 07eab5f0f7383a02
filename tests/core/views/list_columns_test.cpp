// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter, Wave Data and measurement columns, the shared tables they live in, and the
// Copy texts of the lists, byte for byte.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "core/protocol/unit_table.h"
#include "core/views/copy_text.h"
#include "core/views/measurement_column.h"
#include "core/views/parameter_column.h"
#include "core/views/view_tables.h"
#include "core/views/wave_data_column.h"

namespace korvelane {
namespace {

using Texts = std::vector<std::string>;

Texts Lines(const std::string& text) {
  Texts lines;
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  EXPECT_EQ(start, text.size()) << "text does not end with a line feed";
  EXPECT_EQ(text.find('\r'), std::string::npos);
  return lines;
}

struct RecordingListener : ViewTablesListener {
  void ColumnChanged(ListKind list, int column) override { changes.push_back({list, column}); }
  void CaptionChanged() override { ++captions; }
  void ButtonsEnabled(ButtonGroup group) override { groups.push_back(group); }
  std::vector<std::pair<ListKind, int>> changes;
  int captions = 0;
  std::vector<ButtonGroup> groups;
};

class ListColumnsTest : public ::testing::Test {
 protected:
  ListColumnsTest() { tables.AddListener(&listener); }
  ~ListColumnsTest() override { tables.RemoveListener(&listener); }

  Texts ParameterColumn(int column) const {
    Texts texts;
    for (int row = 0; row < ParameterList::kRows; ++row)
      texts.push_back(tables.parameter_list.text(row, column));
    return texts;
  }
  std::string Cell(int row, int column) const { return tables.measurement_list.text(row, column); }
  // Measurement columns announced since the last call.
  std::vector<int> MeasurementChanges() {
    std::vector<int> columns;
    for (const auto& [list, column] : listener.changes) {
      if (list == ListKind::kMeasurements)
        columns.push_back(column);
    }
    listener.changes.clear();
    return columns;
  }
  // Slot 1 or 2 as the Wave Graph refresh leaves it.
  void Live(int channel, int count, int seed) {
    ChannelData& data = store.channel(channel);
    data.enabled = true;
    data.count = count;
    for (int i = 0; i < count; ++i)
      data.samples[static_cast<size_t>(i)] = static_cast<uint8_t>((i + seed) & 0xFF);
    tables.wave_slots[channel] = {1, 1, 0, count};
    FillWaveDataColumn(tables, store, channel);
  }
  // File slot `slot` of `count` samples, sample i = value(i).
  void Loaded(int slot, int count, const std::function<int(int)>& value) {
    for (int i = 0; i < count; ++i)
      store.file_samples[static_cast<size_t>(i)] = static_cast<uint8_t>(value(i));
    tables.wave_slots[slot] = {0, 1, 0, count};
    FillWaveDataColumn(tables, store, slot);
  }
  // Eleven valid records of `value` in `unit`.
  static MeasureBlock Block(float value, int unit, int decimals = 2) {
    MeasureBlock block{};
    for (int item = 0; item < kMeasurementItemCount; ++item) {
      EncodeMeasurementRecord(
          {true, value, static_cast<int8_t>(unit), static_cast<uint8_t>(decimals)},
          block.data() + item * kMeasurementRecordSize);
    }
    return block;
  }

  ViewTables tables;
  RecordingListener listener;
  AcquisitionStore store;
  RequestSelectors selectors;
};

TEST_F(ListColumnsTest, LiveParameterColumnsShowTheStoreOrStarsWhenTheChannelIsOff) {
  store.ch1.enabled = true;
  store.ch1.volts_text = "1.00V";
  store.ch1.vert_pos = 25;
  store.sec_div_text = "800.00us";
  store.hori_pos_text = "0.50ms";
  store.acq_status = 3;
  FillParameterColumn(tables, store, 1);
  EXPECT_EQ(ParameterColumn(1), (Texts{"800.00us", "0.50ms", "1.00V", "191", "Trig'd"}));
  store.acq_status = 9;
  FillParameterColumn(tables, store, 1);
  EXPECT_EQ(ParameterColumn(1)[4], "?");
  FillParameterColumn(tables, store, 2);  // CH2 off
  EXPECT_EQ(ParameterColumn(2), Texts(5, "****"));
  EXPECT_EQ(listener.changes.size(), 3u);

  // Vert Pos is 216 less the position, not limited, and survives extreme positions.
  store.ch2.enabled = true;
  const std::pair<int32_t, const char*> positions[] = {
      {16, "200"}, {216, "0"}, {300, "-84"}, {INT32_MIN, "2147483864"}, {INT32_MAX, "-2147483431"}};
  for (const auto& [position, text] : positions) {
    store.ch2.vert_pos = position;
    FillParameterColumn(tables, store, 2);
    EXPECT_EQ(ParameterColumn(2)[3], text) << position;
  }
}

TEST_F(ListColumnsTest, LoadedParameterColumnsReadTheBlockFields) {
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
  EXPECT_EQ(ParameterColumn(5), (Texts{"1.00ms", "0.00s", "2.00V", "-12", "Auto"}));

  // Fields without a terminator stop at their size less one; a short block reads as empty.
  std::memset(block, 'x', sizeof block);
  FillParameterColumn(tables, store, 6, ByteView(block, sizeof block));
  EXPECT_EQ(ParameterColumn(6), (Texts{"xxxxxxxxx", "xxxxxxxxx", "xxxxxxxxx", "xxxx", "xxxxxx"}));
  FillParameterColumn(tables, store, 7, ByteView(block, 20));
  EXPECT_EQ(ParameterColumn(7), (Texts{"xxxxxxxxx", "xx", "", "", ""}));
}

TEST_F(ListColumnsTest, ViewButtonsAreEnabledOnceEachAndNeverAgain) {
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

TEST_F(ListColumnsTest, EachRowGetsItsValueAndItsVerdict) {
  ResetPassFailLimits(tables.limits);
  MeasureBlock block = Block(500.0f, kUnitMv);
  EncodeMeasurementRecord({false, 1.0f, kUnitMv, 2}, block.data() + kVrms * kMeasurementRecordSize);
  EncodeMeasurementRecord({true, 1.5f, kUnitV, 2}, block.data() + kVmax * kMeasurementRecordSize);
  EncodeMeasurementRecord({true, 0.5f, kUnitMhz, 1},
                          block.data() + kFrequency * kMeasurementRecordSize);
  FillMeasurementColumn(tables, ByteView(block.data(), block.size()), 4);
  const std::tuple<int, const char*, const char*> rows[] = {
      {kVavg, "500.00mV", "Pass"},
      {kVrms, "****", "Fail"},
      {kVmax, "1.50V", "Fail"},
      {kFrequency, "0.5MHz", "Pass"},
      // Families are not checked: 500 mV against the "us" limits of Period is 500000 "us".
      {kPeriod, "500.00mV", "Fail"},
      {kNegativeWidth, "500.00mV", "Fail"}};
  for (const auto& [row, value, verdict] : rows) {
    EXPECT_EQ(Cell(row, 4), value) << row;
    EXPECT_EQ(Cell(row, 8), verdict) << row;
  }
  EXPECT_EQ(MeasurementChanges(), (std::vector<int>{4, 8}));
}

TEST_F(ListColumnsTest, AWantedChannelThatIsOffShowsStarsAndNoOtherChannelsVerdicts) {
  // Limits set before the first measurements are kept: 1 V passes only the raised Vpp.
  tables.limits_initialised = true;
  ResetPassFailLimits(tables.limits);
  tables.limits[kVpp].maximum = 1000;
  // Both wanted, CH2 switched off: the caption names CH2, so CH1's verdicts must not stay.
  selectors.ch1_measure_wanted = 1;
  selectors.ch2_measure_wanted = 1;
  store.ch1.enabled = true;
  store.ch1.measure = Block(1.0f, kUnitV);
  store.ch2.enabled = false;
  store.ch2.measure = Block(1.0f, kUnitV);
  ShowChannelMeasurements(tables, store, selectors, 1);
  EXPECT_EQ(Cell(kVavg, 8), "Fail");
  EXPECT_EQ(Cell(kVpp, 8), "Pass");
  MeasurementChanges();
  ShowChannelMeasurements(tables, store, selectors, 2);
  for (int row = 0; row < kMeasurementItemCount; ++row) {
    EXPECT_EQ(Cell(row, 2), "**") << row;
    EXPECT_EQ(Cell(row, 8), "**") << row;
    EXPECT_EQ(Cell(row, 1), "1.00V") << row;
  }
  EXPECT_EQ(tables.wave_slots[2].in_measurement, 1);
  EXPECT_EQ(tables.measurement_list.caption(), "The current Wave to 'Pass|Fail':  CH2");
  EXPECT_EQ(listener.captions, 2);
  EXPECT_EQ(MeasurementChanges(), (std::vector<int>{2, 8}));
}

TEST_F(ListColumnsTest, WaveDataColumnsAndTheirCopyFollowTheLongestSlotInFixedWidths) {
  const std::string header =
      "#        CH1       CH2       Chan3     Chan4     Chan5     Chan6     Chan7     ";
  EXPECT_EQ(WaveDataCopyText(tables), header + "\n\n");

  tables.wave_data_list.column(1)[3000].Set("9");  // rows of an earlier, longer wave go
  Live(1, 300, 0);
  store.ch2.enabled = false;  // its stars run along the longest slot
  FillWaveDataColumn(tables, store, 2);
  Loaded(4, 500, [](int i) { return i % 256; });
  // Counts outside the list are kept to it.
  tables.wave_slots[3].count = 100000;
  FillWaveDataColumn(tables, store, 3);
  tables.wave_slots[5].count = -20;
  FillWaveDataColumn(tables, store, 5);
  // The last column keeps its text when the line feed takes its padding.
  Loaded(7, 2, [](int) { return 255; });
  const Texts lines = Lines(WaveDataCopyText(tables));
  ASSERT_EQ(lines.size(), 1u + 4000u + 1u);
  EXPECT_EQ(lines.front(), header);
  EXPECT_EQ(lines.back(), "");
  for (size_t row = 1; row <= 4000; ++row)
    ASSERT_EQ(lines[row].size(), 78u) << row;
  const std::pair<size_t, const char*> rows[] = {
      {1, "1        0         **        0         0                             255      "},
      {2, "2        1         **        1         1                             255      "},
      {300, "300      43        **        43        43                                     "},
      {301, "301                **        44        44                                     "},
      {500, "500                **        243       243                                    "},
      {501, "501                **        0                                                "},
      {3001, "3001               **        0                                                "},
      {4000, "4000               **        0                                                "}};
  for (const auto& [row, text] : rows)
    EXPECT_EQ(lines[row], text) << row;
}

TEST_F(ListColumnsTest, MeasurementRowsAre103CharactersUnderTheCaption) {
  const std::string untouched = MeasurementCopyText(tables);
  store.ch1.enabled = true;
  store.ch1.measure = Block(500.0f, kUnitMv, 2);
  store.ch2.enabled = true;
  store.ch2.measure = Block(123.45678f, kUnitNs, 5);  // "123.45677ns" fills its field exactly
  selectors.ch1_measure_wanted = 1;
  selectors.ch2_measure_wanted = 1;
  ShowChannelMeasurements(tables, store, selectors, 1);
  ShowChannelMeasurements(tables, store, selectors, 2);

  for (const std::string& text : {untouched, MeasurementCopyText(tables)}) {
    const Texts lines = Lines(text);
    ASSERT_EQ(lines.size(), 1u + 1u + 11u + 1u);
    EXPECT_EQ(lines[1],
              "Item Name      CH1        CH2        Chan3      Chan4      Chan5      Chan6      "
              "Chan7      Pass | Fail");
    for (size_t i = 1; i <= 12; ++i)
      EXPECT_EQ(lines[i].size(), 103u) << i;
    EXPECT_EQ(lines[13], "");
  }
  const Texts before = Lines(untouched);
  EXPECT_EQ(before[0], "The current Wave to 'Pass|Fail':  ");
  EXPECT_EQ(before[12], "Negative Width" + std::string(1 + 8 * 11, ' '));
  const Texts lines = Lines(MeasurementCopyText(tables));
  EXPECT_EQ(lines[0], "The current Wave to 'Pass|Fail':  CH2");
  EXPECT_EQ(lines[2],
            "Vavg           500.00mV   123.45677ns" + std::string(5 * 11, ' ') + "Pass       ");
}

TEST_F(ListColumnsTest, MeasurementCellsWiderThanTheirColumnAreKeptWholeAndStaySeparated) {
  tables.measurement_list.SetText(0, 1, "-12345.678mV");  // 12 characters in a column of 11
  tables.measurement_list.SetText(0, 8, "Pass");
  const Texts lines = Lines(MeasurementCopyText(tables));
  EXPECT_EQ(lines[2], "Vavg           -12345.678mV " + std::string(6 * 11, ' ') + "Pass       ");
}

}  // namespace
}  // namespace korvelane
