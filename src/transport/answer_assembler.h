// SPDX-License-Identifier: GPL-3.0-or-later
// Assembles one answer of the instrument from the bulk transfers that carry it: the 16-byte
// header first, then as many bytes as the header's message length announces. Bytes in, a whole
// message (or a refusal) out; the USB link does the transfers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/common/byte_view.h"

namespace korvelane::transport {

// Largest message a USB answer may hold, header included; a header announcing more is garbage.
constexpr uint32_t kMaxUsbMessage = 64 * 1024;

class AnswerAssembler {
 public:
  enum class State {
    kCollecting,  // header or body still incomplete
    kComplete,    // the whole message is in
    kRefused,     // the header announces more than a message may hold
  };

  // `max_message` counts the header; it is at least the header's 16 bytes.
  explicit AnswerAssembler(uint32_t max_message = kMaxUsbMessage);

  // Forgets the answer; the next bytes start a new header.
  void Reset();

  State state() const { return state_; }
  bool complete() const { return state_ == State::kComplete; }

  // Bytes still needed: up to the end of the header while it is incomplete, then up to the end
  // of the message; 0 when complete or refused.
  uint32_t Missing() const;

  // Appends the bytes of one transfer. Bytes past the end of the message are dropped and
  // noted in surplus(); bytes that come when the answer is complete or refused are dropped too.
  State Take(const uint8_t* data, size_t size);

  // Bytes were dropped after the message's end: the instrument may hold more of them.
  bool surplus() const { return surplus_; }

  // The header's message length (body bytes), once the header is in.
  uint32_t announced_length() const { return announced_length_; }

  // The complete message, header included; empty while collecting or refused.
  ByteView message() const;

  // A read of `count` bytes of the complete message from its start: false, leaving the message
  // as it is, when the answer is not complete or shorter than `count`. A read of the whole
  // message consumes it.
  bool Read(uint8_t* buffer, uint32_t count);

 private:
  void Settle();

  const uint32_t max_message_;
  std::vector<uint8_t> bytes_;
  State state_ = State::kCollecting;
  uint32_t wanted_ = 0;  // header plus announced body, once the header is in
  uint32_t announced_length_ = 0;
  bool surplus_ = false;
};

}  // namespace korvelane::transport
