// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/about_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/program_icon.h"

namespace korvelane {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About  Korvelane 2.0"));
  setAccessibleName(windowTitle());
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  auto* icon = new QLabel;
  icon->setPixmap(ProgramPixmap(48));
  icon->setAccessibleName(QStringLiteral("Korvelane icon"));
  row->addWidget(icon);
  auto* texts = new QVBoxLayout;
  texts->addWidget(new QLabel(QStringLiteral("Korvelane  2.0  Application")));
  texts->addWidget(new QLabel(QStringLiteral("SoftVersion :  %1").arg(kSoftVersion)));
  row->addLayout(texts, 1);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

}  // namespace korvelane
