// SPDX-License-Identifier: GPL-3.0-or-later
// Bounded, big-endian reads over a byte range. Reads past the end yield zero, so parsers of
// instrument answers and files never touch memory outside what they were given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace korvelane {

class ByteView {
 public:
  ByteView() = default;
  ByteView(const uint8_t* data, size_t size) : data_(data), size_(data ? size : 0) {}

  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

  uint8_t U8(size_t offset) const { return offset < size_ ? data_[offset] : 0; }
  int8_t S8(size_t offset) const { return static_cast<int8_t>(U8(offset)); }
  uint32_t U32BE(size_t offset) const {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
      value = value << 8 | At(offset, i);
    return value;
  }
  int32_t S32BE(size_t offset) const { return static_cast<int32_t>(U32BE(offset)); }
  float F32BE(size_t offset) const {
    uint32_t bits = U32BE(offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

  // Copies up to `count` bytes from `offset`; bytes past the end are written as zero.
  void CopyTo(size_t offset, uint8_t* out, size_t count) const {
    for (size_t i = 0; i < count; ++i)
      out[i] = At(offset, i);
  }

  ByteView Sub(size_t offset) const {
    return offset < size_ ? ByteView(data_ + offset, size_ - offset) : ByteView();
  }

 private:
  // Byte `index` after `offset`, without overflowing the sum.
  uint8_t At(size_t offset, size_t index) const {
    return offset < size_ && index < size_ - offset ? data_[offset + index] : 0;
  }

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

inline void PutU32BE(uint8_t* out, uint32_t value) {
  out[0] = static_cast<uint8_t>(value >> 24);
  out[1] = static_cast<uint8_t>(value >> 16);
  out[2] = static_cast<uint8_t>(value >> 8);
  out[3] = static_cast<uint8_t>(value);
}

inline void PutF32BE(uint8_t* out, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  PutU32BE(out, bits);
}

}  // namespace korvelane
