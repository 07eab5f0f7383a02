#include "support/messages.h"

#include <algorithm>
#include <cstdio>

#include "core/common/byte_view.h"

namespace korvelane::testing {

Bytes MakeMessage(int8_t operation_id, const Bytes& body, uint8_t msg_type) {
  Bytes message = {'D', 'S', 'O', 'P', 'P', 'V',      '2',
                   '0', 0,   0,   0,   0,   msg_type, static_cast<uint8_t>(operation_id),
                   0,   0};
  PutU32(message, 8, static_cast<uint32_t>(body.size()));
  message.insert(message.end(), body.begin(), body.end());
  return message;
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
