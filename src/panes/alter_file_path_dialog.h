// SPDX-License-Identifier: GPL-3.0-or-later
// "Alter the initial path": shows the current path and takes a new one, typed or browsed.
#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;

namespace korvelane {

class AlterFilePathDialog : public QDialog {
  Q_OBJECT

 public:
  // Chooses a folder; returns an empty text when the user cancels.
  using FolderChooser = std::function<QString(QWidget* parent, const QString& prompt)>;

  AlterFilePathDialog(const QString& current_path, FolderChooser chooser = {},
                      QWidget* parent = nullptr);

  // The new-path text when the dialog was accepted.
  QString new_path() const;

  // "Browse": a chosen folder becomes the stored text; the field then shows the stored text.
  void Browse();

  QLineEdit* new_path_field() const { return new_path_field_; }

 private:
  FolderChooser chooser_;
  QString stored_path_;
  QLineEdit* new_path_field_;
};

}  // namespace korvelane
