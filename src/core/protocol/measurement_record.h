// SPDX-License-Identifier: GPL-3.0-or-later
// The instrument's 16-byte measurement record and the eleven measurements in row order.
#pragma once

#include <cstdint>

#include "core/common/byte_view.h"

namespace korvelane {

constexpr int kMeasurementItemCount = 11;

// Names in the order of the records and of the measurement rows.
extern const char* const MeasurementItems[kMeasurementItemCount];

enum MeasurementItem {
  kVavg = 0,
  kVpp,
  kPeriod,
  kFrequency,
  kVrms,
  kVmax,
  kVmin,
  kRiseTime,
  kFallTime,
  kPositiveWidth,
  kNegativeWidth,
};

struct MeasurementRecord {
  bool valid = false;    // byte 0 non-zero
  float value = 0.0f;    // bytes 4..7, big-endian
  int8_t unit = 0;       // byte 8, UnitTable index
  uint8_t decimals = 0;  // byte 12
};

// Decodes record `index` (0..10) of an eleven-record block.
MeasurementRecord DecodeMeasurementRecord(ByteView block, int index);

// Writes one 16-byte record (unused bytes zero).
void EncodeMeasurementRecord(const MeasurementRecord& record, uint8_t* out16);

}  // namespace korvelane
