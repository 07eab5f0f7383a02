// SPDX-License-Identifier: GPL-3.0-or-later
// A clock that always tells the time it was set to.
#pragma once

#include "core/common/clock.h"

namespace korvelane::testing {

class FixedClock : public Clock {
 public:
  explicit FixedClock(LocalTime t = {2026, 12, 6, 9, 5, 7, 42}) : time(t) {}
  LocalTime Now() const override { return time; }
  LocalTime time;
};

}  // namespace korvelane::testing
