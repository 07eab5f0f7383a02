// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/measurement_record.h"

#include <cstring>

namespace korvelane {

const char* const MeasurementItems[kMeasurementItemCount] = {
    "Vavg", "Vpp",       "Period",    "Frequency",      "Vrms",          "Vmax",
    "Vmin", "Rise Time", "Fall Time", "Positive Width", "Negative Width"};

MeasurementRecord DecodeMeasurementRecord(ByteView block, int index) {
  const ByteView record = block.Sub(static_cast<size_t>(index) * 16);
  MeasurementRecord r;
  r.valid = record.U8(0) != 0;
  r.value = record.F32BE(4);
  r.unit = record.S8(8);
  r.decimals = record.U8(12);
  return r;
}

void EncodeMeasurementRecord(const MeasurementRecord& record, uint8_t* out16) {
  std::memset(out16, 0, 16);
  out16[0] = record.valid ? 1 : 0;
  PutF32BE(out16 + 4, record.value);
  out16[8] = static_cast<uint8_t>(record.unit);
  out16[12] = record.decimals;
}

}  // namespace korvelane
