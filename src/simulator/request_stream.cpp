// SPDX-License-Identifier: GPL-3.0-or-later
#include "simulator/request_stream.h"

#include <algorithm>
#include <cstring>

#include "core/common/byte_view.h"
#include "core/protocol/frame.h"

namespace korvelane::sim {

void RequestStream::Append(const uint8_t* data, size_t size) {
  if (data && size)
    buffer_.insert(buffer_.end(), data, data + size);
}

void RequestStream::Discard(size_t count) {
  count = std::min(count, buffer_.size());
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(count));
  discarded_ += count;
}

bool RequestStream::Next(std::vector<uint8_t>& message) {
  constexpr size_t kSignSize = sizeof kDsoppSign;
  for (;;) {
    // Skip to the first signature, keeping a tail that may be the start of one.
    const auto sign =
        std::search(buffer_.begin(), buffer_.end(), kDsoppSign, kDsoppSign + kSignSize);
    if (sign == buffer_.end()) {
      if (buffer_.size() >= kSignSize)
        Discard(buffer_.size() - (kSignSize - 1));
      return false;
    }
    Discard(static_cast<size_t>(sign - buffer_.begin()));
    if (buffer_.size() < kHeaderSize)
      return false;
    const uint32_t msg_len = MsgLen(ByteView(buffer_.data(), kHeaderSize));
    if (msg_len > kMaxBodySize) {
      Discard(1);  // not a message: look for the next signature
      continue;
    }
    const size_t size = kHeaderSize + msg_len;
    if (buffer_.size() < size)
      return false;
    message.assign(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(size));
    buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(size));
    return true;
  }
}

}  // namespace korvelane::sim
