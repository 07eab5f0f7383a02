// SPDX-License-Identifier: GPL-3.0-or-later
// The "Trend" window: one measurement of CH1 or CH2 against time, from the recording under way or
// from a recording opened from disk, with its pass/fail limits as lines and the last value,
// minimum, maximum, mean and number of failures beside the plot. The plot zooms with the wheel
// and pans by dragging; a double click shows everything again.
#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "core/recording/measurement_recorder.h"
#include "core/recording/trend_series.h"
#include "views/dialog_runner.h"

class QCPItemStraightLine;
class QComboBox;
class QCustomPlot;
class QLabel;
class QPushButton;
class QTimer;

namespace korvelane {

class TrendWindow : public QWidget, private RecorderObserver {
  Q_OBJECT

 public:
  enum Figure { kLast, kMinimum, kMaximum, kMean, kFailures, kFigureCount };

  // `recorder` may be null: then only recordings from disk are shown. File dialogs run through
  // `run_dialog`.
  TrendWindow(const ViewTables& tables, MeasurementRecorder* recorder, DialogRunner run_dialog,
              QWidget* parent = nullptr);
  ~TrendWindow() override;

  // Shows the recording at `path`; false, with a message box, when it cannot be read.
  bool OpenRecording(const std::string& path);
  // Shows the recording under way, from its first row.
  void ShowRecordingUnderWay();

  QComboBox* measurement_box() const { return measurement_box_; }
  QPushButton* open_button() const { return open_button_; }
  QCustomPlot* plot() const { return plot_; }
  QLabel* figure(Figure which) const { return figures_[which]; }
  const TrendData& data() const { return data_; }

 private:
  void RecorderChanged() override;
  void SampleRecorded(const MeasurementSample& sample) override;
  void ChooseRecording();
  // Plot, limit lines and figures of the chosen measurement; `fit` shows the whole of it.
  void ShowSeries(bool fit);
  void ShowLimits(int item);
  void Replot();

  const ViewTables& tables_;
  MeasurementRecorder* recorder_;
  DialogRunner run_dialog_;
  QComboBox* measurement_box_ = nullptr;
  QPushButton* open_button_ = nullptr;
  QCustomPlot* plot_ = nullptr;
  QCPItemStraightLine* limit_lines_[2] = {};
  std::array<QLabel*, kFigureCount> figures_{};
  QTimer* replot_timer_ = nullptr;
  TrendData data_;
  bool following_recording_ = false;
  bool fitting_ = true;  // the view follows the data until the user zooms or pans
};

}  // namespace korvelane
