// SPDX-License-Identifier: GPL-3.0-or-later
// The file commands of the views and of the base operation bar, wired to their widgets: the
// views' Save, Open, "Save as" and "Save As" buttons, the shared file dialogs, "Select the Chan",
// the Wave Graph view's plots, the right pane's openers and the bar's setting buttons.
#pragma once

#include <QObject>
#include <QSize>
#include <string>

#include "core/common/clock.h"
#include "core/files/export_commands.h"
#include "core/files/setting_commands.h"
#include "core/files/wave_file_commands.h"
#include "views/dialog_runner.h"

class QWidget;

namespace korvelane {

class BaseOperationBar;
class FileDialogs;
class RightPane;
class WaveDataView;
class WaveGraphView;
class WaveMeasurementView;

class AppFileCommands : public QObject, private FileChooser, private WaveFileHost {
 public:
  struct Parts {
    ViewContext views;
    // What the bar's setting buttons exchange with the instrument.
    const Connection& connection;
    Acquisition& acquisition;
    const Clock& clock;
    FileDialogs& dialogs;
    WaveGraphView& wave_graph;
    WaveDataView& wave_data;
    WaveMeasurementView& measurement;
    RightPane& right_pane;
    BaseOperationBar& bar;
    DialogRunner run_dialog;
    QWidget* dialog_parent = nullptr;
  };

  explicit AppFileCommands(const Parts& parts);
  ~AppFileCommands() override;

  WaveFileCommands& wave_files() { return wave_files_; }
  ExportCommands& exports() { return exports_; }
  SettingCommands& settings() { return settings_; }

 private:
  // FileChooser: the shared dialogs, which keep the open path and the save path.
  std::string ChooseFileToOpen(int kind) override;
  std::string ChooseFileToSave(int kind) override;
  // WaveFileHost
  std::optional<int> SelectChannel(SelectChanMode mode) override;
  void PlotSlot(const uint8_t* samples, int count, int slot) override;
  void ShowLoadedSlot(int slot, LoadMode mode) override;
  // After a PNG name for "Export Graph...", the picture's size in pixels; false when cancelled.
  bool ChoosePictureSize(const std::string& path);
  // "Export Graph...": the graph as shown or at the chosen size, with the date and the
  // instrument's model text.
  void ExportGraph();

  ViewTables& tables_;
  FileDialogs& dialogs_;
  WaveGraphView& wave_graph_;
  RightPane& right_pane_;
  BaseOperationBar& bar_;
  DialogRunner run_dialog_;
  QWidget* dialog_parent_;
  WaveFileCommands wave_files_;
  SettingCommands settings_;
  ExportCommands exports_;
  const Clock& clock_;
  const AcquisitionStore& store_;
  QSize picture_size_;  // empty: as shown
};

}  // namespace korvelane
