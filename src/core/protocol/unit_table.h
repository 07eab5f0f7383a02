// SPDX-License-Identifier: GPL-3.0-or-later
// Unit suffixes of values on the wire, and the text of a value with its unit.
#pragma once

#include <string>

namespace korvelane {

enum UnitIndex {
  kUnitPs = 0,
  kUnitNs = 1,
  kUnitUs = 2,
  kUnitMs = 3,
  kUnitS = 4,
  kUnitUv = 5,
  kUnitMv = 6,
  kUnitV = 7,
  kUnitKv = 8,
  kUnitUnknown = 9,
  kUnitHz = 10,
  kUnitKhz = 11,
  kUnitMhz = 12,
  kUnitGhz = 13,
  kUnitThz = 14,
  kUnitDiv = 15,
};

constexpr int kUnitCount = 16;

// The suffix of a unit index; "?" for an index outside 0..15.
const char* UnitSuffix(int unit_index);

// "%.2f%s" of the value and the unit's suffix, at most 49 characters; "****" for a value that
// is not finite.
std::string FormatValueText(float value, int unit_index);

}  // namespace korvelane
