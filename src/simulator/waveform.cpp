// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/waveform.h"

#include <algorithm>
#include <cmath>

namespace korvelane::sim {
namespace {
constexpr double kPi = 3.14159265358979323846;
}  // namespace

double SignalShape::VoltsAt(double t) const {
  const double cycles = t * frequency;
  const double phase = cycles - std::floor(cycles);  // 0..1 within the period
  if (kind == kSine)
    return middle() + peak_to_peak() / 2 * std::sin(2 * kPi * phase);
  const double time_in_period = phase * period();
  const double half = period() / 2;
  double fraction;  // 0 low .. 1 high
  if (edge > 0 && time_in_period < edge)
    fraction = time_in_period / edge;
  else if (time_in_period < half)
    fraction = 1.0;
  else if (edge > 0 && time_in_period < half + edge)
    fraction = 1.0 - (time_in_period - half) / edge;
  else
    fraction = 0.0;
  return low + peak_to_peak() * fraction;
}

const SignalShape& InputSignal(int channel) {
  static const SignalShape kCh1{SignalShape::kSine, 1000.0, -1.0, 1.0, 0.0};
  static const SignalShape kCh2{SignalShape::kSquare, 2000.0, 0.0, 2.0, 4e-6};
  return channel == 2 ? kCh2 : kCh1;
}

std::vector<uint8_t> SynthesizeSamples(const SignalShape& signal, const VerticalScale& scale,
                                       const RecordTiming& timing, double shift,
                                       uint64_t noise_key) {
  std::vector<uint8_t> codes(static_cast<size_t>(std::max(timing.count, 0)));
  const double per_code = scale.volts_per_code();
  for (size_t i = 0; i < codes.size(); ++i) {
    const double t = timing.first_time + static_cast<double>(i) * timing.interval + shift;
    const double volts = signal.VoltsAt(t) + kNoiseVolts * NormalRandom(noise_key + i);
    const double code = std::round(scale.ground_code() + volts / per_code);
    codes[i] = static_cast<uint8_t>(std::clamp(code, 0.0, 255.0));
  }
  return codes;
}

uint64_t MixBits(uint64_t value) {
  value += 0x9E3779B97F4A7C15ull;
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ull;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBull;
  return value ^ (value >> 31);
}

double UnitRandom(uint64_t key) {
  return static_cast<double>(MixBits(key) >> 11) / 9007199254740992.0;  // 2^53
}

double NormalRandom(uint64_t key) {
  // The sum of four uniform numbers, centred and scaled to deviation 1.
  const uint64_t base = MixBits(key);
  double sum = 0;
  for (uint64_t k = 0; k < 4; ++k)
    sum += UnitRandom(base + k);
  return (sum - 2.0) * std::sqrt(3.0);
}

}  // namespace korvelane::sim
