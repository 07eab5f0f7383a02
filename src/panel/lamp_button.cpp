// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/lamp_button.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace korvelane {
namespace {

constexpr int kKeyWidth = 84;
constexpr int kKeyHeight = 28;
constexpr int kIndicatorSize = 20;
constexpr qreal kCornerRadius = 4.0;

// Dark captions on light faces, light captions on dark ones.
QColor CaptionColour(const QColor& face) {
  const int luma = (face.red() * 299 + face.green() * 587 + face.blue() * 114) / 1000;
  return luma >= 128 ? QColor(0x20, 0x20, 0x20) : QColor(0xF2, 0xF2, 0xF2);
}

QString ColourName(LampColour colour) {
  return LampButton::ToQColor(colour).name();
}

}  // namespace

LampButton::LampButton(Kind kind, QWidget* parent) : QAbstractButton(parent), kind_(kind) {
  const LampColour face = FromQColor(QGuiApplication::palette().color(QPalette::Button));
  colours_ = {face, kLampGreen};
  if (kind_ == Kind::kIndicator) {
    // Only shows; the mouse and the keyboard pass it by.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
  } else {
    setFocusPolicy(Qt::StrongFocus);
  }
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  UpdateDescription();
}

QColor LampButton::ToQColor(LampColour colour) {
  return QColor(LampRed(colour), LampGreen(colour), LampBlue(colour));
}

LampColour LampButton::FromQColor(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return LampRgb(static_cast<uint8_t>(rgb.red()), static_cast<uint8_t>(rgb.green()),
                 static_cast<uint8_t>(rgb.blue()));
}

void LampButton::SetValue(bool value) {
  if (value_ == value)
    return;
  value_ = value;
  UpdateDescription();
  update();
}

void LampButton::SetColours(const LampColours& colours) {
  if (colours_ == colours)
    return;
  colours_ = colours;
  UpdateDescription();
  update();
}

QColor LampButton::shown_colour() const {
  const bool active = value_ || (kind_ == Kind::kKey && isDown());
  return ToQColor(active ? colours_.active : colours_.rest);
}

void LampButton::UpdateDescription() {
  // Screen readers and tests learn the lamp's state without reading pixels.
  if (kind_ == Kind::kIndicator) {
    setAccessibleDescription(value_ ? QStringLiteral("on") : QStringLiteral("off"));
  } else {
    setAccessibleDescription(QStringLiteral("lamp %1, pressed %2")
                                 .arg(ColourName(colours_.rest), ColourName(colours_.active)));
  }
}

QSize LampButton::sizeHint() const {
  if (kind_ == Kind::kIndicator)
    return QSize(kIndicatorSize, kIndicatorSize);
  return QSize(kKeyWidth, kKeyHeight);
}

void LampButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  if (kind_ == Kind::kIndicator) {
    PaintIndicator(painter);
  } else {
    PaintKey(painter);
  }
}

void LampButton::PaintKey(QPainter& painter) const {
  const QColor face = shown_colour();
  const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient fill(box.topLeft(), box.bottomLeft());
  fill.setColorAt(0.0, face.lighter(isDown() ? 100 : 112));
  fill.setColorAt(1.0, face.darker(isDown() ? 104 : 112));
  painter.setPen(QPen(QColor(0x15, 0x17, 0x1A), 1.0));
  painter.setBrush(fill);
  painter.drawRoundedRect(box, kCornerRadius, kCornerRadius);
  if (hasFocus()) {
    painter.setPen(QPen(QColor(0x3D, 0x8E, 0xF0), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(box.adjusted(2, 2, -2, -2), kCornerRadius - 1, kCornerRadius - 1);
  }
  QFont caption = font();
  caption.setBold(true);
  painter.setFont(caption);
  painter.setPen(isEnabled() ? CaptionColour(face) : QColor(0x80, 0x80, 0x80));
  const QPointF shift = isDown() ? QPointF(0, 1) : QPointF(0, 0);
  painter.drawText(box.translated(shift), Qt::AlignCenter, text());
}

void LampButton::PaintIndicator(QPainter& painter) const {
  const QColor lamp = shown_colour();
  const qreal size = qMin(width(), height()) - 4.0;
  const QRectF disc((width() - size) / 2.0, (height() - size) / 2.0, size, size);
  QRadialGradient fill(disc.center() - QPointF(size / 6, size / 6), size / 1.4);
  fill.setColorAt(0.0, lamp.lighter(150));
  fill.setColorAt(1.0, lamp.darker(130));
  painter.setPen(QPen(QColor(0x15, 0x17, 0x1A), 1.0));
  painter.setBrush(fill);
  painter.drawEllipse(disc);
}

}  // namespace korvelane
