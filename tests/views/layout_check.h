// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a shown window lays out its controls whole: no control reaches outside its parent, none
// lies over a sibling, no label or button is smaller than its text; and its screenshot.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSizeGrip>
#include <QStyle>
#include <QToolBar>

namespace korvelane::testing {

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

inline std::string Named(const QWidget* widget) {
  return std::string(widget->metaObject()->className()) + " \"" +
         widget->accessibleName().toStdString() + "\"";
}

// Checks `parent`'s visible children and theirs in turn; Qt's composite controls (views, spin
// and combo boxes, fields, buttons, tool bars) place their own parts.
inline void ExpectChildrenLaidOut(const QWidget* parent, const std::string& window) {
  if (qobject_cast<const QAbstractScrollArea*>(parent) ||
      qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QComboBox*>(parent) ||
      qobject_cast<const QLineEdit*>(parent) || qobject_cast<const QToolBar*>(parent) ||
      qobject_cast<const QAbstractButton*>(parent))
    return;
  std::vector<const QWidget*> shown;
  for (const QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->isWindow() && child->isVisible() && !qobject_cast<const QSizeGrip*>(child))
      shown.push_back(child);
  }
  for (size_t i = 0; i < shown.size(); ++i) {
    const QWidget* a = shown[i];
    const QSize room = TextRoom(a);
    EXPECT_TRUE(parent->rect().contains(a->geometry())) << window << ": " << Named(a) << " leaves";
    EXPECT_TRUE(a->width() >= room.width() && a->height() >= room.height())
        << window << ": " << Named(a) << " cuts its text";
    // A group box may be drawn round controls that are its siblings.
    for (size_t j = i + 1; j < shown.size(); ++j) {
      const QRect r = a->geometry(), s = shown[j]->geometry();
      EXPECT_TRUE(!r.intersects(s) || (qobject_cast<const QGroupBox*>(a) && r.contains(s)) ||
                  (qobject_cast<const QGroupBox*>(shown[j]) && s.contains(r)))
          << window << ": " << Named(a) << " overlaps " << Named(shown[j]);
    }
    ExpectChildrenLaidOut(a, window);
  }
}

// Shows `window`, checks its layout and saves its screenshot as NAME_at_Rx.png in the build's
// screenshots/ folder.
inline void ExpectLaidOutAndShoot(QWidget* window, const QString& name) {
  window->show();
  QCoreApplication::sendPostedEvents();  // the layouts' requests
  const QString shots = QCoreApplication::applicationDirPath() + QStringLiteral("/../screenshots");
  QDir().mkpath(shots);
  window->grab().save(
      QStringLiteral("%1/%2_at_%3x.png").arg(shots, name).arg(window->devicePixelRatioF()));
  ExpectChildrenLaidOut(window, name.toStdString());
}

}  // namespace korvelane::testing
