// SPDX-License-Identifier: GPL-3.0-or-later
// Lower and upper limits of the eleven measurements and the verdict of a measured value.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/protocol/measurement_record.h"

namespace korvelane {

struct PassFailLimit {
  int32_t minimum = 0;                 // whole number in `minimum_unit`
  int32_t maximum = 0;                 // whole number in `maximum_unit`
  std::array<char, 4> minimum_unit{};  // at most three characters, zero-terminated
  std::array<char, 4> maximum_unit{};
};

// One entry per measurement, in the row order of MeasurementItems.
using PassFailLimits = std::array<PassFailLimit, kMeasurementItemCount>;

constexpr int32_t kDefaultMinimum = -999;
constexpr int32_t kDefaultMaximum = 999;
constexpr const char* kPass = "Pass";
constexpr const char* kFail = "Fail";

// The defaults: -999 .. 999 in "mV" for the voltages, "us" for the times, "KHz" for Frequency.
void ResetPassFailLimits(PassFailLimits& limits);

// Unit text of a limit field, up to its terminator (at most four characters are looked at).
std::string_view LimitUnitText(const std::array<char, 4>& field);

// Stores a unit text in a limit field; characters after the third are dropped.
void SetLimitUnit(std::array<char, 4>& field, std::string_view unit);

// Position of a unit text among the units a limit can name, "ps" (0) .. "THz" (14): exact,
// case-sensitive comparison. 15 when it names none of them.
int LimitUnitPosition(std::string_view unit);

// "Pass" when `value`, in unit `unit`, lies within the limits (both inclusive); "Fail" otherwise
// and whenever a limit names no unit. The value is brought into a limit's unit by one factor of
// 1000 up or down whatever the distance between the two units.
const char* EvaluateVerdict(float value, int unit, const PassFailLimit& limit);

}  // namespace korvelane
