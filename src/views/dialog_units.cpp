// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/dialog_units.h"

#include <QFontMetrics>
#include <algorithm>

namespace korvelane {

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  static const QString kLetters =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  base_width_ = std::max(1, (metrics.horizontalAdvance(kLetters) + 26) / 52);
  base_height_ = std::max(1, metrics.height());
}

int DialogUnits::X(int units) const {
  return (units * base_width_ + 2) / 4;
}

int DialogUnits::Y(int units) const {
  return (units * base_height_ + 4) / 8;
}

// Corners rounded each on its own, so that controls that meet in dialog units meet in pixels
// and never overlap by a rounded pixel.
QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  return QRect(QPoint(X(x), Y(y)), QPoint(X(x + width) - 1, Y(y + height) - 1));
}

}  // namespace korvelane
