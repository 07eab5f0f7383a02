// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/printer_surface.h"

#include <QPrinterInfo>
#include <algorithm>

#include "printing/page_painter.h"

namespace korvelane {

bool PrinterSurface::StartDocument(const std::string& name) {
  printer_->setDocName(QString::fromStdString(name));
  pages_started_ = 0;
  return painter_.begin(printer_);
}

bool PrinterSurface::StartPage() {
  // The painter opened the first page; every further page is a new one.
  if (pages_started_++ == 0)
    return painter_.isActive();
  return printer_->newPage();
}

void PrinterSurface::DrawPage(const Page& page) {
  const int dpi_x = printer_->logicalDpiX();
  const int dpi_y = printer_->logicalDpiY();
  // Paper smaller than the 223 x 315 mm layout (A4, Letter) would cut off the last rows and
  // the footer: such pages are scaled down to fit the printable area.
  const double page_width = kPageWidthMm * dpi_x / 25.4;
  const double page_height = kPageHeightMm * dpi_y / 25.4;
  const double scale =
      std::min({1.0, printer_->width() / page_width, printer_->height() / page_height});
  painter_.save();
  painter_.scale(scale, scale);
  PaintPage(painter_, page, dpi_x, dpi_y, picture_);
  painter_.restore();
}

void PrinterSurface::EndDocument() {
  painter_.end();
}

void PrinterSurface::AbortDocument() {
  printer_->abort();
  if (painter_.isActive())
    painter_.end();
}

std::unique_ptr<QPrinter> OpenDefaultPrinter() {
  const QPrinterInfo info = QPrinterInfo::defaultPrinter();
  if (info.isNull() || info.printerName().isEmpty())
    return nullptr;
  auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  if (!printer->isValid())
    return nullptr;
  return printer;
}

}  // namespace korvelane
