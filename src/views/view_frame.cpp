// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/view_frame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "core/logs/gbk_text.h"

namespace korvelane {

QFont ViewLabelFont() {
  QFont font;
  font.setFamilies({QString::fromUtf8("黑体"), QStringLiteral("SimHei"),
                    QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"),
                    QStringLiteral("Noto Sans CJK")});
  font.setPixelSize(16);
  font.setWeight(static_cast<QFont::Weight>(16));
  return font;
}

void ColourStatic(QLabel* label, const QColor& text, const QColor& background) {
  QPalette palette = label->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::WindowText, text);
    palette.setColor(group, QPalette::Window, background);
  }
  label->setPalette(palette);
  label->setAutoFillBackground(true);
}

QPushButton* MakeViewButton(QWidget* parent, const QString& text, const QRect& rect) {
  auto* push = new QPushButton(text, parent);
  push->setAccessibleName(text);
  push->setGeometry(rect);
  push->setAutoDefault(false);
  push->setDefault(false);
  return push;
}

bool CopyTextToClipboard(const std::string& text) {
  QClipboard* clipboard = QApplication::clipboard();
  if (!clipboard)
    return false;
  clipboard->setText(QString::fromStdString(GbkToUtf8(text)));
  return true;
}

QAction* AddContextAction(QWidget* widget, const QString& text) {
  auto* action = new QAction(text, widget);
  widget->setContextMenuPolicy(Qt::ActionsContextMenu);
  widget->addAction(action);
  return action;
}

bool SwallowEnterAndEscape(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      event->accept();
      return true;
    default:
      return false;
  }
}

void ViewFrame::keyPressEvent(QKeyEvent* event) {
  if (!SwallowEnterAndEscape(event))
    QFrame::keyPressEvent(event);
}

}  // namespace korvelane
