// SPDX-License-Identifier: GPL-3.0-or-later
// Talking to a SimulatedInstrument with the program's own request builders.
#pragma once

#include <cstdint>
#include <vector>

#include "core/common/byte_view.h"
#include "core/protocol/frame.h"
#include "simulator/simulated_instrument.h"

namespace korvelane::sim::testing {

class Talk {
 public:
  explicit Talk(SimulatedInstrument& instrument) : instrument_(instrument) {}

  // Sends what the builder put in the buffer; returns the whole answer (empty for none).
  template <typename Build, typename... Args>
  const std::vector<uint8_t>& Send(Build build, Args... args) {
    build(buffer_, args...);
    answer_ = instrument_.Exchange(buffer_.data(), RequestSize(buffer_));
    return answer_;
  }
  const std::vector<uint8_t>& Bind() { return Send(BuildBindRequest); }
  const std::vector<uint8_t>& Params() { return Send(BuildParamsRequest); }
  const std::vector<uint8_t>& Channel(WaveDataType type, uint8_t measure) {
    return Send(BuildChannelRequest, type, measure);
  }
  const std::vector<uint8_t>& Key(uint8_t code, uint8_t value = 1) {
    return Send(BuildPanelKeyRequest, code, value);
  }
  const std::vector<uint8_t>& Piece(uint32_t number) { return Send(BuildBmpPieceRequest, number); }

  const std::vector<uint8_t>& answer() const { return answer_; }
  ByteView message() const { return ByteView(answer_.data(), answer_.size()); }
  ByteView body() const { return message().Sub(kHeaderSize); }
  int8_t result() const { return body().S8(0); }

  // Whole bitmap by begin, pieces and end; empty when any step fails.
  std::vector<uint8_t> FetchBitmap();

 private:
  SimulatedInstrument& instrument_;
  MessageBuffer buffer_{};
  std::vector<uint8_t> answer_;
};

inline std::vector<uint8_t> Talk::FetchBitmap() {
  Send(BuildBmpBeginRequest);
  if (answer_.empty() || body().U8(8) != 0)
    return {};
  const uint32_t total = body().U32BE(4);
  std::vector<uint8_t> file;
  for (uint32_t n = 0; file.size() < total && n < 40; ++n) {
    Piece(n);
    if (answer_.empty() || body().U8(4013) != 0)
      return {};
    const uint32_t length = body().U32BE(4);
    uint32_t sum = body().U32BE(8);
    for (uint32_t i = 0; i < length; ++i) {
      sum += body().U8(12 + i);
      file.push_back(body().U8(12 + i));
    }
    if (sum != 0 || body().U32BE(0) != n)
      return {};
  }
  Send(BuildBmpEndRequest);
  return answer_.empty() || body().U8(1) != 0 ? std::vector<uint8_t>() : file;
}

}  // namespace korvelane::sim::testing
