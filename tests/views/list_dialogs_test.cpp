// SPDX-License-Identifier: GPL-3.0-or-later
// "Select the Chan" and "Pass|Fail setting" over the core's choice and limit rules.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/protocol/unit_table.h"
#include "list_view_world.h"
#include "views/select_chan_dlg.h"
#include "views/set_pass_fail_dlg.h"

namespace korvelane {
namespace {

using DialogTest = testing::ListViewWorld;

TEST_F(DialogTest, TheChannelRadiosShowTheChoiceAndOkOrCancelHandItBack) {
  tables.wave_slots[1] = {1, 1, 0, 4000};
  tables.wave_slots[6] = {0, 0, 1, 900};
  // Runs the dialog in `mode`; `act` plays the user and returns the dialog's result.
  auto select = [this](SelectChanMode mode, const std::function<int(CSelectChanDlg&)>& act) {
    script = [&act](QDialog& dialog) {
      auto* choice = qobject_cast<CSelectChanDlg*>(&dialog);
      return choice ? act(*choice) : static_cast<int>(QDialog::Rejected);
    };
    return SelectChannel(tables, mode, Runner());
  };
  std::optional<int> chosen = select(SelectChanMode::kMeasurement, [](CSelectChanDlg& dialog) {
    for (int i = 0; i < 7; ++i)
      EXPECT_EQ(dialog.radio(i)->isEnabled(), i == 5) << i;
    EXPECT_TRUE(dialog.radio(5)->isChecked());
    dialog.ok_button()->click();
    return dialog.result();
  });
  EXPECT_EQ(chosen, 6);
  EXPECT_EQ(tables.selected_channel, 5);

  chosen = select(SelectChanMode::kWaveGraph, [](CSelectChanDlg& dialog) {
    EXPECT_TRUE(dialog.radio(0)->isChecked());
    dialog.radio(5)->click();  // disabled: no change
    dialog.cancel_button()->click();
    return dialog.result();
  });
  EXPECT_FALSE(chosen);
  EXPECT_EQ(tables.selected_channel, 5);
}

TEST_F(DialogTest, PassFailEnableTickedThroughTheBusUnlocksAndABadFieldKeepsTheFocus) {
  CSetPassFailDlg dialog(tables, ui);
  dialog.measure_type_box()->setCurrentIndex(kVpp);
  QAccessible::queryAccessibleInterface(dialog.enable_check())
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::toggleAction());
  EXPECT_TRUE(dialog.maximum_field()->isEnabled());
  dialog.maximum_field()->setText(QStringLiteral("99999"));
  dialog.ok_button()->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(dialog.focusWidget(), dialog.maximum_field());
  EXPECT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(tables.limits[kVpp].maximum, 999);  // nothing stored
}

TEST_F(DialogTest, ARefreshWhilePassFailIsOpenKeepsWhatATypeChangeStored) {
  CSetPassFailDlg dialog(tables, ui);
  dialog.enable_check()->click();
  dialog.maximum_field()->setText(QStringLiteral("100"));
  dialog.measure_type_box()->setCurrentIndex(kVpp);  // stores Vavg
  Measured(1, 500.0f, kUnitMv);                      // a timer refresh meanwhile
  EXPECT_EQ(tables.limits[kVavg].maximum, 100);
  EXPECT_EQ(tables.measurement_list.text(kVavg, MeasurementList::kVerdictColumn), "Fail");
  dialog.cancel_button()->click();
  EXPECT_EQ(tables.limits[kVavg].maximum, 100);
}

}  // namespace
}  // namespace korvelane
