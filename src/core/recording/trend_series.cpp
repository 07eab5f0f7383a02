// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/recording/trend_series.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace korvelane {
namespace {

// The first column is this share of the span the recent points cover.
constexpr double kFirstColumnShare = 1.0 / 256;
constexpr double kShortestColumn = 1e-3;  // seconds

}  // namespace

void TrendSeries::Add(double time, double value, bool pass) {
  if (!pass)
    ++summary_.failures;
  if (std::isnan(value))
    return;
  if (summary_.values == 0 || value < summary_.minimum)
    summary_.minimum = value;
  if (summary_.values == 0 || value > summary_.maximum)
    summary_.maximum = value;
  ++summary_.values;
  sum_ += value;
  summary_.last = value;
  summary_.mean = sum_ / static_cast<double>(summary_.values);
  recent_.push_back({time, value});
  if (recent_.size() > kRecentPoints) {
    MoveToColumns(recent_.front());
    recent_.pop_front();
  }
}

void TrendSeries::MoveToColumns(const TrendPoint& point) {
  if (column_span_ == 0) {
    origin_ = point.time;
    column_span_ =
        std::max(kShortestColumn, (recent_.back().time - point.time) * kFirstColumnShare);
  }
  const auto index = static_cast<long long>(std::floor((point.time - origin_) / column_span_));
  if (!columns_.empty() && index <= columns_.back().index) {
    Column& column = columns_.back();
    if (point.value < column.low.value)
      column.low = point;
    if (point.value > column.high.value)
      column.high = point;
    return;
  }
  columns_.push_back({index, point, point});
  if (columns_.size() > kMaxColumns)
    WidenColumns();
}

void TrendSeries::WidenColumns() {
  column_span_ *= 2;
  std::vector<Column> wide;
  wide.reserve(kMaxColumns);
  for (Column column : columns_) {
    column.index = column.index >= 0 ? column.index / 2 : (column.index - 1) / 2;
    if (!wide.empty() && wide.back().index == column.index) {
      Column& merged = wide.back();
      if (column.low.value < merged.low.value)
        merged.low = column.low;
      if (column.high.value > merged.high.value)
        merged.high = column.high;
    } else {
      wide.push_back(column);
    }
  }
  columns_.swap(wide);
}

std::vector<TrendPoint> TrendSeries::Points() const {
  std::vector<TrendPoint> points;
  points.reserve(stored_points());
  for (const Column& column : columns_) {
    const bool low_first = column.low.time <= column.high.time;
    points.push_back(low_first ? column.low : column.high);
    points.push_back(low_first ? column.high : column.low);
  }
  points.insert(points.end(), recent_.begin(), recent_.end());
  return points;
}

void TrendData::Add(const MeasurementSample& sample) {
  if (sample.channel != 1 && sample.channel != 2)
    return;
  auto& channel = series_[static_cast<size_t>(sample.channel - 1)];
  for (size_t item = 0; item < channel.size(); ++item)
    channel[item].Add(sample.time, sample.values[item], sample.pass[item]);
  ++rows_;
}

const TrendSeries& TrendData::series(int channel, int item) const {
  return series_[channel == 2 ? 1 : 0][static_cast<size_t>(item)];
}

bool LoadRecording(const std::string& path, TrendData& data, std::string& error) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) {
    error = std::strerror(errno);
    return false;
  }
  constexpr size_t kChunk = 1 << 20;
  std::string buffer;
  std::vector<char> chunk(kChunk);
  size_t read = 0;
  while ((read = std::fread(chunk.data(), 1, kChunk, file.get())) > 0) {
    buffer.append(chunk.data(), read);
    size_t start = 0;
    for (size_t end; (end = buffer.find('\n', start)) != std::string::npos; start = end + 1) {
      if (auto sample = ParseRecordingRow(std::string_view(buffer).substr(start, end - start)))
        data.Add(*sample);
    }
    buffer.erase(0, start);
  }
  if (std::ferror(file.get())) {
    error = std::strerror(errno);
    return false;
  }
  if (auto sample = ParseRecordingRow(buffer))
    data.Add(*sample);
  return true;
}

}  // namespace korvelane
