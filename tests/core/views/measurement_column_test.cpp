// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/measurement_column.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/protocol/unit_table.h"
#include "core/views/measurement_si.h"

namespace korvelane {
namespace {

std::string Format(float value, int decimals, int unit) {
  MeasurementRecord record;
  record.valid = true;
  record.value = value;
  record.decimals = static_cast<uint8_t>(decimals);
  record.unit = static_cast<int8_t>(unit);
  return FormatMeasurement(record);
}

TEST(FormatMeasurementTest, CutsTheSixDecimalTextWithoutRounding) {
  EXPECT_EQ(Format(12.3456f, 2, kUnitMv), "12.34mV");
  EXPECT_EQ(Format(12.3456f, 0, kUnitMv), "12.mV");
  EXPECT_EQ(Format(-0.5f, 2, kUnitV), "-0.50V");
  EXPECT_EQ(Format(0.999999f, 3, kUnitUs), "0.999us");
  EXPECT_EQ(Format(1.0f, 5, kUnitKhz), "1.00000KHz");
  EXPECT_EQ(Format(0.0f, 1, kUnitS), "0.0s");
}

TEST(FormatMeasurementTest, UnusualRecordsStillGiveAReadableText) {
  EXPECT_EQ(Format(1.5f, 6, kUnitHz), "1.500000Hz");
  EXPECT_EQ(Format(1.5f, 255, kUnitHz), "1.500000Hz");
  EXPECT_EQ(Format(2.0f, 1, kUnitDiv), "2.0div");
  EXPECT_EQ(Format(2.0f, 1, 16), "2.0?");
  EXPECT_EQ(Format(2.0f, 1, -1), "2.0?");
  EXPECT_EQ(Format(std::nanf(""), 2, kUnitMv), "****");
  EXPECT_EQ(Format(-INFINITY, 2, kUnitMv), "****");
  const std::string largest = Format(std::numeric_limits<float>::max(), 2, kUnitV);
  EXPECT_EQ(largest.substr(0, 6), "340282");
  EXPECT_EQ(largest.substr(largest.size() - 4), ".00V");
}

// SI values of records and of scale texts, and their "." texts, as the exports write them.
TEST(MeasurementSiTest, RecordsAndScaleTextsComeInBaseUnits) {
  struct Case {
    float value;
    int unit;
    const char* text;  // FormatSiNumber of the SI value; null: no value
    const char* base;
  };
  const Case cases[] = {{12.34f, kUnitMv, "0.01234", "V"},
                        {-0.5f, kUnitV, "-0.5", "V"},
                        {1.5f, kUnitKv, "1500", "V"},
                        {250.0f, kUnitUv, "0.00025", "V"},
                        {2.5f, kUnitNs, "2.5e-09", "s"},
                        {999.9f, kUnitUs, "0.0009999", "s"},
                        {40.0f, kUnitPs, "4e-11", "s"},
                        {1.0f, kUnitS, "1", "s"},
                        {1.234f, kUnitKhz, "1234", "Hz"},
                        {2.0f, kUnitThz, "2000000000000", "Hz"},
                        {3.0f, kUnitUnknown, nullptr, ""},
                        {3.0f, kUnitDiv, nullptr, ""},
                        {3.0f, 16, nullptr, ""},
                        {3.0f, -1, nullptr, ""},
                        {std::nanf(""), kUnitV, nullptr, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.value << " unit " << c.unit);
    const auto si = MeasurementSiValue({true, c.value, static_cast<int8_t>(c.unit), 2});
    ASSERT_EQ(si.has_value(), c.text != nullptr);
    if (!si)
      continue;
    EXPECT_EQ(FormatSiNumber(si->value), c.text);
    EXPECT_STREQ(si->unit, c.base);
  }
  EXPECT_FALSE(MeasurementSiValue({false, 1.0f, kUnitV, 2}));

  const std::pair<const char*, const char*> texts[] = {
      {"500.00us", "0.0005"}, {"1.00V", "1"},      {" -2.50mV ", "-0.0025"},
      {"0 V", "0"},           {"4.00ns", "4e-09"}, {"10.00KHz", "10000"}};
  for (const auto& [text, expected] : texts) {
    const auto si = ParseSiText(text);
    ASSERT_TRUE(si) << text;
    EXPECT_EQ(FormatSiNumber(si->value), expected) << text;
  }
  for (const char* text : {"", "****", "100", "1.00div", "1.00?", "1,00V", "V", "1.00 Volt"})
    EXPECT_FALSE(ParseSiText(text)) << text;

  EXPECT_EQ(FormatSignificant(0.12000000000000001, 9), "0.12");
  EXPECT_EQ(FormatSignificant(-1.0 / 3, 4), "-0.3333");
  EXPECT_EQ(FormatSiNumber(INFINITY), "");
}

class MeasurementColumnTest : public ::testing::Test {
 protected:
  struct Listener : ViewTablesListener {
    void ColumnChanged(ListKind list, int column) override {
      if (list == ListKind::kMeasurements)
        columns.push_back(column);
    }
    void CaptionChanged() override { ++captions; }
    std::vector<int> columns;
    int captions = 0;
  };

  MeasurementColumnTest() { tables.AddListener(&listener); }
  ~MeasurementColumnTest() override { tables.RemoveListener(&listener); }

  // Eleven valid records of `value` in `unit` with two decimals.
  static MeasureBlock Block(float value, int unit) {
    MeasureBlock block{};
    for (int item = 0; item < kMeasurementItemCount; ++item)
      EncodeMeasurementRecord({true, value, static_cast<int8_t>(unit), 2},
                              block.data() + item * 16);
    return block;
  }
  static ByteView View(const MeasureBlock& block) { return ByteView(block.data(), block.size()); }

  std::string Cell(int row, int column) const { return tables.measurement_list.text(row, column); }

  ViewTables tables;
  Listener listener;
  AcquisitionStore store;
  RequestSelectors selectors;
};

TEST_F(MeasurementColumnTest, EachRowGetsItsValueAndItsVerdict) {
  ResetPassFailLimits(tables.limits);
  MeasureBlock block = Block(500.0f, kUnitMv);
  EncodeMeasurementRecord({false, 1.0f, kUnitMv, 2}, block.data() + kVrms * 16);
  EncodeMeasurementRecord({true, 1.5f, kUnitV, 2}, block.data() + kVmax * 16);
  EncodeMeasurementRecord({true, 0.5f, kUnitMhz, 1}, block.data() + kFrequency * 16);
  FillMeasurementColumn(tables, View(block), 4);
  EXPECT_EQ(Cell(kVavg, 4), "500.00mV");
  EXPECT_EQ(Cell(kVavg, 8), "Pass");
  EXPECT_EQ(Cell(kVrms, 4), "****");
  EXPECT_EQ(Cell(kVrms, 8), "Fail");
  EXPECT_EQ(Cell(kVmax, 4), "1.50V");
  EXPECT_EQ(Cell(kVmax, 8), "Fail");
  EXPECT_EQ(Cell(kFrequency, 4), "0.5MHz");
  EXPECT_EQ(Cell(kFrequency, 8), "Pass");
  // Families are not checked: 500 mV against the "us" limits of Period is 500000 "us".
  EXPECT_EQ(Cell(kPeriod, 8), "Fail");
  EXPECT_EQ(listener.columns, (std::vector<int>{4, 8}));
  EXPECT_EQ(Cell(kVavg, 0), "Vavg");
  EXPECT_EQ(Cell(kNegativeWidth, 0), "Negative Width");
}

TEST_F(MeasurementColumnTest, LimitsSetBeforeTheFirstMeasurementsAreKept) {
  tables.limits_initialised = true;
  ResetPassFailLimits(tables.limits);
  tables.limits[kVpp].maximum = 100;
  selectors.ch1_measure_wanted = 1;
  store.ch1.enabled = true;
  store.ch1.measure = Block(500.0f, kUnitMv);
  ShowChannelMeasurements(tables, store, selectors, 1);
  EXPECT_EQ(tables.limits[kVpp].maximum, 100);
  EXPECT_EQ(Cell(kVpp, 8), "Fail");
  EXPECT_EQ(Cell(kVavg, 8), "Pass");
}

TEST_F(MeasurementColumnTest, AWantedChannelThatIsOffShowsStarsAndNoOtherChannelsVerdicts) {
  // Both wanted, CH2 switched off: the caption names CH2, so CH1's verdicts must not stay.
  selectors.ch1_measure_wanted = 1;
  selectors.ch2_measure_wanted = 1;
  store.ch1.enabled = true;
  store.ch1.measure = Block(1.0f, kUnitV);
  store.ch2.enabled = false;
  store.ch2.measure = Block(1.0f, kUnitV);
  ShowChannelMeasurements(tables, store, selectors, 1);
  EXPECT_EQ(Cell(kVavg, 8), "Fail");
  listener.columns.clear();
  ShowChannelMeasurements(tables, store, selectors, 2);
  for (int row = 0; row < kMeasurementItemCount; ++row) {
    EXPECT_EQ(Cell(row, 2), "**") << row;
    EXPECT_EQ(Cell(row, 8), "**") << row;
    EXPECT_EQ(Cell(row, 1), "1.00V") << row;
  }
  EXPECT_EQ(tables.wave_slots[2].in_measurement, 1);
  EXPECT_EQ(tables.measurement_list.caption(), "The current Wave to 'Pass|Fail':  CH2");
  EXPECT_EQ(listener.captions, 2);
  EXPECT_TRUE(tables.limits_initialised);
  EXPECT_EQ(listener.columns, (std::vector<int>{2, 8}));
}

}  // namespace
}  // namespace korvelane
