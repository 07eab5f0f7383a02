// SPDX-License-Identifier: GPL-3.0-or-later
// A 24-hour recording at a 100 ms refresh: 864,000 rows of CH1, as the recorder writes them.
#pragma once

#include <fstream>
#include <string>

#include "core/recording/measurement_row.h"

namespace korvelane::bench {

constexpr int kDayRecordingRows = 864000;

inline bool WriteDayRecording(const std::string& file) {
  std::ofstream out(file, std::ios::binary);
  out << RecordingHeader();
  LocalTime t{2026, 12, 6, 0, 0, 0, 0, 60};
  MeasurementSample sample;
  sample.channel = 1;
  for (int row = 0; row < kDayRecordingRows; ++row) {
    const int ms = row * 100;
    t.hour = ms / 3600000;
    t.minute = ms / 60000 % 60;
    t.second = ms / 1000 % 60;
    t.millisecond = ms % 1000;
    for (size_t item = 0; item < sample.values.size(); ++item) {
      sample.values[item] = 0.001 * static_cast<double>((row * 7 + item * 13) % 1000) + 0.5;
      sample.pass[item] = (row + item) % 97 != 0;
    }
    out << RecordingRow(t, sample);
  }
  out.close();
  return static_cast<bool>(out);
}

}  // namespace korvelane::bench
