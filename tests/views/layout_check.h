// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a shown window lays out its controls whole: no control reaches outside its parent, none
// lies over a sibling, no label or button is smaller than its text; and its screenshot.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QSizeGrip>
#include <QStyle>
#include <QToolBar>
#include <QWidget>

namespace korvelane::testing {

// Qt's own composite controls place their parts themselves.
inline bool LaysOutItsOwnParts(const QWidget* widget) {
  return qobject_cast<const QAbstractScrollArea*>(widget) ||
         qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QComboBox*>(widget) ||
         qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QToolBar*>(widget) ||
         qobject_cast<const QAbstractButton*>(widget);
}

// A group box drawn round its controls, as dialogs laid out by coordinates place them.
inline bool Encloses(const QWidget* outer, const QWidget* inner) {
  return qobject_cast<const QGroupBox*>(outer) && outer->geometry().contains(inner->geometry());
}

// The room the text of a label or button needs; empty for other widgets.
inline QSize TextRoom(const QWidget* widget) {
  if (const auto* label = qobject_cast<const QLabel*>(widget))
    return label->wordWrap() || label->text().isEmpty() ? QSize() : label->minimumSizeHint();
  const auto* button = qobject_cast<const QAbstractButton*>(widget);
  if (!button || button->text().isEmpty())
    return QSize();
  const QFontMetrics metrics(button->font());
  int width = metrics.horizontalAdvance(QString(button->text()).remove(QLatin1Char('&')));
  if (!qobject_cast<const QPushButton*>(button)) {  // the check box's or radio's indicator
    width += button->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
             button->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
  }
  return QSize(width, metrics.height());
}

inline QString WidgetName(const QWidget* widget) {
  return QStringLiteral("%1 \"%2\"")
      .arg(QString::fromLatin1(widget->metaObject()->className()), widget->accessibleName());
}

// Checks `parent`'s visible children and theirs in turn.
inline void ExpectChildrenLaidOut(const QWidget* parent, const QString& window) {
  if (LaysOutItsOwnParts(parent))
    return;
  std::vector<const QWidget*> shown;
  for (const QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->isWindow() && child->isVisible() && !qobject_cast<const QSizeGrip*>(child))
      shown.push_back(child);
  }
  const bool main_window = qobject_cast<const QMainWindow*>(parent) != nullptr;
  for (size_t i = 0; i < shown.size(); ++i) {
    const QWidget* a = shown[i];
    EXPECT_TRUE(parent->rect().contains(a->geometry()))
        << window.toStdString() << ": " << WidgetName(a).toStdString() << " leaves "
        << WidgetName(parent).toStdString();
    const QSize room = TextRoom(a);
    EXPECT_TRUE(a->width() >= room.width() && a->height() >= room.height())
        << window.toStdString() << ": " << WidgetName(a).toStdString()
        << " cuts its text: " << a->width() << "x" << a->height() << " for " << room.width() << "x"
        << room.height();
    for (size_t j = i + 1; j < shown.size() && !main_window; ++j) {
      const QWidget* b = shown[j];
      EXPECT_TRUE(!a->geometry().intersects(b->geometry()) || Encloses(a, b) || Encloses(b, a))
          << window.toStdString() << ": " << WidgetName(a).toStdString() << " overlaps "
          << WidgetName(b).toStdString();
    }
    ExpectChildrenLaidOut(a, window);
  }
}

// Shows `window`, checks its layout and saves its screenshot as NAME_at_Rx.png in the build's
// screenshots/ folder.
inline void ExpectLaidOutAndShoot(QWidget* window, const QString& name) {
  window->show();
  QCoreApplication::sendPostedEvents();  // the layouts' requests
  const QString shots = QDir(QCoreApplication::applicationDirPath())
                            .absoluteFilePath(QStringLiteral("../screenshots"));
  QDir().mkpath(shots);
  window->grab().save(
      QStringLiteral("%1/%2_at_%3x.png").arg(shots, name).arg(window->devicePixelRatioF()));
  ExpectChildrenLaidOut(window, name);
}

}  // namespace korvelane::testing
