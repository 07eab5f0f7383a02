// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/messages.h"

#include <algorithm>
#include <cstdio>

#include "core/common/byte_view.h"
#include "core/protocol/frame.h"

namespace korvelane::testing {

Bytes MakeMessage(int8_t operation_id, const Bytes& body, uint8_t msg_type) {
  Bytes message = {'D', 'S', 'O', 'P', 'P', 'V',      '2',
                   '0', 0,   0,   0,   0,   msg_type, static_cast<uint8_t>(operation_id),
                   0,   0};
  PutU32(message, 8, static_cast<uint32_t>(body.size()));
  message.insert(message.end(), body.begin(), body.end());
  return message;
}

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

Bytes Body(size_t size, const Bytes& prefix) {
  Bytes body(size, 0);
  std::copy_n(prefix.begin(), std::min(prefix.size(), size), body.begin());
  return body;
}

void PutU32(Bytes& bytes, size_t offset, uint32_t value) {
  if (bytes.size() < offset + 4)
    bytes.resize(offset + 4);
  PutU32BE(bytes.data() + offset, value);
}

void PutF32(Bytes& bytes, size_t offset, float value) {
  if (bytes.size() < offset + 4)
    bytes.resize(offset + 4);
  PutF32BE(bytes.data() + offset, value);
}

std::string Hex(const uint8_t* data, size_t size) {
  std::string text;
  char part[4];
  for (size_t i = 0; i < size; ++i) {
    std::snprintf(part, sizeof part, i ? " %02X" : "%02X", data[i]);
    text += part;
  }
  return text;
}

}  // namespace korvelane::testing
