// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter, Wave Data and measurement columns, the shared tables they live in, the Copy
// texts of the lists, and the measurement values: their texts, their values in SI units, and
// their verdicts against limits.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/protocol/unit_table.h"
#include "core/views/copy_text.h"
#include "core/views/measurement_column.h"
#include "core/views/measurement_si.h"
#include "core/views/parameter_column.h"
#include "core/views/pass_fail.h"
#include "core/views/view_tables.h"
#include "core/views/wave_data_column.h"
#include "support/temp_dir.h"

namespace korvelane {
namespace {

using Texts = std::vector<std::string>;
using Changes = std::vector<std::pair<ListKind, int>>;

Texts Lines(const std::string& text) {
  EXPECT_EQ(text.rfind('\n') + 1, text.size()) << "text does not end with a line feed";
  EXPECT_EQ(text.find('\r'), std::string::npos);
  return testing::SplitLines(text, "\n");
}

struct RecordingListener : ViewTablesListener {
  void ColumnChanged(ListKind list, int column) override { changes.push_back({list, column}); }
  void CaptionChanged() override { ++captions; }
  Changes changes;
  int captions = 0;
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
  // Slot `slot` of `count` samples, sample i = (i + seed) & 0xFF: a channel that is on, or a file.
  void Fill(int slot, int count, int seed) {
    const bool live = slot == kCh1Slot || slot == kCh2Slot;
    if (live) {
      store.channel(slot).enabled = true;
      store.channel(slot).count = count;
    }
    SampleArray& samples = live ? store.channel(slot).samples : store.file_samples;
    for (int i = 0; i < count; ++i)
      samples[static_cast<size_t>(i)] = static_cast<uint8_t>((i + seed) & 0xFF);
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

TEST_F(ListColumnsTest, ParameterColumnsShowTheStoreStarsForAChannelThatIsOffOrTheBlock) {
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
  const std::pair<int32_t, const char*> positions[] = {{INT32_MIN, "2147483864"},
                                                       {INT32_MAX, "-2147483431"}};
  for (const auto& [position, text] : positions) {
    store.ch2.vert_pos = position;
    FillParameterColumn(tables, store, 2);
    EXPECT_EQ(ParameterColumn(2)[3], text) << position;
  }

  // Loaded ones read the fields of their block.
  uint8_t block[50] = {};
  std::memcpy(block + 8, "1.00ms", 6);
  std::memcpy(block + 28, "2.00V", 5);
  std::memcpy(block + 38, "-12", 3);
  std::memcpy(block + 43, "Auto", 4);
  FillParameterColumn(tables, store, 5, ByteView(block, sizeof block));
  EXPECT_EQ(ParameterColumn(5), (Texts{"1.00ms", "", "2.00V", "-12", "Auto"}));

  // Fields without a terminator stop at their size less one; a short block reads as empty.
  std::memset(block, 'x', sizeof block);
  FillParameterColumn(tables, store, 6, ByteView(block, sizeof block));
  EXPECT_EQ(ParameterColumn(6), (Texts{"xxxxxxxxx", "xxxxxxxxx", "xxxxxxxxx", "xxxx", "xxxxxx"}));
  FillParameterColumn(tables, store, 7, ByteView(block, 20));
  EXPECT_EQ(ParameterColumn(7), (Texts{"xxxxxxxxx", "xx", "", "", ""}));
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
  EncodeMeasurementRecord({false, 1.0f, kUnitV, 2},
                          store.ch1.measure.data() + kVrms * kMeasurementRecordSize);
  store.ch2.enabled = false;
  store.ch2.measure = Block(1.0f, kUnitV);
  ShowChannelMeasurements(tables, store, selectors, 1);
  EXPECT_EQ(Cell(kVavg, 8), "Fail");
  EXPECT_EQ(Cell(kVpp, 8), "Pass");
  EXPECT_EQ(Cell(kVrms, 8), "Fail");  // a record that is not valid
  listener.changes.clear();
  ShowChannelMeasurements(tables, store, selectors, 2);
  for (int row = 0; row < kMeasurementItemCount; ++row) {
    EXPECT_EQ(Cell(row, 2), "**") << row;
    EXPECT_EQ(Cell(row, 8), "**") << row;
    EXPECT_EQ(Cell(row, 1), row == kVrms ? "****" : "1.00V") << row;
  }
  EXPECT_EQ(tables.wave_slots[2].in_measurement, 1);
  EXPECT_EQ(tables.measurement_list.caption(), "The current Wave to 'Pass|Fail':  CH2");
  EXPECT_EQ(listener.captions, 2);
  EXPECT_EQ(listener.changes,
            (Changes{{ListKind::kMeasurements, 2}, {ListKind::kMeasurements, 8}}));
}

TEST_F(ListColumnsTest, WaveDataColumnsAndTheirCopyFollowTheLongestSlotInFixedWidths) {
  EXPECT_EQ(Lines(WaveDataCopyText(tables)).size(), 2u);  // the header and an empty line

  tables.wave_data_list.column(1)[3000].Set("9");  // rows of an earlier, longer wave go
  Fill(1, 300, 0);
  store.ch2.enabled = false;  // its stars run along the longest slot
  FillWaveDataColumn(tables, store, 2);
  Fill(4, 500, 0);
  // Counts outside the list are kept to it.
  tables.wave_slots[3].count = 100000;
  FillWaveDataColumn(tables, store, 3);
  tables.wave_slots[5].count = -20;
  FillWaveDataColumn(tables, store, 5);
  // The last column keeps its text when the line feed takes its padding.
  Fill(7, 2, 255);
  const Texts lines = Lines(WaveDataCopyText(tables));
  ASSERT_EQ(lines.size(), 1u + 4000u + 1u);
  EXPECT_EQ(lines.back(), "");
  for (size_t row = 1; row <= 4000; ++row)
    ASSERT_EQ(lines[row].size(), 78u) << row;
  const std::pair<size_t, const char*> rows[] = {
      {1, "1        0         **        0         0                             255      "},
      {300, "300      43        **        43        43                                     "},
      {301, "301                **        44        44                                     "},
      {501, "501                **        0                                                "},
      {3001, "3001               **        0                                                "},
      {4000, "4000               **        0                                                "}};
  for (const auto& [row, text] : rows)
    EXPECT_EQ(lines[row], text) << row;
  // Just past the lists' ends there is nothing, never a neighbour's cell.
  EXPECT_EQ(tables.wave_data_list.column(WaveDataList::kColumns), nullptr);
  EXPECT_TRUE(tables.wave_data_list.text(WaveDataList::kRows, 1).empty());
  EXPECT_TRUE(tables.measurement_list.text(MeasurementList::kRows, 0).empty());
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
    for (size_t i = 1; i <= 12; ++i)
      EXPECT_EQ(lines[i].size(), 103u) << i;
    EXPECT_EQ(lines[13], "");
  }
  EXPECT_EQ(Lines(MeasurementCopyText(tables))[0], "The current Wave to 'Pass|Fail':  CH2");
  const std::string tail = std::string(5 * 11, ' ') + "Pass       ";
  EXPECT_EQ(Lines(MeasurementCopyText(tables))[2], "Vavg           500.00mV   123.45677ns" + tail);

  // A cell wider than its column is kept whole and stays separated from the next.
  tables.measurement_list.SetText(kVavg, 1, "-12345.678mV");
  EXPECT_EQ(Lines(MeasurementCopyText(tables))[2],
            "Vavg           -12345.678mV 123.45677ns" + tail);
}

// A record's text cuts the six-decimal text without rounding and stars what is no number; its
// SI value and "." text are what the exports write (their tests show mV, KHz and invalid ones).
TEST(MeasurementValuesTest, TextsAndSiValuesOfRecordsAndScaleTexts) {
  // An SI value and its unit; "none": no value.
  const auto si_text = [](const std::optional<SiValue>& si) {
    return si ? FormatSiNumber(si->value) + " " + si->unit : "none";
  };
  const struct {
    float value;
    int decimals;
    int unit;
    const char* text;
    const char* si;
  } cases[] = {
      {12.3456f, 2, kUnitMv, "12.34mV", "0.0123456 V"},
      {0.999999f, 3, kUnitUs, "0.999us", "9.99999e-07 s"},
      {-0.5f, 0, kUnitV, "-0.V", "-0.5 V"},
      {1.5f, 255, kUnitHz, "1.500000Hz", "1.5 Hz"},
      {40.0f, 1, kUnitPs, "40.0ps", "4e-11 s"},
      {2.0f, 1, kUnitThz, "2.0THz", "2000000000000 Hz"},
      {3.0f, 1, kUnitUnknown, "3.0?", "none"},
      {2.0f, 1, kUnitDiv, "2.0div", "none"},
      {2.0f, 1, 16, "2.0?", "none"},
      {2.0f, 1, -1, "2.0?", "none"},
      {std::nanf(""), 2, kUnitMv, "****", "none"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.value << " unit " << c.unit);
    const MeasurementRecord record{true, c.value, static_cast<int8_t>(c.unit),
                                   static_cast<uint8_t>(c.decimals)};
    EXPECT_EQ(FormatMeasurement(record), c.text);
    EXPECT_EQ(si_text(MeasurementSiValue(record)), c.si);
  }
  EXPECT_FALSE(MeasurementSiValue({false, 1.0f, kUnitV, 2}));
  const std::string largest =
      FormatMeasurement({true, std::numeric_limits<float>::max(), kUnitV, 2});
  EXPECT_EQ(largest.substr(0, 6), "340282");
  EXPECT_EQ(largest.substr(largest.size() - 4), ".00V");

  // Scale texts: a number and a unit of the table, blanks around.
  const std::pair<const char*, const char*> texts[] = {
      {" -2.5mV ", "-0.0025 V"}, {"0 V", "0 V"},        {"4.00ns", "4e-09 s"},  {"", "none"},
      {"100", "none"},           {"1.00div", "none"},   {"1.00?", "none"},      {"V", "none"},
      {"1.00 Volt", "none"},     {"5.00us", "5e-06 s"}, {"10.0us", "0.00001 s"}};
  for (const auto& [text, expected] : texts)
    EXPECT_EQ(si_text(ParseSiText(text)), expected) << text;
  EXPECT_EQ(FormatSiNumber(INFINITY), "");
}

PassFailLimit Limit(int32_t minimum, int32_t maximum, const char* min_unit,
                    const char* max_unit = nullptr) {
  PassFailLimit limit;
  limit.minimum = minimum;
  limit.maximum = maximum;
  SetLimitUnit(limit.minimum_unit, min_unit);
  SetLimitUnit(limit.maximum_unit, max_unit ? max_unit : min_unit);
  return limit;
}

TEST(PassFailLimitsTest, UnitFieldsKeepThreeCharactersAndNeverReadPastTheirEnd) {
  std::array<char, 4> field{};
  SetLimitUnit(field, "MHzz");
  EXPECT_EQ(LimitUnitText(field), "MHz");
  field = {'a', 'b', 'c', 'd'};  // no terminator, as a corrupted entry could hold
  EXPECT_EQ(LimitUnitText(field), "abcd");
}

TEST(EvaluateVerdictTest, ValuesAgainstGivenLimits) {
  struct Case {
    const char* what;
    float value;
    int unit;
    PassFailLimit limit;
    const char* verdict;
  };
  const Case cases[] = {
      // Both bounds are inclusive.
      {"equal bounds", 250.0f, kUnitMv, Limit(250, 250, "mV"), "Pass"},
      {"above", 999.5f, kUnitMv, Limit(-999, 999, "mV"), "Fail"},
      {"below", -999.5f, kUnitMv, Limit(-999, 999, "mV"), "Fail"},
      // One factor of a thousand to the next unit: 1.5 V is 1500 mV.
      {"V against mV", 1.5f, kUnitV, Limit(-999, 999, "mV"), "Fail"},
      // The factor is the single-precision 0.001: 999000 Hz comes out a little above 999 KHz.
      {"Hz against KHz, rounded up", 999000.0f, kUnitHz, Limit(-999, 999, "KHz"), "Fail"},
      // The same one factor whatever the distance between units: 2 ms is 2000 "ns".
      {"ms against ns, one below", 2.0f, kUnitMs, Limit(0, 1999, "ns"), "Fail"},
      // Each bound uses its own unit: 1.5 V is at least 1 V and at most 2000 mV.
      {"own units, minimum", 1.5f, kUnitV, Limit(2, 2000, "V", "mV"), "Fail"},
      {"own units, maximum", 1.5f, kUnitV, Limit(1, 1499, "V", "mV"), "Fail"},
      // A limit unit that names no unit always fails, and so does a value that is no number.
      {"mv", 500.0f, kUnitMv, Limit(-999, 999, "mv"), "Fail"},
      {"maximum in mv", 500.0f, kUnitMv, Limit(-999, 999, "mV", "mv"), "Fail"},
      {"limit in div", 500.0f, kUnitMv, Limit(-999, 999, "div"), "Fail"},
      {"NaN", std::nanf(""), kUnitMv, Limit(-999, 999, "mV"), "Fail"},
  };
  for (const Case& c : cases)
    EXPECT_STREQ(EvaluateVerdict(c.value, c.unit, c.limit), c.verdict) << c.what;
}

}  // namespace
}  // namespace korvelane
