// SPDX-License-Identifier: GPL-3.0-or-later
#include "panes/alter_file_path_dialog.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>
#include "widgets/dialog_buttons.h"

namespace korvelane {
namespace {

QString ChooseFolder(QWidget* parent, const QString& prompt) {
  return QFileDialog::getExistingDirectory(
      parent, prompt, QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
      QFileDialog::ShowDirsOnly);
}

}  // namespace

AlterFilePathDialog::AlterFilePathDialog(const QString& current_path, FolderChooser chooser,
                                         QWidget* parent)
    : QDialog(parent),
      chooser_(chooser ? std::move(chooser) : FolderChooser(ChooseFolder)),
      new_path_field_(new QLineEdit) {
  setWindowTitle(QStringLiteral("Alter the initial path"));
  setAccessibleName(windowTitle());
  auto* layout = new QVBoxLayout(this);

  layout->addWidget(new QLabel(QStringLiteral("The current path:")));
  auto* current = new QLineEdit(current_path);
  current->setReadOnly(true);
  current->setAccessibleName(QStringLiteral("The current path:"));
  layout->addWidget(current);

  layout->addWidget(new QLabel(QStringLiteral("The new path:")));
  auto* row = new QHBoxLayout;
  new_path_field_->setAccessibleName(QStringLiteral("The new path:"));
  row->addWidget(new_path_field_, 1);
  auto* browse = new QPushButton(QStringLiteral("Browse"));
  browse->setAccessibleName(browse->text());
  connect(browse, &QPushButton::clicked, this, &AlterFilePathDialog::Browse);
  row->addWidget(browse);
  layout->addLayout(row);

  auto* buttons = OkCancelButtons(this);
  layout->addWidget(buttons);
  setMinimumWidth(420);
}

void AlterFilePathDialog::Browse() {
  const QString chosen = chooser_(this, QStringLiteral("Select your path"));
  if (!chosen.isEmpty())
    stored_path_ = chosen;
  new_path_field_->setText(stored_path_);
}

QString AlterFilePathDialog::new_path() const {
  return new_path_field_->text();
}

}  // namespace korvelane
