// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/clock.h"

#include <chrono>
#include <ctime>

namespace korvelane {

LocalTime SystemClock::Now() const {
  using std::chrono::system_clock;
  const auto now = system_clock::now();
  const std::time_t seconds = system_clock::to_time_t(now);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  std::tm tm{};
  localtime_r(&seconds, &tm);
  LocalTime t;
  t.year = tm.tm_year + 1900;
  t.month = tm.tm_mon + 1;
  t.day = tm.tm_mday;
  t.hour = tm.tm_hour;
  t.minute = tm.tm_min;
  t.second = tm.tm_sec;
  t.millisecond = static_cast<int>(ms);
  t.utc_offset_minutes = static_cast<int>(tm.tm_gmtoff / 60);
  return t;
}

}  // namespace korvelane
