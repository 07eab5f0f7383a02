// SPDX-License-Identifier: GPL-3.0-or-later
#include "panes/left_pane.h"

#include <QScrollArea>
#include <QVBoxLayout>

#include "panes/base_operation_bar.h"

namespace korvelane {

LeftPane::LeftPane(BaseOperationBar* bar, QWidget* parent) : QWidget(parent), bar_(bar) {
  setAccessibleName(QStringLiteral("Base Oper"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(3, 3, 3, 3);
  // The bar scrolls rather than squeezes when the pane is short.
  auto* scroll = new QScrollArea;
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidget(bar);
  layout->addWidget(scroll);
  setMinimumWidth(0);
}

}  // namespace korvelane
