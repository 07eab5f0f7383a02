// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/clock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace korvelane {
namespace {

// The C library's local time as "YYYY-MM-DD hh:mm:ss", from the fine clock: time() reads a coarse
// one that may still show the second before.
std::string LibraryTime() {
  timespec fine{};
  clock_gettime(CLOCK_REALTIME, &fine);
  const std::time_t now = fine.tv_sec;
  std::tm tm{};
  localtime_r(&now, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &tm);
  return text;
}

// The stamps of the logs, the titles and the printed pages are the C library's local time, its
// calendar year included. A zone eight hours east of UTC makes an hour or an offset taken from the
// wrong place show.
TEST(SystemClockTest, FieldsAreTheLocalTimeOfTheCLibrary) {
  setenv("TZ", "CST-8", 1);
  tzset();
  const std::string before = LibraryTime();
  const LocalTime now = SystemClock().Now();
  const std::string after = LibraryTime();
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", now.year, now.month, now.day,
                now.hour, now.minute, now.second);
  EXPECT_LE(before, text);
  EXPECT_LE(text, after);
  EXPECT_EQ(now.utc_offset_minutes, 8 * 60);
  EXPECT_GE(now.millisecond, 0);
  EXPECT_LT(now.millisecond, 1000);
}

}  // namespace
}  // namespace korvelane
