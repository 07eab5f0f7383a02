// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/dialog_fields.h"

#include <cstdint>

namespace korvelane {
namespace {

bool Blank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::string CheckIntField(std::string_view text, int minimum, int maximum, int* value) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && Blank(text[begin]))
    ++begin;
  while (end > begin && Blank(text[end - 1]))
    --end;
  bool negative = false;
  if (begin < end && (text[begin] == '-' || text[begin] == '+'))
    negative = text[begin++] == '-';
  if (begin == end)
    return "Please enter an integer.";
  // Saturates far outside any range a field allows, so that long numbers are out of range.
  constexpr int64_t kCap = int64_t{1} << 40;
  int64_t number = 0;
  for (size_t i = begin; i < end; ++i) {
    if (text[i] < '0' || text[i] > '9')
      return "Please enter an integer.";
    if (number < kCap)
      number = number * 10 + (text[i] - '0');
  }
  if (negative)
    number = -number;
  if (number < minimum || number > maximum) {
    return "Please enter an integer between " + std::to_string(minimum) + " and " +
           std::to_string(maximum) + ".";
  }
  if (value)
    *value = static_cast<int>(number);
  return {};
}

std::string CheckTextLength(std::string_view text, size_t max_chars) {
  if (text.size() <= max_chars)
    return {};
  return "Please enter no more than " + std::to_string(max_chars) + " characters.";
}

}  // namespace korvelane
