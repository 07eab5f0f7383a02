// SPDX-License-Identifier: GPL-3.0-or-later
// A knob of the virtual front panel as a pair of step arrows around a knob cap: the left arrow
// steps down, the right arrow up. The knob has no position of its own; each click is one step.
#pragma once

#include <QWidget>

class QToolButton;

namespace korvelane {

class KnobArrows : public QWidget {
  Q_OBJECT

 public:
  // `caption` is printed above the knob; `name` names the knob for screen readers.
  KnobArrows(const QString& caption, const QString& name, QWidget* parent = nullptr);

  // -1 the decrease arrow, +1 the increase arrow.
  QToolButton* arrow(int direction) const { return direction < 0 ? decrease_ : increase_; }

 signals:
  // One click on an arrow: +1 increase, -1 decrease.
  void Stepped(int direction);

 private:
  QToolButton* decrease_ = nullptr;
  QToolButton* increase_ = nullptr;
};

// A knob cap seen from above, for the knobs and the knob-press buttons.
QPixmap KnobPixmap(int size, qreal device_pixel_ratio = 1.0);

}  // namespace korvelane
