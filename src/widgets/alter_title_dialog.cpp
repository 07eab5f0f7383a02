// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/alter_title_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include "widgets/dialog_buttons.h"

namespace korvelane {

AlterTitleDialog::AlterTitleDialog(const QString& current_title, QWidget* parent)
    : QDialog(parent), current_field_(new QLineEdit(current_title)), new_field_(new QLineEdit) {
  setWindowTitle(QStringLiteral("Alter the title"));
  setAccessibleName(windowTitle());
  auto* layout = new QVBoxLayout(this);

  auto* current_label = new QLabel(QStringLiteral("The current title:"));
  current_label->setBuddy(current_field_);
  layout->addWidget(current_label);
  current_field_->setReadOnly(true);
  current_field_->setAccessibleName(current_label->text());
  layout->addWidget(current_field_);

  auto* new_label = new QLabel(QStringLiteral("The new title:"));
  new_label->setBuddy(new_field_);
  layout->addWidget(new_label);
  new_field_->setAccessibleName(new_label->text());
  layout->addWidget(new_field_);

  auto* buttons = OkCancelButtons(this);
  layout->addWidget(buttons);
  new_field_->setFocus();
  setMinimumWidth(360);
}

QString AlterTitleDialog::new_title() const {
  return new_field_->text();
}

}  // namespace korvelane
