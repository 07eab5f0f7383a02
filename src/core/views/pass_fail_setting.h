// What the "Pass|Fail setting" dialog does with its fields, apart from its widgets: the unit
// families it offers, how a stored unit is found among them, and the checks and the store of
// the limits it shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/views/pass_fail.h"

namespace korvelane {

// The unit texts offered for an item: "uV" "mV" "V" "kV" for the voltages, "ps" "ns" "us" "ms"
// "s" for the times, "Hz" "KHz" "MHz" "GHz" "THz" for Frequency. Items outside 0..10 get the
// voltages.
const std::vector<std::string>& LimitUnitFamily(int item);

// Entry of `family` that a unit box selects for a stored unit text: the first whose text begins
// with `stored`, ignoring case. -1 when none does; an empty text selects none.
int FindUnitEntry(const std::vector<std::string>& family, std::string_view stored);

// The dialog's four limit fields as typed.
struct LimitFieldTexts {
  std::string minimum;
  std::string minimum_unit;
  std::string maximum;
  std::string maximum_unit;
};

enum class LimitField { kNone, kMinimum, kMinimumUnit, kMaximum, kMaximumUnit };

// The fields read back: `limit` when every field is good, otherwise the first bad field in the
// dialog's order with its refusal. Limits are whole numbers from -999 to 999; a unit text has room
// for three characters; a minimum above the maximum is accepted.
struct LimitFieldCheck {
  LimitField bad_field = LimitField::kNone;
  std::string refusal;
  PassFailLimit limit;

  bool ok() const { return bad_field == LimitField::kNone; }
};

constexpr int kLimitLowest = -999;
constexpr int kLimitHighest = 999;
constexpr size_t kLimitUnitChars = 3;

LimitFieldCheck ReadLimitFields(const LimitFieldTexts& texts);

// Copies checked fields into entry `item` (0..10; another item is ignored).
void StoreLimitsFromDialog(PassFailLimits& limits, int item, const PassFailLimit& limit);

}  // namespace korvelane
