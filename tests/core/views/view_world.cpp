#include "view_world.h"

#include "core/common/byte_view.h"
#include "core/protocol/measurement_record.h"

namespace korvelane::testing {

Bytes ParamBody(bool ch1_on, bool ch2_on, int32_t ch1_pos, int32_t ch2_pos) {
  Bytes body = Body(64, {0, WD_PARAMS, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8});
  body[12] = ch1_on ? 1 : 0;
  PutF32(body, 16, 1.0f);
  body[20] = 7;
  PutU32(body, 24, static_cast<uint32_t>(ch1_pos));
  body[28] = ch2_on ? 1 : 0;
  PutF32(body, 32, 2.0f);
  body[36] = 6;
  PutU32(body, 40, static_cast<uint32_t>(ch2_pos));
  PutF32(body, 44, 500.0f);
  body[48] = 2;
  PutF32(body, 52, 0.5f);
  body[56] = 3;
  body[60] = 3;
  return body;
}

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
