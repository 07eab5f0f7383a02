// SPDX-License-Identifier: GPL-3.0-or-later
#include "transport/answer_assembler.h"

#include <algorithm>
#include <cstring>

#include "core/protocol/frame.h"

namespace korvelane::transport {

AnswerAssembler::AnswerAssembler(uint32_t max_message)
    : max_message_(std::max<uint32_t>(max_message, kHeaderSize)) {}

void AnswerAssembler::Reset() {
  bytes_.clear();
  state_ = State::kCollecting;
  wanted_ = 0;
  announced_length_ = 0;
  surplus_ = false;
}

uint32_t AnswerAssembler::Missing() const {
  if (state_ != State::kCollecting)
    return 0;
  const uint32_t have = static_cast<uint32_t>(bytes_.size());
  return (wanted_ == 0 ? kHeaderSize : wanted_) - have;
}

AnswerAssembler::State AnswerAssembler::Take(const uint8_t* data, size_t size) {
  if (state_ != State::kCollecting) {
    surplus_ = surplus_ || (state_ == State::kComplete && size > 0);
    return state_;
  }
  while (size > 0 && state_ == State::kCollecting) {
    const size_t step = std::min<size_t>(size, Missing());
    bytes_.insert(bytes_.end(), data, data + step);
    data += step;
    size -= step;
    Settle();
  }
  if (size > 0 && state_ == State::kComplete)
    surplus_ = true;
  return state_;
}

// Reads the header once it is in and decides what the message needs.
void AnswerAssembler::Settle() {
  if (bytes_.size() < kHeaderSize)
    return;
  if (wanted_ == 0) {
    announced_length_ = MsgLen(ByteView(bytes_.data(), bytes_.size()));
    if (announced_length_ > max_message_ - kHeaderSize) {
      state_ = State::kRefused;
      bytes_.clear();
      return;
    }
    wanted_ = announced_length_ + static_cast<uint32_t>(kHeaderSize);
    bytes_.reserve(wanted_);
  }
  if (bytes_.size() == wanted_)
    state_ = State::kComplete;
}

ByteView AnswerAssembler::message() const {
  return complete() ? ByteView(bytes_.data(), bytes_.size()) : ByteView();
}

bool AnswerAssembler::Read(uint8_t* buffer, uint32_t count) {
  if (!complete() || count > bytes_.size())
    return false;
  if (count > 0)
    std::memcpy(buffer, bytes_.data(), count);
  if (count == bytes_.size())
    Reset();
  return true;
}

}  // namespace korvelane::transport
