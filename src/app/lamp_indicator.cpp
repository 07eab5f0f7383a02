// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/lamp_indicator.h"

#include <QPainter>
#include <algorithm>

namespace korvelane {
namespace {
// Left edges of the lamps, measured from the right end of the menu bar.
constexpr int kLinkLampFromRight = 50;
constexpr int kBindLampFromRight = 30;
const QColor kGreen(0, 255, 0);
const QColor kRed(255, 0, 0);
}  // namespace

LampIndicator::LampIndicator(QWidget* parent) : QWidget(parent) {
  setAccessibleName(QStringLiteral("Connection lamps"));
  setFixedWidth(kWidth);
  SetState(false, false);
}

QSize LampIndicator::sizeHint() const {
  return QSize(kWidth, 22);
}

void LampIndicator::SetState(bool link_ok, bool bound) {
  link_ok_ = link_ok;
  bound_ = bound;
  setAccessibleDescription(
      QStringLiteral("Link %1, bound %2")
          .arg(link_ok ? QStringLiteral("ok") : QStringLiteral("lost"))
          .arg(link_ok && bound ? QStringLiteral("yes") : QStringLiteral("no")));
  setToolTip(accessibleDescription());
  update();
}

QRect LampIndicator::LampRect(int from_right) const {
  // The lamps stand 20 pixels apart, so they never grow past 18 pixels.
  const int diameter = std::clamp(height() - 4, 4, 18);
  return QRect(width() - from_right, 2, diameter, diameter);
}

QPoint LampIndicator::LinkLampCentre() const {
  return LampRect(kLinkLampFromRight).center();
}

QPoint LampIndicator::BindLampCentre() const {
  return LampRect(kBindLampFromRight).center();
}

void LampIndicator::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor link = link_ok_ ? kGreen : kRed;
  const QColor bind = link_ok_ && bound_ ? kGreen : kRed;
  painter.setPen(QPen(link, 1));
  painter.setBrush(link);
  painter.drawEllipse(LampRect(kLinkLampFromRight));
  painter.setPen(QPen(bind, 1));
  painter.setBrush(bind);
  painter.drawEllipse(LampRect(kBindLampFromRight));
}

}  // namespace korvelane
