// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/refresh_interval.h"

#include <gtest/gtest.h>

#include "core/shell/command_ids.h"

namespace korvelane {
namespace {

TEST(SelectInterval, FixedItemsSetTheirPeriodCustomKeepsItAndOthersCheckNothing) {
  EXPECT_EQ(SelectInterval(0, 700).interval_ms, 500);
  EXPECT_EQ(SelectInterval(10, 700).checked_command, kCmdInterval10s);
  EXPECT_EQ(SelectInterval(20, 700).interval_ms, 700);
  EXPECT_EQ(SelectInterval(20, 700).checked_command, kCmdIntervalCustom);
  EXPECT_EQ(SelectInterval(4, 700).checked_command, 0);
}

TEST(IntervalFromStoredText, ExactValuesCheckTheirItemOthersAreCustomUnusableOnesTwoSeconds) {
  EXPECT_EQ(IntervalFromStoredText("1000").checked_command, kCmdInterval1s);
  EXPECT_EQ(IntervalFromStoredText("700").checked_command, kCmdIntervalCustom);
  EXPECT_EQ(IntervalFromStoredText("100").interval_ms, 100);
  EXPECT_EQ(IntervalFromStoredText("250ms").interval_ms, 250);  // leading digits count
  for (const char* text : {"", "abc", "99", "10001", "-500", "99999999999999"}) {
    EXPECT_EQ(IntervalFromStoredText(text).interval_ms, 2000) << text;
    EXPECT_EQ(IntervalFromStoredText(text).checked_command, kCmdInterval2s) << text;
  }
}

TEST(ParseCustomInterval, AcceptsOneHundredToNineThousandNineHundredNinetyNine) {
  EXPECT_EQ(ParseCustomInterval("100"), 100);
  EXPECT_EQ(ParseCustomInterval(" 9999 "), 9999);
  for (const char* text : {"99", "10000", "", "12a", "-100", "1e3", "00000100"}) {
    EXPECT_FALSE(ParseCustomInterval(text)) << text;
  }
}

}  // namespace
}  // namespace korvelane
