// SPDX-License-Identifier: GPL-3.0-or-later
// "Set Custom Time": takes a refresh interval from 100 to 9999 ms.
#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;

namespace korvelane {

class CustomTimeDialog : public QDialog {
  Q_OBJECT

 public:
  // `notice` tells the user why a value was refused.
  explicit CustomTimeDialog(std::function<void(const QString&)> notice, QWidget* parent = nullptr);

  int value() const { return value_; }
  QLineEdit* field() const { return field_; }

  // OK: accepts a valid value, otherwise shows the notice and stays open.
  void accept() override;

 private:
  std::function<void(const QString&)> notice_;
  QLineEdit* field_;
  int value_ = 2000;
};

}  // namespace korvelane
