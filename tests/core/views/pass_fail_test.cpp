// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/pass_fail.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/protocol/unit_table.h"

namespace korvelane {
namespace {

PassFailLimit Limit(int32_t minimum, int32_t maximum, const char* min_unit,
                    const char* max_unit = nullptr) {
  PassFailLimit limit;
  limit.minimum = minimum;
  limit.maximum = maximum;
  SetLimitUnit(limit.minimum_unit, min_unit);
  SetLimitUnit(limit.maximum_unit, max_unit ? max_unit : min_unit);
  return limit;
}

TEST(PassFailLimitsTest, DefaultsGiveEveryItemTheUnitOfItsFamily) {
  PassFailLimits limits{};
  ResetPassFailLimits(limits);
  const char* units[] = {"mV", "mV", "us", "KHz", "mV", "mV", "mV", "us", "us", "us", "us"};
  for (int item = 0; item < kMeasurementItemCount; ++item) {
    SCOPED_TRACE(MeasurementItems[item]);
    EXPECT_EQ(limits[item].minimum, -999);
    EXPECT_EQ(limits[item].maximum, 999);
    EXPECT_EQ(LimitUnitText(limits[item].minimum_unit), units[item]);
    EXPECT_EQ(LimitUnitText(limits[item].maximum_unit), units[item]);
  }
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

TEST(EvaluateVerdictTest, ValuesAgainstTheDefaultLimits) {
  PassFailLimits limits{};
  ResetPassFailLimits(limits);
  const PassFailLimit& vpp = limits[kVpp];
  const PassFailLimit& frequency = limits[kFrequency];
  EXPECT_STREQ(EvaluateVerdict(500.0f, kUnitMv, vpp), "Pass");
  EXPECT_STREQ(EvaluateVerdict(1.5f, kUnitV, vpp), "Fail");  // 1500 mV
  EXPECT_STREQ(EvaluateVerdict(-1.5f, kUnitV, vpp), "Fail");
  EXPECT_STREQ(EvaluateVerdict(0.5f, kUnitV, vpp), "Pass");          // 500 mV
  EXPECT_STREQ(EvaluateVerdict(1.0f, kUnitMhz, frequency), "Fail");  // 1000 KHz
  EXPECT_STREQ(EvaluateVerdict(0.5f, kUnitMhz, frequency), "Pass");
  // The factor is the single-precision 0.001: 999000 Hz comes out a little above 999 KHz.
  EXPECT_STREQ(EvaluateVerdict(998000.0f, kUnitHz, frequency), "Pass");
  EXPECT_STREQ(EvaluateVerdict(999000.0f, kUnitHz, frequency), "Fail");
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
      {"at the minimum", -999.0f, kUnitMv, Limit(-999, 999, "mV"), "Pass"},
      {"at the maximum", 999.0f, kUnitMv, Limit(-999, 999, "mV"), "Pass"},
      {"above", 999.5f, kUnitMv, Limit(-999, 999, "mV"), "Fail"},
      {"below", -999.5f, kUnitMv, Limit(-999, 999, "mV"), "Fail"},
      {"crossed bounds", 5.0f, kUnitMv, Limit(10, 0, "mV"), "Fail"},
      // One factor of a thousand whatever the distance between units: 2 ms is 2000 "ns", 5000 ps
      // is 5 "s"; families are not checked; "div" is scaled like any other.
      {"ms against ns", 2.0f, kUnitMs, Limit(0, 2000, "ns"), "Pass"},
      {"ms against ns, one below", 2.0f, kUnitMs, Limit(0, 1999, "ns"), "Fail"},
      {"ps against s", 5000.0f, kUnitPs, Limit(5, 5, "s"), "Pass"},
      {"V against us", 3.0f, kUnitV, Limit(3000, 3000, "us"), "Pass"},
      {"V against us, unscaled", 3.0f, kUnitV, Limit(3, 3, "us"), "Fail"},
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
      {"infinity", INFINITY, kUnitMv, Limit(-999, 999, "mV"), "Fail"},
  };
  for (const Case& c : cases)
    EXPECT_STREQ(EvaluateVerdict(c.value, c.unit, c.limit), c.verdict) << c.what;
}

}  // namespace
}  // namespace korvelane
