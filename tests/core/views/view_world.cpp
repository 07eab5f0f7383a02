// SPDX-License-Identifier: GPL-3.0-or-later
#include "view_world.h"

#include "core/common/byte_view.h"
#include "core/protocol/measurement_record.h"

namespace korvelane::testing {

Bytes ChannelBody(int8_t data_type, int32_t count, uint8_t seed) {
  Bytes body = Body(4184, {0, static_cast<uint8_t>(data_type)});
  PutU32(body, 4, static_cast<uint32_t>(count));
  for (size_t i = 0; i < 4000; ++i)
    body[8 + i] = static_cast<uint8_t>(i + seed);
  for (int item = 0; item < kMeasurementItemCount; ++item)
    EncodeMeasurementRecord({true, 500.0f, 6, 2}, body.data() + 4008 + item * 16);
  return body;
}

}  // namespace korvelane::testing
