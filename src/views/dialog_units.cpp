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

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  return QRect(X(x), Y(y), X(width), Y(height));
}

}  // namespace korvelane
