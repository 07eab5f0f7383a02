// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/measure.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/protocol/unit_table.h"

namespace korvelane::sim {
namespace {

// Decimals that give four significant digits, at most 3.
uint8_t DecimalsFor(double value) {
  const double magnitude = std::fabs(value);
  if (magnitude >= 1000)
    return 0;
  if (magnitude >= 100)
    return 1;
  if (magnitude >= 10)
    return 2;
  return 3;
}

MeasurementRecord Scaled(double value, double scale, int unit) {
  MeasurementRecord record;
  record.valid = true;
  record.value = static_cast<float>(value * scale);
  record.unit = static_cast<int8_t>(unit);
  record.decimals = DecimalsFor(value * scale);
  return record;
}

// One crossing of the whole swing: times (seconds) where it passed 10 %, 50 % and 90 %.
struct Edge {
  bool rising = false;
  double t10 = 0, t50 = 0, t90 = 0;
};

// Time, in samples, where the line between samples i and i + 1 crosses `level`.
double CrossingAt(const std::vector<double>& v, size_t i, double level) {
  const double a = v[i];
  const double b = v[i + 1];
  if (a == b)
    return static_cast<double>(i);
  return static_cast<double>(i) + std::clamp((level - a) / (b - a), 0.0, 1.0);
}

// First crossing of `level` between samples `from` and `to` (to > from), in samples.
double FirstCrossing(const std::vector<double>& v, size_t from, size_t to, double level,
                     bool rising) {
  for (size_t i = from; i < to; ++i) {
    if (rising ? (v[i] < level && v[i + 1] >= level) : (v[i] > level && v[i + 1] <= level))
      return CrossingAt(v, i, level);
  }
  return static_cast<double>(from);
}

// Edges between the 10 % and 90 % levels, with hysteresis so that noise near a level does not
// count as an edge.
std::vector<Edge> FindEdges(const std::vector<double>& v, double base, double top,
                            double interval) {
  std::vector<Edge> edges;
  const double lo = base + 0.1 * (top - base);
  const double mid = base + 0.5 * (top - base);
  const double hi = base + 0.9 * (top - base);
  enum { kUnknown, kLow, kHigh } state = kUnknown;
  size_t last_low = 0, last_high = 0;  // last sample at or beyond each outer level
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] <= lo) {
      if (state == kHigh && i > 0) {
        Edge e;
        e.rising = false;
        e.t90 = CrossingAt(v, last_high, hi) * interval;
        e.t50 = FirstCrossing(v, last_high, i, mid, false) * interval;
        e.t10 = CrossingAt(v, i - 1, lo) * interval;
        edges.push_back(e);
      }
      state = kLow;
      last_low = i;
    } else if (v[i] >= hi) {
      if (state == kLow && i > 0) {
        Edge e;
        e.rising = true;
        e.t10 = CrossingAt(v, last_low, lo) * interval;
        e.t50 = FirstCrossing(v, last_low, i, mid, true) * interval;
        e.t90 = CrossingAt(v, i - 1, hi) * interval;
        edges.push_back(e);
      }
      state = kHigh;
      last_high = i;
    }
  }
  return edges;
}

// Rounded to the four significant digits shown, so that 999.98 us is reported as 1.000 ms.
double Shown(double value) {
  if (value == 0 || !std::isfinite(value))
    return value;
  const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value)))) - 3;
  // Dividing by an exact power of ten lands on the same double as the decimal literal.
  if (exponent < 0) {
    const double scale = std::pow(10.0, -exponent);
    return std::round(value * scale) / scale;
  }
  const double step = std::pow(10.0, exponent);
  return std::round(value / step) * step;
}

}  // namespace

MeasurementRecord VoltsRecord(double volts) {
  volts = Shown(volts);
  return std::fabs(volts) < 1.0 ? Scaled(volts, 1e3, kUnitMv) : Scaled(volts, 1.0, kUnitV);
}

MeasurementRecord SecondsRecord(double seconds) {
  seconds = Shown(seconds);
  const double magnitude = std::fabs(seconds);
  if (magnitude < 1e-6)
    return Scaled(seconds, 1e9, kUnitNs);
  if (magnitude < 1e-3)
    return Scaled(seconds, 1e6, kUnitUs);
  if (magnitude < 1.0)
    return Scaled(seconds, 1e3, kUnitMs);
  return Scaled(seconds, 1.0, kUnitS);
}

MeasurementRecord HertzRecord(double hertz) {
  hertz = Shown(hertz);
  const double magnitude = std::fabs(hertz);
  if (magnitude < 1e3)
    return Scaled(hertz, 1.0, kUnitHz);
  if (magnitude < 1e6)
    return Scaled(hertz, 1e-3, kUnitKhz);
  return Scaled(hertz, 1e-6, kUnitMhz);
}

Measurements Measure(const uint8_t* samples, int count, const VerticalScale& scale,
                     double interval) {
  Measurements m{};  // all not valid
  if (!samples || count < 2)
    return m;
  std::vector<double> v(static_cast<size_t>(count));
  bool clipped_low = false, clipped_high = false;
  double sum = 0, sum_squares = 0;
  for (size_t i = 0; i < v.size(); ++i) {
    clipped_low |= samples[i] == 0;
    clipped_high |= samples[i] == 255;
    v[i] = (samples[i] - scale.ground_code()) * scale.volts_per_code();
    sum += v[i];
    sum_squares += v[i] * v[i];
  }
  const double vmax = *std::max_element(v.begin(), v.end());
  const double vmin = *std::min_element(v.begin(), v.end());
  // A level beyond the converter's range is not known.
  if (!clipped_low && !clipped_high) {
    m[kVavg] = VoltsRecord(sum / count);
    m[kVrms] = VoltsRecord(std::sqrt(sum_squares / count));
    m[kVpp] = VoltsRecord(vmax - vmin);
  }
  if (!clipped_high)
    m[kVmax] = VoltsRecord(vmax);
  if (!clipped_low)
    m[kVmin] = VoltsRecord(vmin);

  // A swing of a few codes is noise, not a signal with edges.
  if (vmax - vmin < 4 * scale.volts_per_code())
    return m;
  const std::vector<Edge> edges = FindEdges(v, vmin, vmax, interval);
  double rise_sum = 0, fall_sum = 0, high_sum = 0, low_sum = 0;
  int rises = 0, falls = 0, highs = 0, lows = 0;
  double first_rise = -1, last_rise = -1;
  int rise_count = 0;
  for (size_t i = 0; i < edges.size(); ++i) {
    const Edge& e = edges[i];
    if (e.rising) {
      rise_sum += e.t90 - e.t10;
      ++rises;
      if (first_rise < 0)
        first_rise = e.t50;
      last_rise = e.t50;
      ++rise_count;
    } else {
      fall_sum += e.t10 - e.t90;
      ++falls;
    }
    if (i + 1 < edges.size()) {
      const double width = edges[i + 1].t50 - e.t50;
      if (e.rising && !edges[i + 1].rising) {
        high_sum += width;
        ++highs;
      } else if (!e.rising && edges[i + 1].rising) {
        low_sum += width;
        ++lows;
      }
    }
  }
  if (rise_count >= 2) {
    const double period = (last_rise - first_rise) / (rise_count - 1);
    if (period > 0) {
      m[kPeriod] = SecondsRecord(period);
      m[kFrequency] = HertzRecord(1.0 / period);
    }
  }
  if (rises)
    m[kRiseTime] = SecondsRecord(rise_sum / rises);
  if (falls)
    m[kFallTime] = SecondsRecord(fall_sum / falls);
  if (highs)
    m[kPositiveWidth] = SecondsRecord(high_sum / highs);
  if (lows)
    m[kNegativeWidth] = SecondsRecord(low_sum / lows);
  return m;
}

}  // namespace korvelane::sim
