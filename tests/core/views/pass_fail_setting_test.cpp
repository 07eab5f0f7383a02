// SPDX-License-Identifier: GPL-3.0-or-later
// The checks and unit choices of the "Pass|Fail setting" dialog and the other dialogs' fields.
#include "core/views/pass_fail_setting.h"

#include <gtest/gtest.h>

#include "core/protocol/measurement_record.h"
#include "core/views/dialog_fields.h"
#include "core/views/wave_data_controller.h"
#include "support/fake_user_interface.h"

namespace korvelane {
namespace {

using Units = std::vector<std::string>;

constexpr const char* kNotANumber = "Please enter an integer.";
constexpr const char* kOutOfRange = "Please enter an integer between -999 and 999.";

LimitFieldTexts Fields(const char* minimum, const char* maximum, const char* min_unit = "mV",
                       const char* max_unit = "mV") {
  return {minimum, min_unit, maximum, max_unit};
}

TEST(LimitUnitFamilyTest, AStoredUnitSelectsTheFirstEntryItBeginsIgnoringCase) {
  const Units& volts = LimitUnitFamily(kVavg);
  EXPECT_EQ(FindUnitEntry(volts, "mV"), 1);
  EXPECT_EQ(FindUnitEntry(volts, "mv"), 1);  // typed in lower case: still shown as "mV"
  EXPECT_EQ(FindUnitEntry(volts, "KV"), 3);
  EXPECT_EQ(FindUnitEntry(volts, "m"), 1);
  EXPECT_EQ(FindUnitEntry(volts, "mVx"), -1);
  EXPECT_EQ(FindUnitEntry(volts, "Hz"), -1);
  EXPECT_EQ(FindUnitEntry(volts, ""), -1);
  EXPECT_EQ(FindUnitEntry(LimitUnitFamily(kPeriod), "s"), 4);
  EXPECT_EQ(FindUnitEntry(LimitUnitFamily(kFrequency), "khz"), 1);
}

TEST(LimitFieldsTest, WholeNumbersFromMinus999To999AreTaken) {
  const LimitFieldCheck check = ReadLimitFields(Fields("-999", "999", "uV", "kV"));
  ASSERT_TRUE(check.ok()) << check.refusal;
  EXPECT_EQ(check.limit.minimum, -999);
  EXPECT_EQ(check.limit.maximum, 999);
  EXPECT_EQ(LimitUnitText(check.limit.minimum_unit), "uV");
  EXPECT_EQ(LimitUnitText(check.limit.maximum_unit), "kV");
  // Blanks around a number, a plus sign, and a minimum above the maximum are all accepted.
  const LimitFieldCheck loose = ReadLimitFields(Fields(" +12 ", "\t-3", "mv", ""));
  ASSERT_TRUE(loose.ok()) << loose.refusal;
  EXPECT_EQ(loose.limit.minimum, 12);
  EXPECT_EQ(loose.limit.maximum, -3);
  EXPECT_EQ(LimitUnitText(loose.limit.minimum_unit), "mv");
  EXPECT_EQ(LimitUnitText(loose.limit.maximum_unit), "");
}

TEST(LimitFieldsTest, BadFieldsAreRefusedOneAtATimeInTheDialogsOrder) {
  struct Case {
    LimitFieldTexts fields;
    LimitField bad;
    const char* refusal;
  };
  const Case cases[] = {
      {Fields("99999", "0"), LimitField::kMinimum, kOutOfRange},
      {Fields("abc", "0"), LimitField::kMinimum, kNotANumber},
      {Fields("", "0"), LimitField::kMinimum, kNotANumber},
      {Fields("-", "0"), LimitField::kMinimum, kNotANumber},
      {Fields("12abc", "0"), LimitField::kMinimum, kNotANumber},
      {Fields("1.5", "0"), LimitField::kMinimum, kNotANumber},
      {Fields("-1000", "0"), LimitField::kMinimum, kOutOfRange},
      {Fields("99999999999999999999999", "0"), LimitField::kMinimum, kOutOfRange},
      {Fields("0", "1000"), LimitField::kMaximum, kOutOfRange},
      {Fields("0", "x"), LimitField::kMaximum, kNotANumber},
      {Fields("0", "0", "mVVV"), LimitField::kMinimumUnit,
       "Please enter no more than 3 characters."},
      {Fields("0", "0", "mV", "volt"), LimitField::kMaximumUnit,
       "Please enter no more than 3 characters."},
      // The first bad field is the one reported.
      {Fields("abc", "1000", "long", "long"), LimitField::kMinimum, kNotANumber},
      {Fields("0", "1000", "long"), LimitField::kMinimumUnit,
       "Please enter no more than 3 characters."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fields.minimum + " " + c.fields.maximum + " " + c.fields.minimum_unit);
    const LimitFieldCheck check = ReadLimitFields(c.fields);
    EXPECT_EQ(check.bad_field, c.bad);
    EXPECT_EQ(check.refusal, c.refusal);
  }
}

// The dialog's widgets: fields as typed, what was shown and which fields are open.
class FakeSettingForm : public PassFailSettingForm {
 public:
  LimitFieldTexts ReadFieldTexts() override { return fields; }
  void ShowLimits(const std::vector<std::string>& family, const PassFailLimit& limit) override {
    units = family;
    fields = {std::to_string(limit.minimum), std::string(LimitUnitText(limit.minimum_unit)),
              std::to_string(limit.maximum), std::string(LimitUnitText(limit.maximum_unit))};
  }
  void SetEnableChecked(bool checked) override { enable_checked = checked; }
  void EnableFields(bool enable) override { open = enable; }
  void FocusField(LimitField field) override { focus = field; }

  LimitFieldTexts fields;
  Units units;
  bool enable_checked = true;
  bool open = true;
  LimitField focus = LimitField::kNone;
};

class PassFailSettingTest : public ::testing::Test {
 protected:
  PassFailSettingTest() { setting.Open(); }
  const PassFailLimit& Limit(int item) const { return tables.limits[static_cast<size_t>(item)]; }
  // Ticks Enable and types `maximum`.
  void TypeMaximum(const char* maximum) {
    form.enable_checked = true;
    setting.EnableClicked(true);
    form.fields.maximum = maximum;
  }

  ViewTables tables;
  testing::FakeUserInterface ui;
  FakeSettingForm form;
  PassFailSetting setting{tables, ui, form};
};

TEST_F(PassFailSettingTest, AChangeOfMeasurementStoresGoodFieldsAndShowsTheNewOneLocked) {
  EXPECT_TRUE(tables.limits_initialised);
  EXPECT_EQ(form.fields.maximum, "999");
  EXPECT_FALSE(form.open);
  TypeMaximum("100");
  EXPECT_TRUE(form.open);
  setting.MeasureTypeChanged(kPeriod);
  EXPECT_EQ(Limit(kVavg).maximum, 100);
  EXPECT_EQ(setting.shown_item(), kPeriod);
  EXPECT_EQ(form.units, (Units{"ps", "ns", "us", "ms", "s"}));
  EXPECT_EQ(form.fields.minimum_unit, "us");
  EXPECT_FALSE(form.enable_checked);
  EXPECT_FALSE(form.open);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PassFailSettingTest, ABadFieldIsReportedButNeitherStoredNorAllowedToHoldTheDialog) {
  // A change of measurement: the range message, nothing stored, Enable unchecked, the new one
  // shown with its fields locked.
  TypeMaximum("1000");
  setting.MeasureTypeChanged(kVpp);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kOutOfRange);
  EXPECT_EQ(Limit(kVavg).maximum, 999);
  EXPECT_EQ(setting.shown_item(), kVpp);
  EXPECT_EQ(form.fields.maximum, "999");
  EXPECT_FALSE(form.enable_checked);
  EXPECT_FALSE(form.open);

  // Unticking Enable reads the fields, then locks them whatever they hold.
  TypeMaximum("abc");
  form.enable_checked = false;
  setting.EnableClicked(false);
  ASSERT_EQ(ui.messages.size(), 2u);
  EXPECT_EQ(ui.messages[1].text, kNotANumber);
  EXPECT_FALSE(form.open);
  EXPECT_FALSE(form.enable_checked);

  // OK does not close on a bad field: it opens the fields and puts the focus on it.
  EXPECT_FALSE(setting.Ok());
  EXPECT_EQ(ui.messages.size(), 3u);
  EXPECT_TRUE(form.open);
  EXPECT_TRUE(form.enable_checked);
  EXPECT_EQ(form.focus, LimitField::kMaximum);
  form.fields.maximum = "5";
  EXPECT_TRUE(setting.Ok());
  EXPECT_EQ(Limit(kVpp).maximum, 5);
}

TEST(PrintRangeTest, StartAndEndEachKeepToTheirOwnRange) {
  PrintRangeCheck check = ReadPrintRange("1", "4000");
  ASSERT_TRUE(check.ok());
  EXPECT_EQ(check.first, 1);
  EXPECT_EQ(check.last, 4000);
  check = ReadPrintRange("4000", "4000");
  EXPECT_EQ(check.bad_field, PrintRangeCheck::kStart);
  EXPECT_EQ(check.refusal, "Please enter an integer between 1 and 3999.");
  check = ReadPrintRange("0", "4000");
  EXPECT_EQ(check.bad_field, PrintRangeCheck::kStart);
  check = ReadPrintRange("50", "1");
  EXPECT_EQ(check.bad_field, PrintRangeCheck::kEnd);
  EXPECT_EQ(check.refusal, "Please enter an integer between 2 and 4000.");
  check = ReadPrintRange("50", "");
  EXPECT_EQ(check.bad_field, PrintRangeCheck::kEnd);
  EXPECT_EQ(check.refusal, kNotANumber);
  // End is not compared with Start.
  check = ReadPrintRange("3999", "2");
  ASSERT_TRUE(check.ok());
  EXPECT_EQ(check.last - check.first + 1, -3996);
}

}  // namespace
}  // namespace korvelane
