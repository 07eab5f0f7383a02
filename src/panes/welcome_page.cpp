// SPDX-License-Identifier: GPL-3.0-or-later
#include "panes/welcome_page.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace korvelane {
namespace {

constexpr int kPictureWidth = 1000;
constexpr int kPictureHeight = 873;

// A stylised instrument screen: graticule, a sine and a square trace, and the program's name.
void DrawScreen(QPainter& p, const QRect& screen) {
  p.fillRect(screen, QColor(8, 20, 32));
  p.setPen(QPen(QColor(60, 80, 100), 1, Qt::DotLine));
  for (int i = 1; i < 10; ++i) {
    const int x = screen.left() + screen.width() * i / 10;
    p.drawLine(x, screen.top(), x, screen.bottom());
  }
  for (int i = 1; i < 8; ++i) {
    const int y = screen.top() + screen.height() * i / 8;
    p.drawLine(screen.left(), y, screen.right(), y);
  }
  QPainterPath sine;
  QPainterPath square;
  for (int x = 0; x <= screen.width(); x += 2) {
    const double t = 2.0 * M_PI * x / (screen.width() / 2.5);
    const double ys = screen.top() + screen.height() * (0.3 - 0.18 * std::sin(t));
    const double yq = screen.top() + screen.height() * (std::sin(t) >= 0 ? 0.62 : 0.82);
    if (x == 0) {
      sine.moveTo(screen.left() + x, ys);
      square.moveTo(screen.left() + x, yq);
    } else {
      sine.lineTo(screen.left() + x, ys);
      square.lineTo(screen.left() + x, yq);
    }
  }
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 220, 0), 4));
  p.drawPath(sine);
  p.setPen(QPen(QColor(0, 200, 255), 4));
  p.drawPath(square);
}

}  // namespace

QImage WelcomePage::Picture() {
  QImage image(kPictureWidth, kPictureHeight, QImage::Format_RGB888);
  QPainter p(&image);
  QLinearGradient background(0, 0, 0, kPictureHeight);
  background.setColorAt(0, QColor(232, 238, 244));
  background.setColorAt(1, QColor(176, 190, 206));
  p.fillRect(image.rect(), background);
  const QRect body(100, 120, 800, 560);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(62, 66, 74));
  p.drawRoundedRect(body, 24, 24);
  DrawScreen(p, body.adjusted(40, 40, -40, -120));
  p.setPen(QColor(30, 40, 56));
  QFont title(QStringLiteral("Sans Serif"), 44, QFont::Bold);
  p.setFont(title);
  p.drawText(QRect(0, 700, kPictureWidth, 90), Qt::AlignCenter, QStringLiteral("Korvelane 2.0"));
  p.setFont(QFont(QStringLiteral("Sans Serif"), 18));
  p.drawText(QRect(0, 780, kPictureWidth, 50), Qt::AlignCenter,
             QStringLiteral("Digital storage oscilloscope companion"));
  return image;
}

WelcomePage::WelcomePage(QWidget* parent) : QWidget(parent), picture_(Picture()) {
  setAccessibleName(QStringLiteral("Welcome"));
}

void WelcomePage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(rect(), picture_);
}

}  // namespace korvelane
