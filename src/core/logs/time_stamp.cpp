// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/logs/time_stamp.h"

#include <cstdio>

namespace korvelane {

std::string LogTimeStamp(const LocalTime& t) {
  char text[96];
  std::snprintf(text, sizeof text, "%04d%02d%02d-%02d时%02d分%02d秒%03d毫秒——", t.year, t.month,
                t.day, t.hour, t.minute, t.second, t.millisecond);
  return text;
}

std::string LogTimeStampLatin(const LocalTime& t) {
  char text[96];
  std::snprintf(text, sizeof text, "%04d%02d%02d-%02dH%02dM%02dS%03dms——", t.year, t.month, t.day,
                t.hour, t.minute, t.second, t.millisecond);
  return text;
}

}  // namespace korvelane
