// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/page_painter.h"

#include <QPen>
#include <QStringList>

#include "core/logs/gbk_text.h"

namespace korvelane {

int MmToDevice(double mm, double dpi) {
  return static_cast<int>(mm * dpi / 25.4);
}

QFont PrintFont(FontRole role, int dpi_y) {
  QFont font;
  if (role == FontRole::kTitle) {
    font.setFamilies({QStringLiteral("黑体"), QStringLiteral("SimHei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
                      QStringLiteral("Source Han Sans SC")});
  } else {
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC")});
  }
  const int points = role == FontRole::kTitle ? 14 : 10;
  font.setPixelSize(std::max(1, points * dpi_y / 72));
  font.setWeight(QFont::Normal);
  return font;
}

namespace {

QRect DeviceRect(const PageItem& item, int dpi_x, int dpi_y) {
  const int left = MmToDevice(item.x1, dpi_x);
  const int top = MmToDevice(item.y1, dpi_y);
  const int right = MmToDevice(item.x2, dpi_x);
  const int bottom = MmToDevice(item.y2, dpi_y);
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void PaintText(QPainter& painter, const PageItem& item, int dpi_x, int dpi_y) {
  const QRect cell = DeviceRect(item, dpi_x, dpi_y);
  QRect box = cell;
  box.setLeft(cell.left() + MmToDevice(item.inset, dpi_x));
  int flags = Qt::AlignVCenter | Qt::TextSingleLine;
  switch (item.align) {
    case TextAlign::kLeft:
      flags |= Qt::AlignLeft;
      break;
    case TextAlign::kCentre:
      flags |= Qt::AlignHCenter;
      break;
    case TextAlign::kRight:
      flags |= Qt::AlignRight;
      break;
  }
  painter.setFont(PrintFont(item.font, dpi_y));
  painter.save();
  painter.setClipRect(cell);
  // Page texts are the lists' texts, code page 936, and the program's own texts in ASCII.
  painter.drawText(box, flags, QString::fromStdString(GbkToUtf8(item.text)));
  painter.restore();
}

void PaintImage(QPainter& painter, const PageItem& item, int dpi_x, int dpi_y,
                const QImage& picture) {
  // The source rectangle may reach past a small picture; the rest stays white.
  QImage source(std::max(1, item.source_width), std::max(1, item.source_height),
                QImage::Format_RGB32);
  source.fill(Qt::white);
  if (!picture.isNull()) {
    QPainter copy(&source);
    copy.drawImage(QPoint(0, 0), picture);
  }
  painter.drawImage(DeviceRect(item, dpi_x, dpi_y), source);
}

}  // namespace

void PaintPage(QPainter& painter, const Page& page, int dpi_x, int dpi_y, const QImage& picture) {
  painter.save();
  painter.setPen(QPen(Qt::black, 2, Qt::SolidLine));
  painter.setBrush(Qt::NoBrush);
  for (const PageItem& item : page.items) {
    switch (item.kind) {
      case PageItem::kRectangle:
        painter.drawRect(DeviceRect(item, dpi_x, dpi_y));
        break;
      case PageItem::kLine:
        painter.drawLine(MmToDevice(item.x1, dpi_x), MmToDevice(item.y1, dpi_y),
                         MmToDevice(item.x2, dpi_x), MmToDevice(item.y2, dpi_y));
        break;
      case PageItem::kText:
        PaintText(painter, item, dpi_x, dpi_y);
        break;
      case PageItem::kImage:
        PaintImage(painter, item, dpi_x, dpi_y, picture);
        break;
    }
  }
  painter.restore();
}

}  // namespace korvelane
