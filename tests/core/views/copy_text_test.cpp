// SPDX-License-Identifier: GPL-3.0-or-later
// The Copy texts of the Wave Data and Measurement lists, byte for byte.
#include "core/views/copy_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/protocol/unit_table.h"
#include "core/views/measurement_column.h"
#include "core/views/wave_data_column.h"

namespace korvelane {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  EXPECT_EQ(start, text.size()) << "text does not end with a line feed";
  return lines;
}

const std::string kWaveHeader =
    "#        CH1       CH2       Chan3     Chan4     Chan5     Chan6     Chan7     ";

class WaveDataCopyTest : public ::testing::Test {
 protected:
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

  ViewTables tables;
  AcquisitionStore store;
};

TEST_F(WaveDataCopyTest, WithoutSamplesOnlyTheHeaderAndTheClosingLineRemain) {
  EXPECT_EQ(WaveDataCopyText(tables), kWaveHeader + "\n\n");
  EXPECT_EQ(kWaveHeader.size(), 79u);
}

TEST_F(WaveDataCopyTest, ASlotOf500SamplesGives500FixedWidthLines) {
  for (int i = 0; i < 500; ++i)
    store.file_samples[static_cast<size_t>(i)] = static_cast<uint8_t>(i % 256);
  tables.wave_slots[4] = {0, 1, 0, 500};
  FillWaveDataColumn(tables, store, 4);
  const std::vector<std::string> lines = Lines(WaveDataCopyText(tables));
  ASSERT_EQ(lines.size(), 1u + 500u + 1u);
  EXPECT_EQ(lines[0], kWaveHeader);
  EXPECT_EQ(lines[1],
            "1                                      0                                      ");
  EXPECT_EQ(lines[257],
            "257                                    0                                      ");
  EXPECT_EQ(lines[500],
            "500                                    243                                    ");
  for (size_t i = 1; i <= 500; ++i)
    ASSERT_EQ(lines[i].size(), 78u) << i;
  EXPECT_EQ(lines[501], "");
}

TEST_F(WaveDataCopyTest, TheLongestSlotSetsTheLinesAndShorterOnesArePadded) {
  Live(1, 4000, 10);
  Live(2, 500, 200);
  const std::vector<std::string> lines = Lines(WaveDataCopyText(tables));
  ASSERT_EQ(lines.size(), 1u + 4000u + 1u);
  EXPECT_EQ(lines[1],
            "1        10        200                                                        ");
  EXPECT_EQ(lines[500],
            "500      253       187                                                        ");
  EXPECT_EQ(lines[501],
            "501      254                                                                  ");
  EXPECT_EQ(lines[4000],
            "4000     169                                                                  ");
}

TEST_F(WaveDataCopyTest, AChannelThatIsOffCopiesItsStarsAlongTheLongestSlot) {
  Live(1, 300, 0);
  store.ch2.enabled = false;
  FillWaveDataColumn(tables, store, 2);
  const std::vector<std::string> lines = Lines(WaveDataCopyText(tables));
  ASSERT_EQ(lines.size(), 302u);
  EXPECT_EQ(lines[300],
            "300      43        **                                                         ");
}

TEST_F(WaveDataCopyTest, SlotCountsOutsideTheListAreKeptToIt) {
  tables.wave_slots[7].count = 100000;
  tables.wave_slots[3].count = -20;
  EXPECT_EQ(Lines(WaveDataCopyText(tables)).size(), 4002u);
}

TEST_F(WaveDataCopyTest, TheLastColumnKeepsItsTextWhenTheLineFeedTakesItsPadding) {
  for (int i = 0; i < 2; ++i)
    store.file_samples[static_cast<size_t>(i)] = 255;
  tables.wave_slots[7] = {0, 1, 0, 2};
  FillWaveDataColumn(tables, store, 7);
  const std::vector<std::string> lines = Lines(WaveDataCopyText(tables));
  EXPECT_EQ(lines[2], "2" + std::string(8 + 60, ' ') + "255      ");
}

class MeasurementCopyTest : public ::testing::Test {
 protected:
  static MeasureBlock Block(float value, int unit, int decimals) {
    MeasureBlock block{};
    for (int item = 0; item < kMeasurementItemCount; ++item) {
      EncodeMeasurementRecord(
          {true, value, static_cast<int8_t>(unit), static_cast<uint8_t>(decimals)},
          block.data() + item * kMeasurementRecordSize);
    }
    return block;
  }

  ViewTables tables;
  AcquisitionStore store;
  RequestSelectors selectors;
};

TEST_F(MeasurementCopyTest, HeaderAndRowsAre103CharactersUnderTheCaption) {
  store.ch1.enabled = true;
  store.ch1.measure = Block(500.0f, kUnitMv, 2);
  store.ch2.enabled = true;
  store.ch2.measure = Block(123.45678f, kUnitNs, 5);  // "123.45677ns" fills its field exactly
  selectors.ch1_measure_wanted = 1;
  selectors.ch2_measure_wanted = 1;
  ShowChannelMeasurements(tables, store, selectors, 1);
  ShowChannelMeasurements(tables, store, selectors, 2);

  const std::vector<std::string> lines = Lines(MeasurementCopyText(tables));
  ASSERT_EQ(lines.size(), 1u + 1u + 11u + 1u);
  EXPECT_EQ(lines[0], "The current Wave to 'Pass|Fail':  CH2");
  EXPECT_EQ(lines[1],
            "Item Name      CH1        CH2        Chan3      Chan4      Chan5      Chan6      "
            "Chan7      Pass | Fail");
  EXPECT_EQ(lines[2],
            "Vavg           500.00mV   123.45677ns" + std::string(5 * 11, ' ') + "Pass       ");
  EXPECT_EQ(lines[11].substr(0, 15), "Positive Width ");
  for (size_t i = 1; i <= 12; ++i)
    EXPECT_EQ(lines[i].size(), 103u) << i;
  EXPECT_EQ(lines[13], "");
}

TEST_F(MeasurementCopyTest, AnUntouchedListCopiesItsNamesAndEmptyCells) {
  const std::string text = MeasurementCopyText(tables);
  const std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(lines[0], "The current Wave to 'Pass|Fail':  ");
  EXPECT_EQ(lines[12], "Negative Width" + std::string(1 + 8 * 11, ' '));
  EXPECT_EQ(text.find('\r'), std::string::npos);
}

TEST_F(MeasurementCopyTest, CellsWiderThanTheirColumnAreKeptWholeAndStaySeparated) {
  tables.measurement_list.SetText(0, 1, "-12345.678mV");  // 12 characters in a column of 11
  tables.measurement_list.SetText(0, 8, "Pass");
  const std::vector<std::string> lines = Lines(MeasurementCopyText(tables));
  EXPECT_EQ(lines[2], "Vavg           -12345.678mV " + std::string(6 * 11, ' ') + "Pass       ");
}

}  // namespace
}  // namespace korvelane
