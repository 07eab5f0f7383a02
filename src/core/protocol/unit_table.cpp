// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/protocol/unit_table.h"

#include <cmath>
#include <cstdio>

namespace korvelane {
namespace {
constexpr const char* kUnitTable[kUnitCount] = {"ps",  "ns",  "us",  "ms", "s",  "uV",
                                                "mV",  "V",   "kV",  "?",  "Hz", "KHz",
                                                "MHz", "GHz", "THz", "div"};
constexpr size_t kMaxValueText = 49;
}  // namespace

const char* UnitSuffix(int unit_index) {
  return unit_index >= 0 && unit_index < kUnitCount ? kUnitTable[unit_index] : "?";
}

std::string FormatValueText(float value, int unit_index) {
  if (!std::isfinite(value))
    return "****";
  char text[128];
  std::snprintf(text, sizeof text, "%.2f%s", static_cast<double>(value), UnitSuffix(unit_index));
  std::string result(text);
  if (result.size() > kMaxValueText)
    result.resize(kMaxValueText);
  return result;
}

}  // namespace korvelane
