// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/pass_fail.h"

#include <cstring>

#include "core/protocol/unit_table.h"

namespace korvelane {
namespace {

constexpr int kNoLimitUnit = 15;  // also the first unit ("div") a limit cannot name

const char* DefaultUnit(int item) {
  switch (item) {
    case kVavg:
    case kVpp:
    case kVrms:
    case kVmax:
    case kVmin:
      return "mV";
    case kFrequency:
      return "KHz";
    default:
      return "us";
  }
}

// The value in the unit at `position`, by one single-precision factor.
float InLimitUnit(float value, int unit, int position) {
  if (position == unit)
    return value;
  return position > unit ? value * 0.001f : value * 1000.0f;
}

}  // namespace

void ResetPassFailLimits(PassFailLimits& limits) {
  for (int item = 0; item < kMeasurementItemCount; ++item) {
    PassFailLimit& limit = limits[static_cast<size_t>(item)];
    limit.minimum = kDefaultMinimum;
    limit.maximum = kDefaultMaximum;
    SetLimitUnit(limit.minimum_unit, DefaultUnit(item));
    SetLimitUnit(limit.maximum_unit, DefaultUnit(item));
  }
}

std::string_view LimitUnitText(const std::array<char, 4>& field) {
  const void* end = std::memchr(field.data(), '\0', field.size());
  return std::string_view(field.data(),
                          end ? static_cast<const char*>(end) - field.data() : field.size());
}

void SetLimitUnit(std::array<char, 4>& field, std::string_view unit) {
  field.fill('\0');
  const size_t length = unit.size() < field.size() - 1 ? unit.size() : field.size() - 1;
  if (length > 0)
    std::memcpy(field.data(), unit.data(), length);
}

int LimitUnitPosition(std::string_view unit) {
  for (int position = 0; position < kNoLimitUnit; ++position) {
    if (unit == UnitSuffix(position))
      return position;
  }
  return kNoLimitUnit;
}

const char* EvaluateVerdict(float value, int unit, const PassFailLimit& limit) {
  const int min_position = LimitUnitPosition(LimitUnitText(limit.minimum_unit));
  const int max_position = LimitUnitPosition(LimitUnitText(limit.maximum_unit));
  if (min_position == kNoLimitUnit || max_position == kNoLimitUnit)
    return kFail;
  // Compared in double, where every limit and every float is exact.
  const double low = InLimitUnit(value, unit, min_position);
  const double high = InLimitUnit(value, unit, max_position);
  const bool above_minimum = static_cast<double>(limit.minimum) <= low;
  const bool below_maximum = high <= static_cast<double>(limit.maximum);
  return above_minimum && below_maximum ? kPass : kFail;
}

}  // namespace korvelane
