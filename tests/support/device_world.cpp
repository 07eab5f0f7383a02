// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/device_world.h"

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

Bytes ConfigBody() {
  Bytes body = Body(2504, {0, WD_CONFIG});
  for (size_t i = 0; i < 2500; ++i)
    body[4 + i] = static_cast<uint8_t>(i * 7);
  return body;
}

Bytes PieceBody(uint32_t file_num, const Bytes& data) {
  Bytes body = Body(4014);
  PutU32(body, 0, file_num);
  PutU32(body, 4, static_cast<uint32_t>(data.size()));
  std::copy(data.begin(), data.end(), body.begin() + 12);
  PutU32(body, 8, PieceChecksum(data.data(), data.size()));
  return body;
}

}  // namespace korvelane::testing
