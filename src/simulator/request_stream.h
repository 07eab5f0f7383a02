// SPDX-License-Identifier: GPL-3.0-or-later
// Cuts the bytes arriving on a stream connection into whole request messages.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvelane::sim {

class RequestStream {
 public:
  void Append(const uint8_t* data, size_t size);

  // Moves the next whole message (header and body) into `message`; false while more bytes are
  // needed. Bytes that cannot begin a message (no signature, or a body longer than any message
  // fits) are skipped up to the next signature and counted in discarded().
  bool Next(std::vector<uint8_t>& message);

  size_t buffered() const { return buffer_.size(); }
  size_t discarded() const { return discarded_; }
  void Clear() { buffer_.clear(); }

 private:
  void Discard(size_t count);

  std::vector<uint8_t> buffer_;
  size_t discarded_ = 0;
};

}  // namespace korvelane::sim
