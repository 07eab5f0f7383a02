// SPDX-License-Identifier: GPL-3.0-or-later
// The Print buttons of the four views: each opens the print preview over its view's renderer
// with the job its view handed over.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>

#include "core/printing/print_document.h"
#include "core/views/view_tables.h"
#include "printing/print_preview.h"

namespace korvelane {

class DsoBitmapView;
class WaveDataView;
class WaveGraphView;
class WaveMeasurementView;

class PrintCommands : public QObject {
  Q_OBJECT

 public:
  struct Views {
    WaveGraphView& wave_graph;
    WaveDataView& wave_data;
    WaveMeasurementView& measurement;
    DsoBitmapView& bitmap;
  };

  // `printers` null: the system's default printer.
  PrintCommands(const Views& views, ViewTables& tables, const PrintServices& services,
                PrintDialogRunner run_dialog, PrinterFactory printers = {},
                QObject* parent = nullptr);

  void PrintWaveData(int first_item, int item_count);
  void PrintWaveGraph(int item_count);
  void PrintMeasurement(int first_item, int item_count);
  void PrintBitmap();

  // Where printing goes from now on; null: the system's default printer.
  void set_printers(PrinterFactory printers) { printers_ = std::move(printers); }

  // The preview that is open, for tests; null otherwise.
  CPreParent* open_preview() const { return open_preview_; }

 private:
  int RunPreview(PreviewSource source, const PrintJob& job, QWidget* owner);

  Views views_;
  ViewTables& tables_;
  PrintServices services_;
  PrintDialogRunner run_dialog_;
  PrinterFactory printers_;
  QPointer<CPreParent> open_preview_;
};

}  // namespace korvelane
