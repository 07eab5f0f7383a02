// SPDX-License-Identifier: GPL-3.0-or-later
// "Select the Chan" and "Pass|Fail setting".
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

#include "core/protocol/unit_table.h"
#include "list_view_world.h"
#include "views/select_chan_dlg.h"
#include "views/set_pass_fail_dlg.h"

namespace korvelane {
namespace {

using testing::ListViewWorld;

class SelectChanDlgTest : public ListViewWorld {
 protected:
  // Runs the dialog; `act` plays the user and returns the dialog's result.
  std::optional<int> Select(SelectChanMode mode, const std::function<int(CSelectChanDlg&)>& act) {
    script = [&](QDialog& dialog) {
      auto* choice = qobject_cast<CSelectChanDlg*>(&dialog);
      EXPECT_NE(choice, nullptr);
      return choice ? act(*choice) : static_cast<int>(QDialog::Rejected);
    };
    return SelectChannel(tables, mode, Runner());
  }
  static int ClickOk(CSelectChanDlg& dialog) {
    dialog.ok_button()->click();
    return dialog.result();
  }
};

// The choice itself is the core's; here the radios show it and OK and Cancel hand it back.
TEST_F(SelectChanDlgTest, TheRadiosShowTheChoiceAndOkOrCancelHandItBack) {
  tables.wave_slots[1] = {1, 1, 0, 4000};
  tables.wave_slots[6] = {0, 0, 1, 900};
  const char* texts[] = {"CH 1", "CH 2", "Chan 3", "Chan 4", "Chan 5", "Chan 6", "Chan 7"};
  std::optional<int> chosen = Select(SelectChanMode::kMeasurement, [&](CSelectChanDlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Select the Chan"));
    for (int i = 0; i < 7; ++i) {
      EXPECT_EQ(dialog.radio(i)->text(), QString::fromLatin1(texts[i]));
      EXPECT_EQ(dialog.radio(i)->isEnabled(), i == 5) << i;
    }
    EXPECT_TRUE(dialog.radio(5)->isChecked());
    return ClickOk(dialog);
  });
  EXPECT_EQ(chosen, 6);
  EXPECT_EQ(tables.selected_channel, 5);

  chosen = Select(SelectChanMode::kWaveGraph, [&](CSelectChanDlg& dialog) {
    EXPECT_TRUE(dialog.radio(0)->isChecked());
    dialog.radio(5)->click();  // disabled: no change
    dialog.cancel_button()->click();
    return dialog.result();
  });
  EXPECT_FALSE(chosen);
  EXPECT_EQ(tables.selected_channel, 5);

  tables.wave_slots = WaveSlotTable();
  chosen = Select(SelectChanMode::kWaveData, [](CSelectChanDlg& dialog) {
    EXPECT_TRUE(dialog.radio(0)->isChecked());
    return ClickOk(dialog);
  });
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(tables.selected_channel, 0);
}

class PassFailDlgTest : public ListViewWorld {
 protected:
  std::unique_ptr<CSetPassFailDlg> Open() { return std::make_unique<CSetPassFailDlg>(tables, ui); }
  static QStringList Units(QComboBox* box) {
    QStringList units;
    for (int i = 0; i < box->count(); ++i)
      units << box->itemText(i);
    return units;
  }
  const PassFailLimit& Limit(int item) const { return tables.limits[static_cast<size_t>(item)]; }
  std::string Verdict(int item) const {
    return tables.measurement_list.text(item, MeasurementList::kVerdictColumn);
  }
};

TEST_F(PassFailDlgTest, OutOfRangeAndMalformedNumbersAreRefusedWithTheFocusOnThem) {
  auto dialog = Open();
  dialog->measure_type_box()->setCurrentIndex(kVpp);
  // Enable ticked through the accessibility bus unlocks the fields as a click does.
  QAccessible::queryAccessibleInterface(dialog->enable_check())
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(dialog->maximum_field()->isEnabled());
  dialog->maximum_field()->setText(QStringLiteral("99999"));
  dialog->ok_button()->click();
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_EQ(dialog->focusWidget(), dialog->maximum_field());
  dialog->maximum_field()->setText(QStringLiteral("100"));
  dialog->minimum_field()->setText(QStringLiteral("abc"));
  dialog->ok_button()->click();
  EXPECT_EQ(dialog->focusWidget(), dialog->minimum_field());
  dialog->minimum_field()->setText(QStringLiteral("0"));
  dialog->minimum_unit_box()->setCurrentText(QStringLiteral("volt"));
  dialog->ok_button()->click();
  EXPECT_EQ(dialog->focusWidget(), dialog->minimum_unit_box());
  ASSERT_EQ(ui.messages.size(), 3u);
  EXPECT_EQ(ui.messages[0].text, "Please enter an integer between -999 and 999.");
  EXPECT_EQ(ui.messages[1].text, "Please enter an integer.");
  EXPECT_EQ(ui.messages[2].text, "Please enter no more than 3 characters.");
  EXPECT_EQ(Limit(kVpp).maximum, 999);  // nothing stored

  // A change of measurement reports the bad field, stores nothing and shows the new one locked.
  dialog->measure_type_box()->setCurrentIndex(kVmin);
  EXPECT_EQ(dialog->shown_item(), kVmin);
  EXPECT_EQ(dialog->minimum_unit_box()->currentText(), QStringLiteral("mV"));
  EXPECT_FALSE(dialog->enable_check()->isChecked());
  EXPECT_FALSE(dialog->minimum_unit_box()->isEnabled());
  EXPECT_EQ(ui.messages.size(), 4u);
  EXPECT_EQ(LimitUnitText(Limit(kVpp).minimum_unit), "mV");

  dialog->ok_button()->click();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(Limit(kVpp).maximum, 999);
}

TEST_F(PassFailDlgTest, ARefreshWhileTheDialogIsOpenKeepsWhatATypeChangeStored) {
  auto dialog = Open();
  dialog->enable_check()->click();
  dialog->maximum_field()->setText(QStringLiteral("100"));
  dialog->measure_type_box()->setCurrentIndex(kVpp);  // stores Vavg
  Measured(1, 500.0f, kUnitMv);                       // a timer refresh meanwhile
  EXPECT_EQ(Limit(kVavg).maximum, 100);
  EXPECT_EQ(Verdict(kVavg), "Fail");
  dialog->cancel_button()->click();
  EXPECT_EQ(Limit(kVavg).maximum, 100);
}

}  // namespace
}  // namespace korvelane
