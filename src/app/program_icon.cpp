#include "app/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace korvelane {

QPixmap ProgramPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = size;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(52, 58, 70));
  p.drawRoundedRect(QRectF(s * 0.04, s * 0.12, s * 0.92, s * 0.76), s * 0.1, s * 0.1);
  const QRectF screen(s * 0.12, s * 0.2, s * 0.76, s * 0.6);
  p.setBrush(QColor(10, 28, 40));
  p.drawRect(screen);
  QPainterPath trace;
  for (int i = 0; i <= 40; ++i) {
    const double x = screen.left() + screen.width() * i / 40.0;
    const double y = screen.center().y() - screen.height() * 0.32 * std::sin(i * M_PI / 10.0);
    i == 0 ? trace.moveTo(x, y) : trace.lineTo(x, y);
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 214, 0), std::max(1.0, s / 16.0)));
  p.drawPath(trace);
  return pixmap;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128})
    icon.addPixmap(ProgramPixmap(size));
  return icon;
}

}  // namespace korvelane
