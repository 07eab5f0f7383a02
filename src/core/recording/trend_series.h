// SPDX-License-Identifier: GPL-3.0-or-later
// One measurement against time for the trend plot, in bounded memory: the newest points are kept
// as they came, older ones only as the lowest and highest value of each time column, and columns
// widen as the recording grows. The summary figures count every point ever added.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "core/recording/measurement_row.h"

namespace korvelane {

struct TrendPoint {
  double time = 0;  // seconds since 1970-01-01 UTC
  double value = 0;
};

struct TrendSummary {
  long long values = 0;    // rows that brought a value
  long long failures = 0;  // rows whose verdict was "Fail"
  double last = 0;
  double minimum = 0;
  double maximum = 0;
  double mean = 0;
};

class TrendSeries {
 public:
  static constexpr size_t kRecentPoints = 2048;  // kept as they came
  static constexpr size_t kMaxColumns = 1024;    // of older points, two values each

  // A row's value (NaN when none came) and verdict.
  void Add(double time, double value, bool pass);
  // Every point to draw in time order: older columns as their low and high point, then the
  // recent points.
  std::vector<TrendPoint> Points() const;
  const TrendSummary& summary() const { return summary_; }
  size_t stored_points() const { return recent_.size() + 2 * columns_.size(); }

 private:
  struct Column {
    long long index = 0;  // time column, counted in `column_span_` from `origin_`
    TrendPoint low;
    TrendPoint high;
  };
  void MoveToColumns(const TrendPoint& point);
  void WidenColumns();

  std::deque<TrendPoint> recent_;
  std::vector<Column> columns_;
  double origin_ = 0;
  double column_span_ = 0;  // seconds; 0 until the first column
  double sum_ = 0;
  TrendSummary summary_;
};

// The trend of every measurement of both channels.
class TrendData {
 public:
  void Add(const MeasurementSample& sample);
  // `channel` 1 or 2, `item` 0..10.
  const TrendSeries& series(int channel, int item) const;
  long long rows() const { return rows_; }

 private:
  std::array<std::array<TrendSeries, kMeasurementItemCount>, 2> series_;
  long long rows_ = 0;
};

// Adds every row of the recording at `path` to `data`; lines that are no rows (the header, a
// last line cut short) are passed over. False with the reason in `error` when the file cannot be
// read.
bool LoadRecording(const std::string& path, TrendData& data, std::string& error);

}  // namespace korvelane
