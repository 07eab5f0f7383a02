// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/custom_time_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/shell/refresh_interval.h"
#include "widgets/dialog_buttons.h"

namespace korvelane {

CustomTimeDialog::CustomTimeDialog(std::function<void(const QString&)> notice, QWidget* parent)
    : QDialog(parent), notice_(std::move(notice)), field_(new QLineEdit(QStringLiteral("2000"))) {
  setWindowTitle(QStringLiteral("Set Custom Time"));
  setAccessibleName(windowTitle());
  auto* layout = new QVBoxLayout(this);
  auto* text = new QLabel(QString::fromUtf8(
      "Please input the time value in the under edit box(The valid value is 100～9999) Units: ms"));
  text->setWordWrap(true);
  layout->addWidget(text);
  field_->setAccessibleName(QStringLiteral("Interval time"));
  layout->addWidget(field_);
  auto* buttons = OkCancelButtons(this);
  layout->addWidget(buttons);
  setMinimumWidth(380);
}

void CustomTimeDialog::accept() {
  const std::optional<int> value = ParseCustomInterval(field_->text().toStdString());
  if (!value) {
    if (notice_)
      notice_(QStringLiteral("Please enter a whole number from 100 to 9999."));
    field_->setFocus();
    field_->selectAll();
    return;
  }
  value_ = *value;
  QDialog::accept();
}

}  // namespace korvelane
