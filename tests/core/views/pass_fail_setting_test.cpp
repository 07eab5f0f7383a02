// The checks and unit choices of the "Pass|Fail setting" dialog and the other dialogs' fields.
#include "core/views/pass_fail_setting.h"

#include <gtest/gtest.h>

#include "core/protocol/measurement_record.h"
#include "core/views/dialog_fields.h"
#include "core/views/wave_data_controller.h"

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
