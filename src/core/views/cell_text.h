// SPDX-License-Identifier: GPL-3.0-or-later
// A short list text kept inside the cell itself, so that filling thousands of cells allocates
// nothing. Longer texts are cut to the capacity.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace korvelane {

class CellText {
 public:
  static constexpr size_t kCapacity = 15;

  CellText() = default;
  explicit CellText(std::string_view text) { Set(text); }

  void Set(std::string_view text) {
    size_ = static_cast<uint8_t>(text.size() < kCapacity ? text.size() : kCapacity);
    if (size_ > 0)
      std::memcpy(chars_, text.data(), size_);
  }
  void Clear() { size_ = 0; }

  std::string_view view() const { return std::string_view(chars_, size_); }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  friend bool operator==(const CellText& cell, std::string_view text) {
    return cell.view() == text;
  }

 private:
  char chars_[kCapacity] = {};
  uint8_t size_ = 0;
};

}  // namespace korvelane
