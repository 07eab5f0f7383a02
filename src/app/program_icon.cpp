// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/program_icon.h"

#include <QPainter>
#include <QSvgRenderer>

// program_icon.qrc lives in a static library, whose unreferenced objects the linker drops.
static void InitProgramIconResource() {
  Q_INIT_RESOURCE(program_icon);
}

namespace korvelane {

QImage ProgramImage(int size) {
  static const bool resource_ready = (InitProgramIconResource(), true);
  (void)resource_ready;
  QSvgRenderer renderer(QStringLiteral(":/icons/korvelane.svg"));
  if (!renderer.isValid() || size <= 0)
    return {};
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter, QRectF(0, 0, size, size));
  return image;
}

QPixmap ProgramPixmap(int size) {
  return QPixmap::fromImage(ProgramImage(size));
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
    icon.addPixmap(ProgramPixmap(size));
  return icon;
}

}  // namespace korvelane
