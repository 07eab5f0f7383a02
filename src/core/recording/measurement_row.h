// SPDX-License-Identifier: GPL-3.0-or-later
// One row of a measurement recording: the time, the channel, the eleven measurements in SI base
// units with their verdicts, and the verdict of the row. Rows are comma-separated text lines with
// '.' as decimal point whatever the locale.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/byte_view.h"
#include "core/common/clock.h"
#include "core/protocol/measurement_record.h"
#include "core/views/pass_fail.h"

namespace korvelane {

struct MeasurementSample {
  double time = 0;  // seconds since 1970-01-01 UTC, to the millisecond
  int channel = 0;  // 1 or 2
  std::array<double, kMeasurementItemCount> values{};  // SI base units; NaN where none came
  std::array<bool, kMeasurementItemCount> pass{};
  bool overall_pass = false;  // every measurement passed
};

// The SI base unit of measurement `item` (0..10): "V", "s" or "Hz".
const char* MeasurementItemUnit(int item);

// "2026-12-06T09:05:07.042+01:00": ISO 8601 local time with milliseconds and offset.
std::string IsoLocalTime(const LocalTime& t);
// The moment `t` names, in seconds since 1970-01-01 UTC.
double SecondsSinceEpoch(const LocalTime& t);

// The eleven measurement records of a channel at time `t`, with the list's verdicts against
// `limits`.
MeasurementSample SampleOfChannel(const LocalTime& t, int channel, ByteView records,
                                  const PassFailLimits& limits);

// The header line naming every column with its unit, line end included.
std::string RecordingHeader();
// The row of `sample` taken at `t`, line end included; a value that did not come is empty.
std::string RecordingRow(const LocalTime& t, const MeasurementSample& sample);
// A row read back (without its line end); nothing for the header or a line that is not a whole
// row.
std::optional<MeasurementSample> ParseRecordingRow(std::string_view line);

}  // namespace korvelane
