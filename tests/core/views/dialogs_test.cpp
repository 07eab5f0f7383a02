// SPDX-License-Identifier: GPL-3.0-or-later
// The dialogs' logic: the checks and unit choices of the "Pass|Fail setting" dialog, the print
// range, and the channel choice before a wave file is written.
#include <gtest/gtest.h>

#include "core/protocol/measurement_record.h"
#include "core/views/dialog_fields.h"
#include "core/views/pass_fail_setting.h"
#include "core/views/select_chan.h"
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

TEST(LimitFieldsTest, AStoredUnitSelectsTheFirstEntryItBeginsIgnoringCase) {
  const struct {
    int item;
    const char* unit;
    int entry;
  } cases[] = {{kVavg, "mV", 1}, {kVavg, "mv", 1},   {kVavg, "KV", 3},
               {kVavg, "m", 1},  {kVavg, "mVx", -1}, {kVavg, "Hz", -1},
               {kVavg, "", -1},  {kPeriod, "s", 4},  {kFrequency, "khz", 1}};
  for (const auto& c : cases)
    EXPECT_EQ(FindUnitEntry(LimitUnitFamily(c.item), c.unit), c.entry) << c.unit;
}

TEST(LimitFieldsTest, WholeNumbersAndShortUnitsAreTakenAndTheFirstBadFieldIsRefused) {
  constexpr const char* kTooLong = "Please enter no more than 3 characters.";
  const struct {
    LimitFieldTexts fields;
    LimitField bad;
    const char* refusal;
  } cases[] = {
      {Fields("-999", "999", "KHz", "kV"), LimitField::kNone, ""},
      // Blanks around a number, a plus sign, and a minimum above the maximum are all accepted.
      {Fields(" +12 ", "\t-3", "mv", ""), LimitField::kNone, ""},
      {Fields("", "0"), LimitField::kMinimum, kNotANumber},
      {Fields("12abc", "0"), LimitField::kMinimum, kNotANumber},
      {Fields("-1000", "0"), LimitField::kMinimum, kOutOfRange},
      {Fields("99999999999999999999999", "0"), LimitField::kMinimum, kOutOfRange},
      {Fields("0", "1000"), LimitField::kMaximum, kOutOfRange},
      {Fields("0", "0", "mVVV"), LimitField::kMinimumUnit, kTooLong},
      {Fields("0", "0", "mV", "volt"), LimitField::kMaximumUnit, kTooLong},
      // The first bad field is the one reported.
      {Fields("abc", "1000", "long", "long"), LimitField::kMinimum, kNotANumber},
      {Fields("0", "1000", "long"), LimitField::kMinimumUnit, kTooLong},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fields.minimum + " " + c.fields.maximum + " " + c.fields.minimum_unit);
    const LimitFieldCheck check = ReadLimitFields(c.fields);
    EXPECT_EQ(check.bad_field, c.bad);
    EXPECT_EQ(check.refusal, c.refusal);
    if (check.ok()) {
      EXPECT_EQ(check.limit.minimum, std::stoi(c.fields.minimum));
      EXPECT_EQ(check.limit.maximum, std::stoi(c.fields.maximum));
      EXPECT_EQ(LimitUnitText(check.limit.minimum_unit), c.fields.minimum_unit);
      EXPECT_EQ(LimitUnitText(check.limit.maximum_unit), c.fields.maximum_unit);
    }
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
  void FocusField(LimitField) override {}

  LimitFieldTexts fields;
  Units units;
  bool enable_checked = true;
  bool open = true;
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

TEST_F(PassFailSettingTest, AChangeOfMeasurementStoresGoodFieldsAndABadFieldHoldsNothing) {
  EXPECT_TRUE(tables.limits_initialised);
  EXPECT_FALSE(form.open);
  TypeMaximum("100");
  EXPECT_TRUE(form.open);
  setting.MeasureTypeChanged(kPeriod);
  EXPECT_EQ(Limit(kVavg).maximum, 100);
  EXPECT_EQ(form.units, (Units{"ps", "ns", "us", "ms", "s"}));
  EXPECT_EQ(form.fields.minimum_unit, "us");

  // A bad field on a change of measurement: the range message, nothing stored, Enable
  // unchecked, the new one shown with its fields locked.
  TypeMaximum("1000");
  setting.MeasureTypeChanged(kVpp);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kOutOfRange);
  EXPECT_EQ(Limit(kPeriod).maximum, 999);
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

  // OK does not close on a bad field, which is opened for correction (the dialog's test shows
  // the focus put on it).
  EXPECT_FALSE(setting.Ok());
  EXPECT_TRUE(form.enable_checked);
  EXPECT_TRUE(form.open);
  form.fields.maximum = "5";
  EXPECT_TRUE(setting.Ok());
  EXPECT_EQ(Limit(kVpp).maximum, 5);
}

TEST(PrintRangeTest, StartAndEndEachKeepToTheirOwnRange) {
  const struct {
    const char* start;
    const char* end;
    PrintRangeCheck::Field bad;
    const char* refusal;
  } cases[] = {
      {"1", "4000", PrintRangeCheck::kNone, ""},
      {"3999", "2", PrintRangeCheck::kNone, ""},  // End is not compared with Start
      {"0", "4000", PrintRangeCheck::kStart, "Please enter an integer between 1 and 3999."},
      {"50", "1", PrintRangeCheck::kEnd, "Please enter an integer between 2 and 4000."},
      {"50", "", PrintRangeCheck::kEnd, kNotANumber},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.start) + ".." + c.end);
    const PrintRangeCheck check = ReadPrintRange(c.start, c.end);
    EXPECT_EQ(check.bad_field, c.bad);
    EXPECT_EQ(check.refusal, c.refusal);
    if (check.ok()) {
      EXPECT_EQ(check.first, std::stoi(c.start));
      EXPECT_EQ(check.last, std::stoi(c.end));
    }
  }
}

TEST(SelectChanTest, EachModeOffersTheSlotsWithItsViewsDataAndChoosesTheFirst) {
  using Offer = std::pair<std::vector<int>, int>;  // the slots offered, the slot chosen
  WaveSlotTable table;
  const auto offer = [&table](SelectChanMode mode) {
    const SelectChanChoice choice = OpenSelectChan(table, mode);
    Offer offered{{}, choice.slot()};
    for (int slot = 1; slot <= kSlotCount; ++slot) {
      if (choice.enabled[static_cast<size_t>(slot - 1)])
        offered.first.push_back(slot);
    }
    return offered;
  };
  EXPECT_EQ(offer(SelectChanMode::kWaveData), (Offer{{}, 1}));
  table[1] = {1, 1, 0, 4000};  // graph and wave data
  table[2] = {0, 0, 1, 0};     // measurements only
  table[5] = {0, 1, 1, 800};   // a wave data file with measurements, hidden
  table[7] = {1, 0, 0, 300};   // shown only
  EXPECT_EQ(offer(SelectChanMode::kWaveData), (Offer{{1, 5}, 1}));
  EXPECT_EQ(offer(SelectChanMode::kMeasurement), (Offer{{2, 5}, 2}));
  EXPECT_FALSE(SlotHasModeData(table, SelectChanMode::kWaveData, 0));
  EXPECT_FALSE(SlotHasModeData(table, SelectChanMode::kWaveData, 8));
}

}  // namespace
}  // namespace korvelane
