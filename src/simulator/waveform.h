// SPDX-License-Identifier: GPL-3.0-or-later
// The signals wired to the simulated instrument's inputs and the sample codes it records of them.
#pragma once

#include <cstdint>
#include <vector>

namespace korvelane::sim {

// What is connected to one input: a sine or a square wave between two levels.
struct SignalShape {
  enum Kind { kSine, kSquare } kind = kSine;
  double frequency = 1000.0;  // Hz
  double low = -1.0;          // V
  double high = 1.0;          // V
  double edge = 0.0;          // square wave: seconds from low to high (and back)

  double period() const { return 1.0 / frequency; }
  double middle() const { return (low + high) / 2; }
  double peak_to_peak() const { return high - low; }
  // The noiseless level at time `t`; t = 0 is a rising crossing of the middle for the sine and the
  // start of the rising edge for the square wave.
  double VoltsAt(double t) const;
};

// CH1 carries a 1 kHz sine of 2 Vpp, CH2 a 2 kHz square wave from 0 V to 2 V.
const SignalShape& InputSignal(int channel);

// Noise added to every sample, volts RMS.
constexpr double kNoiseVolts = 0.008;

// How one record is taken.
struct RecordTiming {
  int count = 0;            // samples
  double interval = 0.0;    // seconds between samples
  double first_time = 0.0;  // time of sample 0, seconds after the trigger point
};

// Where a channel's samples land on the 200-unit screen: code 18 is the bottom, 25 units a
// division, the channel's 0 V at code 18 + position.
struct VerticalScale {
  double volts_per_div = 1.0;
  int position = 100;  // 0 V, in units above the bottom of the screen

  double ground_code() const { return 18.0 + position; }
  double volts_per_code() const { return volts_per_div / 25.0; }
};

// Sample codes of `signal`, shifted so that signal time `shift` falls on the trigger point, with
// reproducible noise chosen by `noise_key`. Codes are limited to 0..255.
std::vector<uint8_t> SynthesizeSamples(const SignalShape& signal, const VerticalScale& scale,
                                       const RecordTiming& timing, double shift,
                                       uint64_t noise_key);

// Reproducible pseudo-random numbers.
uint64_t MixBits(uint64_t value);
double UnitRandom(uint64_t key);    // uniform in [0, 1)
double NormalRandom(uint64_t key);  // about normal, mean 0, deviation 1

}  // namespace korvelane::sim
