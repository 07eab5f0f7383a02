// SPDX-License-Identifier: GPL-3.0-or-later
// The eleven automatic measurements the instrument computes from a record it took.
#pragma once

#include <array>
#include <cstdint>

#include "core/protocol/measurement_record.h"
#include "simulator/waveform.h"

namespace korvelane::sim {

using Measurements = std::array<MeasurementRecord, kMeasurementItemCount>;

// Measures `count` sample codes taken every `interval` seconds on `scale`. Voltages come in mV
// or V, times in ns, us, ms or s, the frequency in Hz, KHz or MHz, each with four significant
// digits. A measurement that does not apply (no edges, fewer than two cycles, a clipped level)
// is marked not valid.
Measurements Measure(const uint8_t* samples, int count, const VerticalScale& scale,
                     double interval);

// A value in volts, seconds or hertz as the instrument reports it: scaled to a sensible unit,
// with its number of decimals.
MeasurementRecord VoltsRecord(double volts);
MeasurementRecord SecondsRecord(double seconds);
MeasurementRecord HertzRecord(double hertz);

}  // namespace korvelane::sim
