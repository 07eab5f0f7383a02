// SPDX-License-Identifier: GPL-3.0-or-later
// A push key with a lamp, or a lamp alone: the button control of the virtual front panel. It holds
// an on/off value and a pair of colours (32 bits, red in the low byte): the rest colour is shown
// while the value is clear, the active colour while it is set; a key also shows its active colour
// while it is held down. A key reports each click through QAbstractButton::clicked.
#pragma once

#include <QAbstractButton>
#include <QColor>

#include "core/panel/lamp_colours.h"

namespace korvelane {

class LampButton : public QAbstractButton {
  Q_OBJECT

 public:
  enum class Kind {
    kKey,        // a clickable key whose face is the lamp
    kIndicator,  // a round lamp without a click action
  };

  explicit LampButton(Kind kind, QWidget* parent = nullptr);

  Kind kind() const { return kind_; }

  bool value() const { return value_; }
  void SetValue(bool value);

  LampColour rest_colour() const { return colours_.rest; }
  LampColour active_colour() const { return colours_.active; }
  const LampColours& colours() const { return colours_; }
  void SetColours(const LampColours& colours);

  // The colour the lamp shows now.
  QColor shown_colour() const;

  static QColor ToQColor(LampColour colour);
  static LampColour FromQColor(const QColor& colour);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintKey(QPainter& painter) const;
  void PaintIndicator(QPainter& painter) const;
  void UpdateDescription();

  Kind kind_;
  bool value_ = false;
  LampColours colours_;
};

}  // namespace korvelane
