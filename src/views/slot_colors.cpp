// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/slot_colors.h"

namespace korvelane {

QColor SlotColor(int slot) {
  static const QColor kColors[7] = {QColor(255, 255, 0), QColor(0, 255, 255), QColor(255, 0, 255),
                                    QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(0, 0, 255),
                                    QColor(0, 128, 0)};
  return slot >= 1 && slot <= 7 ? kColors[slot - 1] : QColor(Qt::white);
}

}  // namespace korvelane
