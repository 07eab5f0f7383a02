// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/shell/refresh_interval.h"

#include <cctype>

#include "core/shell/command_ids.h"

namespace korvelane {
namespace {

struct FixedInterval {
  int index;
  int ms;
  int command;
};

constexpr FixedInterval kFixed[] = {
    {0, 500, kCmdInterval05s}, {1, 1000, kCmdInterval1s}, {2, 2000, kCmdInterval2s},
    {3, 3000, kCmdInterval3s}, {5, 5000, kCmdInterval5s}, {10, 10000, kCmdInterval10s},
};

constexpr int kMinStoredMs = 100;
constexpr int kMaxStoredMs = 10000;

// Leading decimal digits after optional blanks; false when there are none.
bool LeadingNumber(const std::string& text, long long* value) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
    ++i;
  long long n = 0;
  size_t digits = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i, ++digits) {
    if (n < 1000000000)
      n = n * 10 + (text[i] - '0');
  }
  *value = n;
  return digits > 0;
}

}  // namespace

IntervalChoice SelectInterval(int index, int current_ms) {
  for (const FixedInterval& f : kFixed) {
    if (f.index == index)
      return {f.ms, f.command};
  }
  if (index == kCustomIntervalIndex)
    return {current_ms, kCmdIntervalCustom};
  return {current_ms, 0};
}

int IntervalIndexFor(int ms) {
  for (const FixedInterval& f : kFixed) {
    if (f.ms == ms)
      return f.index;
  }
  return kCustomIntervalIndex;
}

IntervalChoice IntervalFromStoredText(const std::string& text) {
  long long ms = 0;
  if (!LeadingNumber(text, &ms) || ms < kMinStoredMs || ms > kMaxStoredMs) {
    return SelectInterval(2, kDefaultIntervalMs);
  }
  return SelectInterval(IntervalIndexFor(static_cast<int>(ms)), static_cast<int>(ms));
}

std::optional<int> ParseCustomInterval(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  size_t last = text.find_last_not_of(" \t");
  if (first == std::string::npos)
    return std::nullopt;
  const std::string digits = text.substr(first, last - first + 1);
  if (digits.empty() || digits.size() > 5)
    return std::nullopt;
  int n = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c)))
      return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (n < 100 || n > 9999)
    return std::nullopt;
  return n;
}

}  // namespace korvelane
