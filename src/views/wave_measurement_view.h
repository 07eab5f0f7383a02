// SPDX-License-Identifier: GPL-3.0-or-later
// The Measurement view: the eleven measurements of the seven wave slots with the verdicts of the
// slot filled last, the caption naming that slot, and the buttons that copy, print and save them,
// set the pass/fail limits, record them over time and show their trend. The list follows the size
// of the pane; the other controls keep their places.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "core/recording/record_command.h"
#include "core/views/measurement_controller.h"
#include "views/dialog_runner.h"
#include "views/list_view_support.h"

namespace korvelane {

class TrendWindow;

class WaveMeasurementView : public ReportListView,
                            private MeasurementForm,
                            private RecordingForm,
                            private RecorderObserver {
  Q_OBJECT

 public:
  enum class Button { kCopy, kPrint, kSaveAs, kPassFail, kRecord, kTrend };

  // Dialogs run through `run_dialog` (QDialog::exec when empty).
  WaveMeasurementView(const ViewContext& context, DialogRunner run_dialog = {},
                      QWidget* parent = nullptr);
  ~WaveMeasurementView() override;

  MeasurementController& controller() { return *controller_; }
  QLabel* caption_label() const { return caption_; }
  QPushButton* button(Button which) const { return buttons_[which]; }
  // "Export CSV..." of the list's context menu.
  QAction* export_csv_action() const { return export_csv_action_; }

  // "Pass|Fail": the limits dialog, modal. New limits take effect at the next measurement fill.
  void OpenPassFailSetting();

  // "Record..." starts and stops `recorder`, asking for the file in the folder `folder` gives;
  // without a recorder the button stays disabled.
  void AttachRecorder(MeasurementRecorder& recorder, std::function<std::string()> folder);
  // "Trend": the trend window, made at the first press and shown again at later ones.
  void ShowTrend();
  TrendWindow* trend_window() const { return trend_window_; }

 signals:
  // "Save As": the wave measurement file save, which records its action and chooses the slot.
  void SaveRequested();
  // The list's "Export CSV...".
  void ExportCsvRequested();
  // "Print" with measurements present: the print preview of the list's rows.
  void PrintRequested(int first_item, int item_count);
  // The recording started, stopped, paused or wrote a row: `text` tells which and how many rows
  // are written; empty when no recording is under way.
  void RecordingStatusChanged(const QString& text);

 private:
  // MeasurementForm
  void EnableFileButtons(bool enable) override;
  bool PutTextOnClipboard(const std::string& text) override;
  void OpenPrintPreview(int first_item, int item_count) override;
  void ShowCaption(const std::string& caption) override;
  // RecordingForm
  std::string ChooseRecordingFile() override;
  bool AskAppend(const std::string& path) override;
  // RecorderObserver
  void RecorderChanged() override;

  ViewTables& tables_;
  UserInterface& ui_;
  OperateLog& operate_log_;
  DialogRunner run_dialog_;
  QLabel* caption_ = nullptr;
  ViewButtons<Button, 6> buttons_;
  std::unique_ptr<MeasurementController> controller_;
  MeasurementRecorder* recorder_ = nullptr;
  std::function<std::string()> recording_folder_;
  TrendWindow* trend_window_ = nullptr;  // a child window of the view once shown
  QAction* export_csv_action_ = nullptr;
};

}  // namespace korvelane
