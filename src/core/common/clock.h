// SPDX-License-Identifier: GPL-3.0-or-later
// Local wall-clock time, injected so that logs and titles can be tested with a fixed time.
#pragma once

namespace korvelane {

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
  int utc_offset_minutes = 0;  // local time minus UTC
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() const = 0;
};

class SystemClock : public Clock {
 public:
  LocalTime Now() const override;
};

}  // namespace korvelane
