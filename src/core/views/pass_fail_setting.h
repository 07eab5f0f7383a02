// SPDX-License-Identifier: GPL-3.0-or-later
// What the "Pass|Fail setting" dialog does with its fields, apart from its widgets: the unit
// families it offers, how a stored unit is found among them, the checks and the store of the
// limits it shows, and its reactions to Enable, a change of the measurement, OK and Cancel.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/common/user_interface.h"
#include "core/views/pass_fail.h"
#include "core/views/view_tables.h"

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

// The dialog's widgets as its logic sees them.
class PassFailSettingForm {
 public:
  virtual ~PassFailSettingForm() = default;
  virtual LimitFieldTexts ReadFieldTexts() = 0;
  // Both unit boxes offer `family`; the fields show `limit`.
  virtual void ShowLimits(const std::vector<std::string>& family, const PassFailLimit& limit) = 0;
  virtual void SetEnableChecked(bool checked) = 0;
  // The minimum, the maximum and both unit boxes.
  virtual void EnableFields(bool enable) = 0;
  virtual void FocusField(LimitField field) = 0;
};

// The "Pass|Fail setting" dialog without its widgets. It changes only the limits and
// `limits_initialised`; refusals of bad fields are shown through `ui`.
class PassFailSetting {
 public:
  PassFailSetting(ViewTables& tables, UserInterface& ui, PassFailSettingForm& form)
      : tables_(tables), ui_(ui), form_(form) {}

  // Shows Vavg with its fields locked. Limits that were never set get their defaults now and
  // count as set, so a refresh while the dialog is open cannot put the defaults back over what
  // the dialog stores.
  void Open();
  // Enable was clicked: the fields are read (a bad one is only reported), then unlocked or locked.
  void EnableClicked(bool checked);
  // Another measurement was chosen: the fields go into the one shown before when they are good
  // (a bad one is reported and nothing is stored), Enable is unchecked and `item` is shown locked.
  void MeasureTypeChanged(int item);
  // OK: true when the fields were stored into the measurement shown and the dialog may close;
  // false after a refusal, with the bad field open and focused.
  bool Ok();
  // Cancel: the limits count as set; the fields are not stored.
  void Cancel() { tables_.limits_initialised = true; }

  // The measurement whose limits the fields show, 0..10.
  int shown_item() const { return shown_item_; }

 private:
  void Show(int item);
  // The fields checked; a bad field's refusal is shown and `bad_field` names it.
  bool ReadFields(PassFailLimit* limit, LimitField* bad_field = nullptr);

  ViewTables& tables_;
  UserInterface& ui_;
  PassFailSettingForm& form_;
  int shown_item_ = 0;
};

}  // namespace korvelane
