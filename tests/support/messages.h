// SPDX-License-Identifier: GPL-3.0-or-later
// Building answer messages byte by byte for scripted exchanges.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvelane::testing {

using Bytes = std::vector<uint8_t>;

// A whole message: "DSOPPV20", msg_len = body size, msg_type, operation id, two zero bytes,
// then the body.
Bytes MakeMessage(int8_t operation_id, const Bytes& body, uint8_t msg_type = 1);

// A body of `size` zero bytes with `prefix` at its start.
Bytes Body(size_t size, const Bytes& prefix = {});

// Parameter record: panel bytes 1..8, CH1 1.00V at `ch1_pos`, CH2 2.00mV at `ch2_pos`, time/div
// 500us, horizontal position 0.50ms, status 3.
Bytes ParamBody(bool ch1_on, bool ch2_on, int32_t ch1_pos = 25, int32_t ch2_pos = -30);

void PutU32(Bytes& bytes, size_t offset, uint32_t value);
void PutF32(Bytes& bytes, size_t offset, float value);

// "44 53 4F ..." for readable failure messages.
std::string Hex(const uint8_t* data, size_t size);
inline std::string Hex(const Bytes& bytes) {
  return Hex(bytes.data(), bytes.size());
}

}  // namespace korvelane::testing
