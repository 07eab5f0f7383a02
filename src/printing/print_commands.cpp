// SPDX-License-Identifier: GPL-3.0-or-later
#include "printing/print_commands.h"

#include "views/bitmap/dso_bitmap_view.h"
#include "views/wave_data_view.h"
#include "views/wave_graph_view.h"
#include "views/wave_measurement_view.h"

namespace korvelane {

PrintCommands::PrintCommands(const Views& views, ViewTables& tables, const PrintServices& services,
                             PrintDialogRunner run_dialog, PrinterFactory printers, QObject* parent)
    : QObject(parent),
      views_(views),
      tables_(tables),
      services_(services),
      run_dialog_(std::move(run_dialog)),
      printers_(std::move(printers)) {
  connect(&views_.wave_data, &WaveDataView::PrintRequested, this, &PrintCommands::PrintWaveData);
  connect(&views_.wave_graph, &WaveGraphView::PrintRequested, this, &PrintCommands::PrintWaveGraph);
  connect(&views_.measurement, &WaveMeasurementView::PrintRequested, this,
          &PrintCommands::PrintMeasurement);
  connect(&views_.bitmap, &DsoBitmapView::PrintRequested, this, &PrintCommands::PrintBitmap);
}

int PrintCommands::RunPreview(PreviewSource source, const PrintJob& job, QWidget* owner) {
  CPreParent preview(std::move(source), job, services_, run_dialog_, printers_, owner);
  open_preview_ = &preview;
  const int result = preview.Open();
  open_preview_ = nullptr;
  return result;
}

void PrintCommands::PrintWaveData(int first_item, int item_count) {
  const WaveDataPages renderer(tables_.wave_data_list);
  PrintJob job;
  job.first_item = first_item;
  job.item_count = item_count;
  job.to_printer = 1;  // as handed over; the preview sets it before every use
  RunPreview({&renderer, {}}, job, &views_.wave_data);
}

void PrintCommands::PrintWaveGraph(int item_count) {
  ShownSlots shown{};
  const WaveGraphFields& fields = views_.wave_graph.controller().fields();
  for (int slot = 1; slot <= kSlotCount; ++slot)
    shown[static_cast<size_t>(slot)] = fields.show[static_cast<size_t>(slot)];
  const WaveGraphPages renderer(tables_.wave_data_list, tables_.measurement_list,
                                tables_.parameter_list, shown);
  PrintJob job;
  job.item_count = item_count;
  job.extra_pages = 2;
  RunPreview({&renderer, {}}, job, &views_.wave_graph);
}

void PrintCommands::PrintMeasurement(int first_item, int item_count) {
  const MeasurementPages renderer(tables_.measurement_list);
  PrintJob job;
  job.first_item = first_item;
  job.item_count = item_count;
  RunPreview({&renderer, {}}, job, &views_.measurement);
}

void PrintCommands::PrintBitmap() {
  const DsoBitmapPages renderer;
  PrintJob job;
  job.item_count = 1;
  RunPreview({&renderer, PictureImage(views_.bitmap.controller().picture())}, job, &views_.bitmap);
}

}  // namespace korvelane
