// SPDX-License-Identifier: GPL-3.0-or-later
// "Pass|Fail setting": the lower and upper limit of each of the eleven measurements, with their
// units. The fields are locked until "Enable" is checked; a change of the measurement stores the
// fields into the one shown before, OK stores them into the one shown, and both OK and Cancel
// leave the limits in use from then on. Verdicts change at the next measurement fill.
#pragma once

#include <QDialog>

#include "core/common/user_interface.h"
#include "core/views/pass_fail_setting.h"
#include "core/views/view_tables.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace korvelane {

class CSetPassFailDlg : public QDialog, private PassFailSettingForm {
  Q_OBJECT

 public:
  // Opens on Vavg. Limits that were never set get their defaults now, and are in use from now
  // on. Refusals of bad fields are shown through `ui`.
  CSetPassFailDlg(ViewTables& tables, UserInterface& ui, QWidget* parent = nullptr);

  // The measurement whose limits the fields show, 0..10.
  int shown_item() const { return setting_.shown_item(); }

  QComboBox* measure_type_box() const { return measure_type_; }
  QCheckBox* enable_check() const { return enable_; }
  QLineEdit* minimum_field() const { return minimum_; }
  QLineEdit* maximum_field() const { return maximum_; }
  QComboBox* minimum_unit_box() const { return minimum_unit_; }
  QComboBox* maximum_unit_box() const { return maximum_unit_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }

  void accept() override;
  void reject() override;

 private:
  void BuildControls();
  LimitFieldTexts ReadFieldTexts() override;
  void ShowLimits(const std::vector<std::string>& family, const PassFailLimit& limit) override;
  void SetEnableChecked(bool checked) override;
  void EnableFields(bool enable) override;
  void FocusField(LimitField field) override;

  PassFailSetting setting_;
  QComboBox* measure_type_ = nullptr;
  QCheckBox* enable_ = nullptr;
  QLineEdit* minimum_ = nullptr;
  QLineEdit* maximum_ = nullptr;
  QComboBox* minimum_unit_ = nullptr;
  QComboBox* maximum_unit_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace korvelane
