// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/clock.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <string>

namespace korvelane {
namespace {

std::string LibraryDate() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d", &tm);
  return text;
}

// The date of the logs, the titles and the printed pages is the C library's local date.
TEST(SystemClockTest, CalendarFieldsAreTheLocalDate) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const std::string before = LibraryDate();
    const LocalTime now = SystemClock().Now();
    if (LibraryDate() != before)
      continue;  // midnight passed in between
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", now.year, now.month, now.day);
    EXPECT_EQ(text, before);
    return;
  }
  FAIL() << "the date kept changing";
}

}  // namespace
}  // namespace korvelane
