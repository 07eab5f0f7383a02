// SPDX-License-Identifier: GPL-3.0-or-later
// The program's only top-level window: menu, toolbar, status bar with lamps and progress bar,
// the two panes, the refresh timer and the handlers of every command.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <map>
#include <memory>
#include <vector>

#include "app/app_context.h"
#include "app/qt_user_interface.h"
#include "core/logs/operate_log.h"
#include "core/protocol/device.h"
#include "core/protocol/device_hooks.h"
#include "core/shell/settings.h"
#include "core/views/view_tables.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;

namespace korvelane {

class LampIndicator;
class LeftPane;
class RightPane;
class BaseOperationBar;
class DsoBitmapView;
class FileDialogs;
class WaveDataView;
class WaveGraphView;
class WaveMeasurementView;
class CSimulantUIDlg;
class AppFileCommands;
class PrintCommands;
class InstrumentChooser;
class MeasurementRecorder;

class MainWindow : public QMainWindow, private DeviceHooks {
  Q_OBJECT

 public:
  static constexpr int kLeftPaneWidth = 175;

  explicit MainWindow(const AppContext& context, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Runs the command of a menu or toolbar id.
  void RunCommand(int id);

  // The Wave Graph view's "Auto" and "Manu".
  void StartRefreshTimer();
  void StopRefreshTimer() override;
  bool auto_refresh() const { return refresh_timer_.isActive(); }
  int refresh_interval_ms() const { return settings_.interval.interval_ms; }
  int running_timer_period() const { return refresh_timer_.interval(); }
  // One tick of the refresh timer: RefreshAll, which skips a tick that comes during an exchange.
  void RefreshTick();

  QAction* menu_action(int id) const;
  QAction* tool_action(int id) const;
  // "Export Graph..." at the end of the View menu.
  QAction* export_graph_action() const { return export_graph_action_; }
  Device& device() { return *device_; }
  OperateLog& operate_log() { return *operate_log_; }
  QtUserInterface& user_interface() { return *ui_; }
  const ShellSettings& settings() const { return settings_; }
  const std::string& initial_path() const { return settings_.initial_path; }
  RightPane* right_pane() const { return right_pane_; }
  DsoBitmapView* dso_bitmap_view() const { return dso_bitmap_view_.get(); }
  FileDialogs& file_dialogs() { return *file_dialogs_; }
  WaveGraphView* wave_graph_view() const { return wave_graph_view_.get(); }
  WaveDataView* wave_data_view() const { return wave_data_view_.get(); }
  WaveMeasurementView* wave_measurement_view() const { return wave_measurement_view_.get(); }
  CSimulantUIDlg* open_panel() const { return open_panel_; }
  ViewTables& view_tables() { return view_tables_; }
  AppFileCommands& file_commands() { return *file_commands_; }
  PrintCommands& print_commands() { return *print_commands_; }
  BaseOperationBar* base_bar() const { return base_bar_; }
  LeftPane* left_pane() const { return left_pane_; }
  QSplitter* splitter() const { return splitter_; }
  LampIndicator* lamps() const { return lamps_; }
  QLabel* pane(int index) const { return panes_.panes[index]; }

  // Enables the commands that depend on the connection and repaints the lamps.
  void UpdateCommandStates();

  // SIGTERM, SIGINT or SIGHUP: ends the program as cleanly as Exit, after an UnBind when the
  // instrument is bound, once any exchange under way is over.
  void EndOnSignal();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // DeviceHooks
  uintptr_t WindowHandle() override { return static_cast<uintptr_t>(winId()); }
  RequestOptions ReadRequestOptions() override;
  void RedrawWaveGraph() override;
  void SetAutoButtonEnabled(bool auto_enabled) override;
  void UpdatePanelLamps() override;
  void EnableSettingButtons(bool enable) override;

  void PlaceWindow();
  void BuildMenus();
  QAction* AddCommand(QMenu* menu, int id, const QString& text);
  void BuildToolBar();
  void BuildStatusBar();
  void BuildPanes();
  void BuildViews();
  void BuildRecording();
  void StartUp();

  bool ExitAllowed();
  void OnDeviceChange(uintptr_t wparam, intptr_t lparam);
  void ApplyInterval(int index);
  void ShowIntervalCheck();
  void CustomInterval();
  void PathSetting();
  void ToggleOperateFile();
  void DefaultSetting();
  // Fast exchange on or off: the device's pacing and the menu check.
  void ApplyFastExchange(bool on);
  void ShowAbout();
  void ShowSimulantPane();
  void ToggleBar(QWidget* bar, int id);
  void ToggleBaseControlPanel();
  int RunDialog(QDialog& dialog);
  void Record(const std::string& text) { operate_log_->RecordOperation(text); }

  AppContext context_;
  std::unique_ptr<MessagePresenter> own_presenter_;
  std::unique_ptr<QtUserInterface> ui_;
  std::unique_ptr<OperateLog> operate_log_;
  std::unique_ptr<Device> device_;
  ShellSettings settings_;
  std::unique_ptr<InstrumentChooser> instrument_chooser_;

  std::map<int, QAction*> menu_actions_;
  std::map<int, QAction*> tool_actions_;
  QMenu* time_menu_ = nullptr;
  QAction* export_graph_action_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  StatusPanes panes_;
  LampIndicator* lamps_ = nullptr;
  QSplitter* splitter_ = nullptr;
  LeftPane* left_pane_ = nullptr;
  RightPane* right_pane_ = nullptr;
  BaseOperationBar* base_bar_ = nullptr;
  bool base_panel_shown_ = true;

  QTimer refresh_timer_;
  CSimulantUIDlg* open_panel_ = nullptr;  // the virtual front panel while it is open
  bool close_waiting_ = false;            // a close request waits for the exchange to end
  bool ending_ = false;                   // ended by a signal

  // The views' shared tables, and the views that work with them and with the device: declared
  // last, the views go first.
  ViewTables view_tables_;
  std::unique_ptr<MeasurementRecorder> recorder_;  // the measurements over time, outlives the views
  QLabel* recording_label_ = nullptr;              // status bar: the recording and its rows
  std::unique_ptr<WaveGraphView> wave_graph_view_;
  std::unique_ptr<FileDialogs> file_dialogs_;  // the open and save paths outlive the views
  std::unique_ptr<DsoBitmapView> dso_bitmap_view_;
  std::unique_ptr<WaveDataView> wave_data_view_;
  std::unique_ptr<WaveMeasurementView> wave_measurement_view_;
  // The file commands of the views and the bar: made after the views, gone before them.
  std::unique_ptr<AppFileCommands> file_commands_;
  std::unique_ptr<PrintCommands> print_commands_;  // the views' Print buttons
};

}  // namespace korvelane
