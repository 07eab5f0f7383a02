// SPDX-License-Identifier: GPL-3.0-or-later
// Measurement values: their texts, their values in SI units, and their verdicts against limits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/protocol/unit_table.h"
#include "core/views/measurement_column.h"
#include "core/views/measurement_si.h"
#include "core/views/pass_fail.h"

namespace korvelane {
namespace {

TEST(FormatMeasurementTest, CutsTheSixDecimalTextWithoutRoundingAndStarsWhatIsNoNumber) {
  const struct {
    float value;
    int decimals;
    int unit;
    const char* text;
  } cases[] = {
      {12.3456f, 2, kUnitMv, "12.34mV"},
      {12.3456f, 0, kUnitMv, "12.mV"},
      {-0.5f, 2, kUnitV, "-0.50V"},
      {0.999999f, 3, kUnitUs, "0.999us"},
      {1.0f, 5, kUnitKhz, "1.00000KHz"},
      {0.0f, 1, kUnitS, "0.0s"},
      {1.5f, 6, kUnitHz, "1.500000Hz"},
      {1.5f, 255, kUnitHz, "1.500000Hz"},
      {2.0f, 1, kUnitDiv, "2.0div"},
      {2.0f, 1, 16, "2.0?"},
      {2.0f, 1, -1, "2.0?"},
      {std::nanf(""), 2, kUnitMv, "****"},
      {-INFINITY, 2, kUnitMv, "****"},
  };
  const auto format = [](float value, int decimals, int unit) {
    return FormatMeasurement(
        {true, value, static_cast<int8_t>(unit), static_cast<uint8_t>(decimals)});
  };
  for (const auto& c : cases)
    EXPECT_EQ(format(c.value, c.decimals, c.unit), c.text) << c.value;
  const std::string largest = format(std::numeric_limits<float>::max(), 2, kUnitV);
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
  const Case cases[] = {{12.34f, kUnitMv, "0.01234", "V"}, {-0.5f, kUnitV, "-0.5", "V"},
                        {1.5f, kUnitKv, "1500", "V"},      {250.0f, kUnitUv, "0.00025", "V"},
                        {2.5f, kUnitNs, "2.5e-09", "s"},   {40.0f, kUnitPs, "4e-11", "s"},
                        {1.234f, kUnitKhz, "1234", "Hz"},  {2.0f, kUnitThz, "2000000000000", "Hz"},
                        {3.0f, kUnitUnknown, nullptr, ""}, {3.0f, kUnitDiv, nullptr, ""},
                        {3.0f, 16, nullptr, ""},           {std::nanf(""), kUnitV, nullptr, ""}};
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

  // Scale texts: a number and a unit of the table, blanks around; null: no value.
  const std::pair<const char*, const char*> texts[] = {
      {"500.00us", "0.0005"}, {"1.00V", "1"},       {" -2.50mV ", "-0.0025"}, {"0 V", "0"},
      {"4.00ns", "4e-09"},    {"", nullptr},        {"****", nullptr},        {"100", nullptr},
      {"1.00div", nullptr},   {"1.00?", nullptr},   {"1,00V", nullptr},       {"V", nullptr},
      {"1.00 Volt", nullptr}, {"10.00KHz", "10000"}};
  for (const auto& [text, expected] : texts) {
    const auto si = ParseSiText(text);
    ASSERT_EQ(si.has_value(), expected != nullptr) << text;
    if (si) {
      EXPECT_EQ(FormatSiNumber(si->value), expected) << text;
    }
  }
  EXPECT_EQ(FormatSignificant(0.12000000000000001, 9), "0.12");
  EXPECT_EQ(FormatSignificant(-1.0 / 3, 4), "-0.3333");
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
  EXPECT_EQ(field[3], '\0');
  field = {'a', 'b', 'c', 'd'};  // no terminator, as a corrupted entry could hold
  EXPECT_EQ(LimitUnitText(field), "abcd");
  EXPECT_EQ(LimitUnitPosition("abcd"), 15);
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
      // Both bounds are inclusive; a minimum above the maximum lets nothing pass.
      {"equal bounds", 250.0f, kUnitMv, Limit(250, 250, "mV"), "Pass"},
      {"above", 999.5f, kUnitMv, Limit(-999, 999, "mV"), "Fail"},
      {"below", -999.5f, kUnitMv, Limit(-999, 999, "mV"), "Fail"},
      {"crossed bounds", 5.0f, kUnitMv, Limit(10, 0, "mV"), "Fail"},
      // One factor of a thousand to the next unit: 1.5 V is 1500 mV, 1 MHz is 1000 KHz.
      {"V against mV", 1.5f, kUnitV, Limit(-999, 999, "mV"), "Fail"},
      {"V against mV, within", 0.5f, kUnitV, Limit(-999, 999, "mV"), "Pass"},
      {"MHz against KHz", 1.0f, kUnitMhz, Limit(-999, 999, "KHz"), "Fail"},
      {"MHz against KHz, within", 0.5f, kUnitMhz, Limit(-999, 999, "KHz"), "Pass"},
      // The factor is the single-precision 0.001: 999000 Hz comes out a little above 999 KHz.
      {"Hz against KHz", 998000.0f, kUnitHz, Limit(-999, 999, "KHz"), "Pass"},
      {"Hz against KHz, rounded up", 999000.0f, kUnitHz, Limit(-999, 999, "KHz"), "Fail"},
      // The same one factor whatever the distance between units: 2 ms is 2000 "ns", 5000 ps is
      // 5 "s"; families are not checked; "div" is scaled like any other.
      {"ms against ns", 2.0f, kUnitMs, Limit(0, 2000, "ns"), "Pass"},
      {"ms against ns, one below", 2.0f, kUnitMs, Limit(0, 1999, "ns"), "Fail"},
      {"ps against s", 5000.0f, kUnitPs, Limit(5, 5, "s"), "Pass"},
      {"V against us", 3.0f, kUnitV, Limit(3000, 3000, "us"), "Pass"},
      {"div", 0.5f, kUnitDiv, Limit(0, 999, "mV"), "Pass"},
      // Each bound uses its own unit: 1.5 V is at least 1 V and at most 2000 mV.
      {"own units", 1.5f, kUnitV, Limit(1, 2000, "V", "mV"), "Pass"},
      {"own units, minimum", 1.5f, kUnitV, Limit(2, 2000, "V", "mV"), "Fail"},
      {"own units, maximum", 1.5f, kUnitV, Limit(1, 1499, "V", "mV"), "Fail"},
      // A limit unit that names no unit always fails, and so does a value that is no number.
      {"mv", 500.0f, kUnitMv, Limit(-999, 999, "mv"), "Fail"},
      {"maximum in mv", 500.0f, kUnitMv, Limit(-999, 999, "mV", "mv"), "Fail"},
      {"limit in div", 500.0f, kUnitMv, Limit(-999, 999, "div"), "Fail"},
      {"never reset", 500.0f, kUnitMv, PassFailLimit{}, "Fail"},
      {"NaN", std::nanf(""), kUnitMv, Limit(-999, 999, "mV"), "Fail"},
  };
  for (const Case& c : cases)
    EXPECT_STREQ(EvaluateVerdict(c.value, c.unit, c.limit), c.verdict) << c.what;
}

}  // namespace
}  // namespace korvelane
