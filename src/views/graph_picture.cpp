// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/graph_picture.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "views/scope_graph.h"

namespace korvelane {
namespace {

// Draws the graph at (0, 0) in `size` and the caption in a white strip of `caption_height`
// below it.
bool Draw(QPaintDevice& device, ScopeGraph& graph, QSize size, int caption_height,
          const QString& caption, bool vector) {
  QCPPainter painter;
  if (!painter.begin(&device))
    return false;
  if (vector) {
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.setMode(QCPPainter::pmNonCosmetic);
  }
  painter.fillRect(QRect(0, 0, size.width(), size.height() + caption_height), Qt::white);
  graph.toPainter(&painter, size.width(), size.height());
  painter.setPen(Qt::black);
  painter.setFont(graph.font());
  painter.drawText(QRect(4, size.height(), size.width() - 8, caption_height),
                   Qt::AlignLeft | Qt::AlignVCenter, caption);
  return painter.end();
}

int CaptionHeight(const ScopeGraph& graph) {
  return QFontMetrics(graph.font()).height() + 8;
}

}  // namespace

QSize ShownPictureSize(const ScopeGraph& graph) {
  return graph.size() + QSize(0, CaptionHeight(graph));
}

std::optional<QByteArray> GraphPictureBytes(ScopeGraph& graph, PictureFormat format,
                                            const QString& caption, QSize whole) {
  if (whole.isEmpty())
    whole = ShownPictureSize(graph);
  const int caption_height = CaptionHeight(graph);
  const QSize size(whole.width(), whole.height() - caption_height);
  if (size.isEmpty())
    return std::nullopt;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  bool drawn = false;
  switch (format) {
    case PictureFormat::kPng: {
      QImage image(whole, QImage::Format_RGB32);
      drawn =
          Draw(image, graph, size, caption_height, caption, false) && image.save(&buffer, "PNG");
      break;
    }
    case PictureFormat::kSvg: {
      QSvgGenerator svg;
      svg.setOutputDevice(&buffer);
      svg.setSize(whole);
      svg.setViewBox(QRect(QPoint(0, 0), whole));
      svg.setTitle(QStringLiteral("Wave Graph"));
      svg.setDescription(caption);
      drawn = Draw(svg, graph, size, caption_height, caption, true);
      break;
    }
    case PictureFormat::kPdf: {
      // One point a pixel, a page just the size of the picture.
      QPdfWriter pdf(&buffer);
      pdf.setResolution(72);
      pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(whole), QPageSize::Point),
                                    QPageLayout::Portrait, QMarginsF()));
      pdf.setTitle(QStringLiteral("Wave Graph"));
      pdf.setCreator(QStringLiteral("Korvelane"));
      drawn = Draw(pdf, graph, size, caption_height, caption, true);
      break;
    }
  }
  buffer.close();
  if (!drawn || bytes.isEmpty())
    return std::nullopt;
  return bytes;
}

}  // namespace korvelane
