// SPDX-License-Identifier: GPL-3.0-or-later
// "Alter the title": shows a picture's current title and takes a new one.
#pragma once

#include <QDialog>

class QLineEdit;

namespace korvelane {

class AlterTitleDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AlterTitleDialog(const QString& current_title, QWidget* parent = nullptr);

  // The new-title text as typed.
  QString new_title() const;

  QLineEdit* current_title_field() const { return current_field_; }
  QLineEdit* new_title_field() const { return new_field_; }

 private:
  QLineEdit* current_field_;
  QLineEdit* new_field_;
};

}  // namespace korvelane
