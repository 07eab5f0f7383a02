// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace korvelane {

QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  for (const auto& [which, text] :
       {std::pair{QDialogButtonBox::Ok, QStringLiteral("OK")},
        std::pair{QDialogButtonBox::Cancel, QStringLiteral("Cancel")}}) {
    buttons->button(which)->setText(text);
    buttons->button(which)->setAccessibleName(text);
  }
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace korvelane
