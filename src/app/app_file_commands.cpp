// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/app_file_commands.h"

#include "panes/base_operation_bar.h"
#include "panes/right_pane.h"
#include "views/graph_picture.h"
#include "views/picture_size_dialog.h"
#include "views/select_chan_dlg.h"
#include "views/wave_data_view.h"
#include "views/wave_graph_view.h"
#include "views/wave_measurement_view.h"
#include "widgets/file_dialogs.h"

namespace korvelane {

AppFileCommands::AppFileCommands(const Parts& parts)
    : tables_(parts.views.tables),
      dialogs_(parts.dialogs),
      wave_graph_(parts.wave_graph),
      right_pane_(parts.right_pane),
      bar_(parts.bar),
      run_dialog_(parts.run_dialog),
      dialog_parent_(parts.dialog_parent),
      wave_files_(parts.views, static_cast<FileChooser&>(*this), static_cast<WaveFileHost&>(*this)),
      settings_(parts.views.store, parts.connection, parts.acquisition, parts.views.operate_log,
                parts.views.debug_log, parts.views.ui, parts.clock,
                static_cast<FileChooser&>(*this),
                [&dialogs = parts.dialogs] { return dialogs.initial_path(); }),
      exports_(parts.views, static_cast<FileChooser&>(*this)),
      clock_(parts.clock),
      store_(parts.views.store) {
  connect(&wave_graph_, &WaveGraphView::SaveRequested, this,
          [this] { wave_files_.SaveWaveGraphFile(); });
  connect(&wave_graph_, &WaveGraphView::OpenRequested, this,
          [this] { wave_files_.OpenWaveGraphFile(); });
  connect(&parts.wave_data, &WaveDataView::SaveRequested, this,
          [this] { wave_files_.SaveWaveDataFile(); });
  connect(&parts.measurement, &WaveMeasurementView::SaveRequested, this,
          [this] { wave_files_.SaveMeasurementFile(); });
  connect(&parts.wave_data, &WaveDataView::ExportCsvRequested, this,
          [this] { exports_.ExportWaveCsv(); });
  connect(&parts.measurement, &WaveMeasurementView::ExportCsvRequested, this,
          [this] { exports_.ExportMeasurementCsv(); });
  connect(&wave_graph_, &WaveGraphView::ExportGraphRequested, this, [this] { ExportGraph(); });
  right_pane_.SetWaveFiles(&wave_files_);
  bar_.AttachFiles(&dialogs_, &right_pane_, &settings_);
}

AppFileCommands::~AppFileCommands() {
  bar_.AttachFiles(nullptr, nullptr, nullptr);
  settings_.AttachForm(nullptr);
  right_pane_.SetWaveFiles(nullptr);
}

std::string AppFileCommands::ChooseFileToOpen(int kind) {
  return dialogs_.OpenFileDialog(kind) ? dialogs_.open_path() : std::string();
}

std::string AppFileCommands::ChooseFileToSave(int kind) {
  if (!dialogs_.SaveFileDialog(kind))
    return std::string();
  const std::string path = dialogs_.save_path();
  if (kind == file_kind::kGraphExport && !ChoosePictureSize(path))
    return std::string();
  return path;
}

bool AppFileCommands::ChoosePictureSize(const std::string& path) {
  picture_size_ = QSize();
  if (PictureFormatOf(path) != PictureFormat::kPng)
    return true;
  PictureSizeDialog dialog(ShownPictureSize(*wave_graph_.graph()), dialog_parent_);
  if (RunModal(run_dialog_, dialog) != QDialog::Accepted)
    return false;
  picture_size_ = dialog.chosen_size();
  return true;
}

std::optional<int> AppFileCommands::SelectChannel(SelectChanMode mode) {
  return korvelane::SelectChannel(tables_, mode, run_dialog_, dialog_parent_);
}

void AppFileCommands::PlotSlot(const uint8_t* samples, int count, int slot) {
  wave_graph_.controller().PlotSlot(samples, count, slot);
}

void AppFileCommands::ShowLoadedSlot(int slot, LoadMode mode) {
  wave_graph_.ShowLoadedSlot(slot, mode);
}

void AppFileCommands::ExportGraph() {
  exports_.ExportGraph([this](PictureFormat format) -> std::optional<std::vector<uint8_t>> {
    const QString caption = QString::fromStdString(GraphCaption(clock_.Now(), store_.product_type));
    const std::optional<QByteArray> bytes =
        GraphPictureBytes(*wave_graph_.graph(), format, caption, picture_size_);
    if (!bytes)
      return std::nullopt;
    return std::vector<uint8_t>(bytes->begin(), bytes->end());
  });
}

}  // namespace korvelane
