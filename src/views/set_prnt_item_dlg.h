// SPDX-License-Identifier: GPL-3.0-or-later
// "Select the list item to print": the range of Wave Data items that Print hands to the print
// preview. OK refuses a Start outside 1..3999 or an End outside 2..4000 and stays open.
#pragma once

#include <QDialog>

#include "core/common/user_interface.h"

class QLineEdit;
class QPushButton;

namespace korvelane {

class CSetPrntItemDlg : public QDialog {
  Q_OBJECT

 public:
  // The fields start with `start` and `end`; refusals are shown through `ui`.
  CSetPrntItemDlg(UserInterface& ui, int start, int end, QWidget* parent = nullptr);

  // The range read by the last accepted OK.
  int start() const { return start_; }
  int end() const { return end_; }

  QLineEdit* start_field() const { return start_field_; }
  QLineEdit* end_field() const { return end_field_; }
  QPushButton* ok_button() const { return ok_; }
  QPushButton* cancel_button() const { return cancel_; }

  void accept() override;

 private:
  UserInterface& ui_;
  int start_;
  int end_;
  QLineEdit* start_field_ = nullptr;
  QLineEdit* end_field_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace korvelane
