// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/picture_size_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

namespace korvelane {
namespace {

QSpinBox* SideBox(const QString& name, int value) {
  auto* box = new QSpinBox;
  box->setRange(PictureSizeDialog::kMinimumSide, PictureSizeDialog::kMaximumSide);
  box->setSuffix(QStringLiteral(" px"));
  box->setValue(value);
  box->setAccessibleName(name);
  return box;
}

}  // namespace

PictureSizeDialog::PictureSizeDialog(QSize shown, QWidget* parent)
    : QDialog(parent),
      width_(SideBox(QStringLiteral("Width"), shown.width())),
      height_(SideBox(QStringLiteral("Height"), shown.height())) {
  setWindowTitle(QStringLiteral("Picture Size"));
  setAccessibleName(windowTitle());
  auto* layout = new QFormLayout(this);
  layout->addRow(QStringLiteral("&Width:"), width_);
  layout->addRow(QStringLiteral("&Height:"), height_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
  buttons->button(QDialogButtonBox::Cancel)->setAccessibleName(QStringLiteral("Cancel"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addRow(buttons);
  width_->setFocus();
}

QSize PictureSizeDialog::chosen_size() const {
  return QSize(width_->value(), height_->value());
}

}  // namespace korvelane
