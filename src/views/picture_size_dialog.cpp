// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/picture_size_dialog.h"

#include <QFormLayout>
#include <QSpinBox>
#include "widgets/dialog_buttons.h"

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
  auto* buttons = OkCancelButtons(this);
  layout->addRow(buttons);
  width_->setFocus();
}

QSize PictureSizeDialog::chosen_size() const {
  return QSize(width_->value(), height_->value());
}

}  // namespace korvelane
