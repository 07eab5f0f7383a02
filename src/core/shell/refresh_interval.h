// SPDX-License-Identifier: GPL-3.0-or-later
// The refresh interval and its menu check mark.
#pragma once

#include <optional>
#include <string>

namespace korvelane {

constexpr int kDefaultIntervalMs = 2000;
constexpr int kCustomIntervalIndex = 20;

struct IntervalChoice {
  int interval_ms = kDefaultIntervalMs;
  int checked_command = 0;  // the one checked "Time Setting" item, 0 for none
};

// Index 0, 1, 2, 3, 5, 10 choose 0.5 s .. 10 s; 20 keeps `current_ms` and checks "Custom...";
// any other index keeps `current_ms` with nothing checked.
IntervalChoice SelectInterval(int index, int current_ms);

// The index whose fixed interval is exactly `ms`, else the custom index.
int IntervalIndexFor(int ms);

// Reads a stored interval: leading decimal digits; a text without a number, or a number below
// 100 or above 10000, gives the default.
IntervalChoice IntervalFromStoredText(const std::string& text);

// A custom interval typed by the user: an unsigned integer from 100 to 9999; none otherwise.
std::optional<int> ParseCustomInterval(const std::string& text);

}  // namespace korvelane
