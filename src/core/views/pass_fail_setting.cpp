// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/views/pass_fail_setting.h"

#include <cctype>
#include <utility>

#include "core/protocol/measurement_record.h"
#include "core/protocol/unit_table.h"
#include "core/views/dialog_fields.h"

namespace korvelane {
namespace {

std::vector<std::string> Units(int first, int last) {
  std::vector<std::string> units;
  for (int unit = first; unit <= last; ++unit)
    units.emplace_back(UnitSuffix(unit));
  return units;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size())
    return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(text[i])) !=
        std::tolower(static_cast<unsigned char>(prefix[i])))
      return false;
  }
  return true;
}

}  // namespace

const std::vector<std::string>& LimitUnitFamily(int item) {
  static const std::vector<std::string> kVolts = Units(kUnitUv, kUnitKv);
  static const std::vector<std::string> kTimes = Units(kUnitPs, kUnitS);
  static const std::vector<std::string> kFrequencies = Units(kUnitHz, kUnitThz);
  switch (item) {
    case kPeriod:
    case kRiseTime:
    case kFallTime:
    case kPositiveWidth:
    case kNegativeWidth:
      return kTimes;
    case kFrequency:
      return kFrequencies;
    default:
      return kVolts;
  }
}

int FindUnitEntry(const std::vector<std::string>& family, std::string_view stored) {
  if (stored.empty())
    return -1;
  for (size_t i = 0; i < family.size(); ++i) {
    if (StartsWithIgnoringCase(family[i], stored))
      return static_cast<int>(i);
  }
  return -1;
}

LimitFieldCheck ReadLimitFields(const LimitFieldTexts& texts) {
  LimitFieldCheck check;
  // Only the first bad field is reported.
  auto refuse = [&check](LimitField field, std::string refusal) {
    if (check.ok() && !refusal.empty()) {
      check.bad_field = field;
      check.refusal = std::move(refusal);
    }
  };
  int minimum = 0;
  int maximum = 0;
  refuse(LimitField::kMinimum, CheckIntField(texts.minimum, kLimitLowest, kLimitHighest, &minimum));
  refuse(LimitField::kMinimumUnit, CheckTextLength(texts.minimum_unit, kLimitUnitChars));
  refuse(LimitField::kMaximum, CheckIntField(texts.maximum, kLimitLowest, kLimitHighest, &maximum));
  refuse(LimitField::kMaximumUnit, CheckTextLength(texts.maximum_unit, kLimitUnitChars));
  if (!check.ok())
    return check;
  check.limit.minimum = minimum;
  check.limit.maximum = maximum;
  SetLimitUnit(check.limit.minimum_unit, texts.minimum_unit);
  SetLimitUnit(check.limit.maximum_unit, texts.maximum_unit);
  return check;
}

void StoreLimitsFromDialog(PassFailLimits& limits, int item, const PassFailLimit& limit) {
  if (item < 0 || item >= kMeasurementItemCount)
    return;
  limits[static_cast<size_t>(item)] = limit;
}

void PassFailSetting::Open() {
  if (!tables_.limits_initialised) {
    ResetPassFailLimits(tables_.limits);
    tables_.limits_initialised = true;
  }
  Show(0);
  form_.SetEnableChecked(false);
  form_.EnableFields(false);
}

void PassFailSetting::Show(int item) {
  form_.ShowLimits(LimitUnitFamily(item), tables_.limits[static_cast<size_t>(item)]);
  shown_item_ = item;
}

bool PassFailSetting::ReadFields(PassFailLimit* limit, LimitField* bad_field) {
  const LimitFieldCheck check = ReadLimitFields(form_.ReadFieldTexts());
  if (bad_field)
    *bad_field = check.bad_field;
  if (check.ok()) {
    *limit = check.limit;
    return true;
  }
  ui_.ShowMessage(check.refusal, kFieldRefusalCaption, MessageIcon::kExclamation);
  return false;
}

void PassFailSetting::EnableClicked(bool checked) {
  PassFailLimit limit;
  ReadFields(&limit);
  form_.EnableFields(checked);
}

void PassFailSetting::MeasureTypeChanged(int item) {
  if (item < 0 || item >= kMeasurementItemCount || item == shown_item_)
    return;
  PassFailLimit limit;
  if (ReadFields(&limit))
    StoreLimitsFromDialog(tables_.limits, shown_item_, limit);
  form_.SetEnableChecked(false);
  Show(item);
  form_.EnableFields(false);
}

bool PassFailSetting::Ok() {
  PassFailLimit limit;
  LimitField bad_field = LimitField::kNone;
  if (!ReadFields(&limit, &bad_field)) {
    // A bad field must be open to correction.
    form_.SetEnableChecked(true);
    form_.EnableFields(true);
    form_.FocusField(bad_field);
    return false;
  }
  StoreLimitsFromDialog(tables_.limits, shown_item_, limit);
  tables_.limits_initialised = true;
  return true;
}

}  // namespace korvelane
