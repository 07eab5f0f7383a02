// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/knob_arrows.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtMath>

namespace korvelane {
namespace {

constexpr int kCapSize = 30;
constexpr int kArrowSize = 22;
constexpr int kGripCount = 16;

QToolButton* MakeArrow(Qt::ArrowType type, const QString& name) {
  auto* arrow = new QToolButton;
  arrow->setArrowType(type);
  arrow->setAutoRepeat(true);  // holding the arrow keeps turning the knob
  arrow->setFixedSize(kArrowSize, kArrowSize);
  arrow->setAccessibleName(name);
  arrow->setToolTip(name);
  return arrow;
}

}  // namespace

QPixmap KnobPixmap(int size, qreal device_pixel_ratio) {
  QPixmap pixmap(qRound(size * device_pixel_ratio), qRound(size * device_pixel_ratio));
  pixmap.setDevicePixelRatio(device_pixel_ratio);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const qreal r = size / 2.0 - 1.0;
  const QPointF centre(size / 2.0, size / 2.0);
  // Knurled skirt.
  painter.setPen(QPen(QColor(0x10, 0x10, 0x12), 1.0));
  painter.setBrush(QColor(0x3A, 0x3D, 0x42));
  painter.drawEllipse(centre, r, r);
  painter.setPen(QPen(QColor(0x6E, 0x73, 0x7A), 1.0));
  for (int i = 0; i < kGripCount; ++i) {
    const qreal a = 2.0 * M_PI * i / kGripCount;
    const QPointF dir(qCos(a), qSin(a));
    painter.drawLine(centre + dir * (r * 0.78), centre + dir * (r - 0.5));
  }
  // Cap.
  const qreal cap = r * 0.7;
  QRadialGradient shine(centre - QPointF(cap / 3, cap / 3), cap * 1.6);
  shine.setColorAt(0.0, QColor(0xC8, 0xCC, 0xD2));
  shine.setColorAt(1.0, QColor(0x55, 0x59, 0x60));
  painter.setPen(QPen(QColor(0x20, 0x22, 0x26), 1.0));
  painter.setBrush(shine);
  painter.drawEllipse(centre, cap, cap);
  return pixmap;
}

KnobArrows::KnobArrows(const QString& caption, const QString& name, QWidget* parent)
    : QWidget(parent) {
  setAccessibleName(name);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  auto* label = new QLabel(caption);
  label->setAlignment(Qt::AlignCenter);
  label->setAccessibleName(name + QStringLiteral(" caption"));
  label->setObjectName(QStringLiteral("knobCaption"));
  layout->addWidget(label);

  auto* row = new QHBoxLayout;
  row->setSpacing(3);
  decrease_ = MakeArrow(Qt::LeftArrow, name + QStringLiteral(" decrease"));
  increase_ = MakeArrow(Qt::RightArrow, name + QStringLiteral(" increase"));
  auto* cap = new QLabel;
  cap->setPixmap(KnobPixmap(kCapSize, devicePixelRatioF()));
  cap->setFixedSize(kCapSize, kCapSize);
  cap->setAccessibleName(name + QStringLiteral(" cap"));
  row->addStretch(1);
  row->addWidget(decrease_, 0, Qt::AlignVCenter);
  row->addWidget(cap, 0, Qt::AlignVCenter);
  row->addWidget(increase_, 0, Qt::AlignVCenter);
  row->addStretch(1);
  layout->addLayout(row);

  connect(decrease_, &QToolButton::clicked, this, [this] { emit Stepped(-1); });
  connect(increase_, &QToolButton::clicked, this, [this] { emit Stepped(1); });
}

}  // namespace korvelane
