// SPDX-License-Identifier: GPL-3.0-or-later
// The print sequence's printer on a QPrinter (a real printer or a PDF file).
#pragma once

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <functional>
#include <memory>

#include "core/printing/print_document.h"

namespace korvelane {

class PrinterSurface : public PrintSurface {
 public:
  // `printer` may be null: the surface then has no device.
  PrinterSurface(QPrinter* printer, QImage picture) : printer_(printer), picture_(picture) {}

  bool HasDevice() const override { return printer_ != nullptr; }
  bool StartDocument(const std::string& name) override;
  bool StartPage() override;
  void DrawPage(const Page& page) override;
  void EndPage() override {}
  void EndDocument() override;
  void AbortDocument() override;

 private:
  QPrinter* printer_;
  QImage picture_;
  QPainter painter_;
  int pages_started_ = 0;
};

// The system's default printer with its default settings (on Linux the CUPS default
// destination); null when there is none.
std::unique_ptr<QPrinter> OpenDefaultPrinter();

using PrinterFactory = std::function<std::unique_ptr<QPrinter>()>;

}  // namespace korvelane
