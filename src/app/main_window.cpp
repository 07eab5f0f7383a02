// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

#include "app/about_dialog.h"
#include "app/app_file_commands.h"
#include "app/custom_time_dialog.h"
#include "app/instrument_chooser.h"
#include "app/lamp_indicator.h"
#include "app/program_icon.h"
#include "core/recording/measurement_recorder.h"
#include "core/shell/command_ids.h"
#include "core/shell/refresh_interval.h"
#include "panel/simulant_ui_dlg.h"
#include "panes/alter_file_path_dialog.h"
#include "panes/base_operation_bar.h"
#include "panes/left_pane.h"
#include "panes/right_pane.h"
#include "printing/print_commands.h"
#include "views/bitmap/dso_bitmap_view.h"
#include "views/wave_data_view.h"
#include "views/wave_graph_view.h"
#include "views/wave_measurement_view.h"
#include "widgets/file_dialogs.h"

namespace korvelane {
namespace {

struct CommandText {
  int id;
  const char* prompt;
  const char* tooltip;
};

constexpr CommandText kCommandTexts[] = {
    {kCmdSimulantPane, "Simulant Pane", "View the Simulant Pane"},
    {kCmdConnect, "Bind", "Bind DSO by USB line"},
    {kCmdDisconnect, "UnBind", "UnBind the link"},
    {kCmdExit, "Exit", "Exit the App"},
    {kCmdToolBar, "Toolbar", "View Toolbar"},
    {kCmdStatusBar, "Statusbar", "View Statusbar"},
    {kCmdBaseControlPanel, "Control Pane", "View the Base Control Pane"},
    {kCmdInterval05s, "0.5s", "Set the interval time is 0.5s"},
    {kCmdInterval1s, "1s", "Set the interval time is 1s"},
    {kCmdInterval2s, "2s", "Set the interval time is  2s"},
    {kCmdInterval3s, "3s", "Set the interval time is 3s"},
    {kCmdInterval5s, "5s", "Set the interval time is 5s"},
    {kCmdInterval10s, "10s", "Set the interval time is 10s"},
    {kCmdIntervalCustom, "Custom", "Set the interval time  custom"},
    {kCmdOperateFile, "Operate File", "Decide the action is saved or not"},
    {kCmdDefaultSetting, "Default Setting", "Set all setting value default"},
    {kCmdAbout, "Help", "Show the info of Korvelane 2.0"},
    {kCmdPathSetting, "Set Path", "Set the initial path"},
    {kCmdInstrument, "Instrument", "Choose the instrument"},
    {kCmdFastExchange, "Fast Exchange", "Read the instrument's answers as soon as they arrive"},
};

const CommandText* FindTexts(int id) {
  for (const CommandText& t : kCommandTexts) {
    if (t.id == id)
      return &t;
  }
  return nullptr;
}

struct IntervalCommand {
  int id;
  int index;
  const char* action_text;
};

constexpr IntervalCommand kIntervalCommands[] = {
    {kCmdInterval05s, 0, "Set the interval time is 0.5s"},
    {kCmdInterval1s, 1, "Set the interval time is 1s"},
    {kCmdInterval2s, 2, "Set the interval time is 2s"},
    {kCmdInterval3s, 3, "Set the interval time is 3s"},
    {kCmdInterval5s, 5, "Set the interval time is 5s"},
    {kCmdInterval10s, 10, "Set the interval time is 10s"},
};

constexpr const char* kIdlePrompt = "就绪";

// Pane widths of the status bar, panes 1 to 4.
constexpr int kPaneWidths[5] = {50, 100, 120, 200, 60};

}  // namespace

MainWindow::MainWindow(const AppContext& context, QWidget* parent)
    : QMainWindow(parent), context_(context) {
  setWindowTitle(QStringLiteral("Korvelane"));
  setAccessibleName(QStringLiteral("Korvelane"));
  setWindowIcon(ProgramIcon());
  if (!context_.presenter) {
    own_presenter_ = std::make_unique<MessageBoxPresenter>();
    context_.presenter = own_presenter_.get();
  }
  ui_ = std::make_unique<QtUserInterface>(this, *context_.presenter, context_.real_sleeps);
  ui_->set_lamp_refresher([this] { UpdateCommandStates(); });
  operate_log_ = std::make_unique<OperateLog>(context_.program_folder, *context_.clock,
                                              *context_.debug_log, *ui_);

  PlaceWindow();
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  BuildPanes();
  StartUp();
}

MainWindow::~MainWindow() {
  refresh_timer_.stop();
  if (context_.link) {
    // No device change may reach a window that is going. A link that lost its device still
    // watches for it to come back; closing ends that too, so it is closed open or not.
    context_.link->SetDeviceChangeNotifier(nullptr);
    context_.link->UsbClose();
  }
  if (context_.settings_store) {
    settings_.operate_log_on = operate_log_->operate_log_on();
    SaveSettings(*context_.settings_store, settings_, *context_.debug_log);
  }
}

void MainWindow::PlaceWindow() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  move(5, 5);
  resize(area.width() - 10, area.height() - 35);
  // Smaller than three quarters of the screen the views no longer fit.
  setMinimumSize(std::min(area.width() * 3 / 4 + 60, area.width()),
                 std::min(area.height() * 3 / 4 + 10, area.height()));
}

QAction* MainWindow::AddCommand(QMenu* menu, int id, const QString& text) {
  auto* action = menu->addAction(text);
  if (const CommandText* t = FindTexts(id)) {
    action->setStatusTip(QString::fromUtf8(t->prompt));
    action->setToolTip(QString::fromUtf8(t->tooltip));
  }
  connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
  menu_actions_[id] = action;
  return action;
}

void MainWindow::BuildMenus() {
  QMenu* panel = menuBar()->addMenu(QStringLiteral("Panel(&P)"));
  AddCommand(panel, kCmdConnect, QStringLiteral("Connect(&B)\tCtrl+B"))
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+B")));
  AddCommand(panel, kCmdDisconnect, QStringLiteral("Disconnect(&U)\tCtrl+U"))
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+U")));
  panel->addSeparator();
  AddCommand(panel, kCmdExit, QStringLiteral("Exit(&X)"));

  QMenu* view = menuBar()->addMenu(QStringLiteral("View(&V)"));
  AddCommand(view, kCmdToolBar, QStringLiteral("ToolBar(&T)"))->setCheckable(true);
  AddCommand(view, kCmdStatusBar, QStringLiteral("Status Bar(&S)"))->setCheckable(true);
  AddCommand(view, kCmdBaseControlPanel, QStringLiteral("Base Control Panel(&P)"))
      ->setCheckable(true);
  menu_actions_[kCmdToolBar]->setChecked(true);
  menu_actions_[kCmdStatusBar]->setChecked(true);
  view->addSeparator();
  // The same export as the graph's context menu.
  export_graph_action_ = view->addAction(QStringLiteral("Export Graph..."));
  connect(export_graph_action_, &QAction::triggered, this, [this] {
    if (wave_graph_view_)
      wave_graph_view_->export_graph_action()->trigger();
  });

  QMenu* setting = menuBar()->addMenu(QStringLiteral("Setting(&E)"));
  time_menu_ = setting->addMenu(QStringLiteral("Time Setting(&T)\tCtrl+T"));
  const char* time_texts[] = {"0.5 s", "1 s", "2 s", "3 s", "5 s", "10 s", "Custom..."};
  for (int i = 0; i < 7; ++i) {
    AddCommand(time_menu_, kCmdInterval05s + i, QString::fromUtf8(time_texts[i]))
        ->setCheckable(true);
  }
  AddCommand(setting, kCmdPathSetting, QStringLiteral("Path Setting(&P)\tCtrl+P"))
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
  AddCommand(setting, kCmdOperateFile, QStringLiteral("Operate File(&D)\tCtrl+D"))
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+D")));
  menu_actions_[kCmdOperateFile]->setCheckable(true);
  AddCommand(setting, kCmdDefaultSetting, QStringLiteral("Default Setting"));
  setting->addSeparator();
  AddCommand(setting, kCmdTestLinkState, QStringLiteral("Test Link State"));
  AddCommand(setting, kCmdInstrument, QStringLiteral("Instrument..."));
  AddCommand(setting, kCmdFastExchange, QStringLiteral("Fast Exchange"))->setCheckable(true);

  QMenu* help = menuBar()->addMenu(QStringLiteral("Help(&H)"));
  AddCommand(help, kCmdAbout, QStringLiteral("About  Korvelane(&A)..."));

  // Ctrl+T opens the "Time Setting" submenu under the "Setting" menu.
  auto* time_shortcut = new QShortcut(QKeySequence(QStringLiteral("Ctrl+T")), this);
  connect(time_shortcut, &QShortcut::activated, this, [this, setting] {
    const QRect r = menuBar()->actionGeometry(setting->menuAction());
    time_menu_->popup(menuBar()->mapToGlobal(r.bottomLeft()));
  });

  lamps_ = new LampIndicator(menuBar());
  menuBar()->setCornerWidget(lamps_, Qt::TopRightCorner);
}

void MainWindow::BuildToolBar() {
  toolbar_ = addToolBar(QStringLiteral("Toolbar"));
  toolbar_->setAccessibleName(QStringLiteral("Toolbar"));
  toolbar_->setMovable(false);
  toolbar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  struct ToolButton {
    int id;
    const char* text;
  };
  constexpr ToolButton kButtons[] = {{kCmdConnect, "Connect"},
                                     {kCmdDisconnect, "Disc"},
                                     {kCmdExit, "Exit"},
                                     {0, nullptr},
                                     {kCmdBaseControlPanel, "Basebar"},
                                     {0, nullptr},
                                     {kCmdSimulantPane, "Panel"},
                                     {0, nullptr},
                                     {kCmdAbout, "About"}};
  for (const ToolButton& b : kButtons) {
    if (!b.text) {
      toolbar_->addSeparator();
      continue;
    }
    QAction* action = toolbar_->addAction(QString::fromUtf8(b.text));
    const CommandText* t = FindTexts(b.id);
    action->setStatusTip(QString::fromUtf8(t->prompt));
    action->setToolTip(QString::fromUtf8(t->tooltip));
    const int id = b.id;
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    tool_actions_[id] = action;
  }
  // Whatever hides or shows the toolbar (its own context menu too), the check follows.
  connect(toolbar_, &QToolBar::visibilityChanged, this,
          [this](bool shown) { menu_actions_[kCmdToolBar]->setChecked(shown); });
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setAccessibleName(QStringLiteral("Status bar"));
  panes_.bar = bar;
  const char* names[5] = {"Action", "State", "Progress", "Connection", "Date"};
  for (int i = 1; i < 5; ++i) {
    if (i == 2) {
      panes_.progress = new QProgressBar;
      panes_.progress->setRange(0, 100);
      panes_.progress->setValue(0);
      panes_.progress->setTextVisible(false);
      panes_.progress->setFixedWidth(kPaneWidths[2]);
      panes_.progress->setAccessibleName(QString::fromUtf8(names[i]));
      bar->addPermanentWidget(panes_.progress);
      continue;
    }
    auto* label = new QLabel;
    label->setMinimumWidth(kPaneWidths[i]);
    label->setAccessibleName(QString::fromUtf8(names[i]));
    bar->addPermanentWidget(label);
    panes_.panes[i] = label;
  }
  ui_->set_status_panes(panes_);
  const LocalTime now = context_.clock->Now();
  ui_->SetPaneText(0, "Welcome use Korvelane 2.0");
  ui_->SetPaneText(1, "Ready...");
  ui_->SetPaneText(3, "Dentrallo");
  panes_.panes[4]->setText(QStringLiteral("%1-%2-%3")
                               .arg(now.year, 4, 10, QLatin1Char('0'))
                               .arg(now.month, 2, 10, QLatin1Char('0'))
                               .arg(now.day, 2, 10, QLatin1Char('0')));
}

void MainWindow::BuildPanes() {
  splitter_ = new QSplitter(Qt::Horizontal, this);
  splitter_->setAccessibleName(QStringLiteral("Splitter"));
  splitter_->setHandleWidth(4);
  splitter_->setOpaqueResize(false);  // the panes jump when the bar is released
  splitter_->setChildrenCollapsible(true);
  right_pane_ = new RightPane;
  base_bar_ =
      new BaseOperationBar([this](int index) { return right_pane_->SelectView(index); },
                           [this](const std::string& text) { Record(text); }, *context_.debug_log);
  left_pane_ = new LeftPane(base_bar_);
  splitter_->addWidget(left_pane_);
  splitter_->addWidget(right_pane_);
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
  setCentralWidget(splitter_);
}

void MainWindow::BuildViews() {
  const ViewContext views{device_->store(), view_tables_, *operate_log_, *context_.debug_log, *ui_};
  RefreshTimerCalls timer{[this] { return auto_refresh(); }, [this] { StartRefreshTimer(); },
                          [this] { StopRefreshTimer(); }};
  wave_graph_view_ = std::make_unique<WaveGraphView>(views, device_->acquisition(),
                                                     device_->connection(), std::move(timer));
  right_pane_->SetPage(kWaveGraphView, wave_graph_view_.get());
  file_dialogs_ = std::make_unique<FileDialogs>(
      [this] {
        return settings_.initial_path.empty() ? context_.program_folder : settings_.initial_path;
      },
      this);
  dso_bitmap_view_ = std::make_unique<DsoBitmapView>(
      views, device_->connection(), device_->bitmap_transfer(), *file_dialogs_,
      [this](QDialog& dialog) { return RunDialog(dialog); });
  right_pane_->SetPage(kDsoBitmapView, dso_bitmap_view_.get());
  const DialogRunner run_dialog = [this](QDialog& dialog) { return RunDialog(dialog); };
  wave_data_view_ = std::make_unique<WaveDataView>(views, run_dialog);
  right_pane_->SetPage(kWaveDataView, wave_data_view_.get());
  wave_measurement_view_ = std::make_unique<WaveMeasurementView>(views, run_dialog);
  right_pane_->SetPage(kWaveMeasurementView, wave_measurement_view_.get());
  BuildRecording();
  file_commands_ = std::make_unique<AppFileCommands>(
      AppFileCommands::Parts{views, device_->connection(), device_->acquisition(), *context_.clock,
                             *file_dialogs_, *wave_graph_view_, *wave_data_view_,
                             *wave_measurement_view_, *right_pane_, *base_bar_, run_dialog, this});
  print_commands_ = std::make_unique<PrintCommands>(
      PrintCommands::Views{*wave_graph_view_, *wave_data_view_, *wave_measurement_view_,
                           *dso_bitmap_view_},
      view_tables_, PrintServices{*ui_, *context_.debug_log, *context_.clock}, run_dialog);
}

void MainWindow::BuildRecording() {
  recorder_ = std::make_unique<MeasurementRecorder>(view_tables_, device_->store(), *context_.clock,
                                                    *context_.debug_log, *ui_);
  wave_measurement_view_->AttachRecorder(*recorder_,
                                         [this] { return file_dialogs_->initial_path(); });
  // Beside the status panes, shown only while recording.
  recording_label_ = new QLabel;
  recording_label_->setAccessibleName(QStringLiteral("Recording"));
  recording_label_->hide();
  statusBar()->insertPermanentWidget(0, recording_label_);
  connect(wave_measurement_view_.get(), &WaveMeasurementView::RecordingStatusChanged, this,
          [this](const QString& text) {
            recording_label_->setText(text);
            recording_label_->setVisible(!text.isEmpty());
          });
}

void MainWindow::EnableSettingButtons(bool enable) {
  if (file_commands_)
    file_commands_->settings().EnableSettingButtons(enable);
}

RequestOptions MainWindow::ReadRequestOptions() {
  return wave_graph_view_ ? wave_graph_view_->ReadRequestOptions() : RequestOptions{};
}

void MainWindow::RedrawWaveGraph() {
  if (wave_graph_view_)
    wave_graph_view_->RedrawWaveGraph();
}

void MainWindow::SetAutoButtonEnabled(bool auto_enabled) {
  if (wave_graph_view_)
    wave_graph_view_->SetAutoButtonEnabled(auto_enabled);
}

void MainWindow::StartUp() {
  device_ = std::make_unique<Device>(*context_.link, *ui_, *context_.debug_log, *operate_log_,
                                     static_cast<DeviceHooks&>(*this), *context_.clock);
  BuildViews();
  if (context_.settings_store) {
    settings_ =
        LoadSettings(*context_.settings_store, context_.program_folder, *context_.debug_log);
  } else {
    settings_.initial_path = context_.program_folder;
  }
  ShowIntervalCheck();
  operate_log_->set_operate_log_on(settings_.operate_log_on);
  menu_actions_[kCmdOperateFile]->setChecked(operate_log_->is_on());
  ApplyFastExchange(settings_.fast_exchange);

  splitter_->setSizes({kLeftPaneWidth, std::max(0, width() - kLeftPaneWidth)});
  menu_actions_[kCmdBaseControlPanel]->setChecked(true);
  operate_log_->Start();

  instrument_chooser_ = std::make_unique<InstrumentChooser>(InstrumentChooser::Parts{
      context_.instruments, device_->connection(), *ui_, *operate_log_, settings_.device,
      [this](QDialog& dialog) { return RunDialog(dialog); }, this});
  menu_actions_[kCmdInstrument]->setEnabled(instrument_chooser_->available());
  instrument_chooser_->StartUp();

  context_.link->SetDeviceChangeNotifier([this](uintptr_t wparam, intptr_t lparam) {
    QMetaObject::invokeMethod(
        this, [this, wparam, lparam] { OnDeviceChange(wparam, lparam); }, Qt::QueuedConnection);
  });
  refresh_timer_.setTimerType(Qt::PreciseTimer);
  connect(&refresh_timer_, &QTimer::timeout, this, &MainWindow::RefreshTick);
  device_->connection().StartupLinkTest();
  UpdateCommandStates();
}

QAction* MainWindow::menu_action(int id) const {
  auto it = menu_actions_.find(id);
  return it == menu_actions_.end() ? nullptr : it->second;
}

QAction* MainWindow::tool_action(int id) const {
  auto it = tool_actions_.find(id);
  return it == tool_actions_.end() ? nullptr : it->second;
}

void MainWindow::UpdateCommandStates() {
  const bool bound = device_ && device_->connection().bound();
  const bool link_ok = device_ && device_->connection().link_ok();
  for (int id : {kCmdConnect, kCmdExit}) {
    if (QAction* a = menu_action(id))
      a->setEnabled(!bound);
    if (QAction* a = tool_action(id))
      a->setEnabled(!bound);
  }
  for (int id : {kCmdDisconnect, kCmdSimulantPane}) {
    if (QAction* a = menu_action(id))
      a->setEnabled(bound);
    if (QAction* a = tool_action(id))
      a->setEnabled(bound);
  }
  if (lamps_)
    lamps_->SetState(link_ok, bound);
  if (recorder_)
    recorder_->SetInstrumentBound(bound);
}

void MainWindow::RunCommand(int id) {
  switch (id) {
    case kCmdConnect:
      device_->connection().Connect();
      break;
    case kCmdDisconnect:
      device_->connection().Disconnect();
      if (!device_->connection().bound())
        recorder_->Stop();
      break;
    case kCmdExit:
      close();
      break;
    case kCmdToolBar:
      Record("Show/Hide the ToolBar");
      ToggleBar(toolbar_, id);
      break;
    case kCmdStatusBar:
      Record("Show/Hide the StatusBar");
      ToggleBar(statusBar(), id);
      break;
    case kCmdBaseControlPanel:
      Record("Show/Hide the Base Oper Bar");
      ToggleBaseControlPanel();
      break;
    case kCmdIntervalCustom:
      Record("Set the interval time as custom");
      CustomInterval();
      break;
    case kCmdPathSetting:
      Record("Set the Initial Path");
      PathSetting();
      break;
    case kCmdOperateFile:
      ToggleOperateFile();
      break;
    case kCmdDefaultSetting:
      Record("Set all setting value as default");
      DefaultSetting();
      break;
    case kCmdTestLinkState:
      device_->connection().TestLinkState();
      break;
    case kCmdFastExchange:
      Record(settings_.fast_exchange ? "Fast Exchange off" : "Fast Exchange on");
      ApplyFastExchange(!settings_.fast_exchange);
      break;
    case kCmdAbout:
      Record("View the About Info");
      ShowAbout();
      break;
    case kCmdSimulantPane:
      ShowSimulantPane();
      break;
    case kCmdInstrument:
      instrument_chooser_->Choose();
      break;
    default:
      for (const IntervalCommand& c : kIntervalCommands) {
        if (c.id == id) {
          Record(c.action_text);
          ApplyInterval(c.index);
        }
      }
      break;
  }
  UpdateCommandStates();
}

void MainWindow::ApplyInterval(int index) {
  settings_.interval = SelectInterval(index, settings_.interval.interval_ms);
  ShowIntervalCheck();
}

void MainWindow::ShowIntervalCheck() {
  for (int id = kCmdInterval05s; id <= kCmdIntervalCustom; ++id) {
    if (QAction* a = menu_action(id))
      a->setChecked(id == settings_.interval.checked_command);
  }
}

int MainWindow::RunDialog(QDialog& dialog) {
  return context_.run_dialog ? context_.run_dialog(dialog) : dialog.exec();
}

void MainWindow::CustomInterval() {
  CustomTimeDialog dialog(
      [this](const QString& notice) {
        ui_->ShowMessage(notice.toStdString(), "Set Custom Time", MessageIcon::kExclamation);
      },
      this);
  if (RunDialog(dialog) == QDialog::Accepted) {
    settings_.interval.interval_ms = dialog.value();
    ApplyInterval(kCustomIntervalIndex);
    return;
  }
  // The menu item toggled its own check when it was chosen; the check stays with the interval
  // in force.
  ShowIntervalCheck();
}

void MainWindow::PathSetting() {
  if (settings_.initial_path.empty())
    settings_.initial_path = context_.program_folder;
  AlterFilePathDialog dialog(QString::fromStdString(settings_.initial_path), {}, this);
  if (RunDialog(dialog) != QDialog::Accepted)
    return;
  const std::string path = dialog.new_path().toStdString();
  if (!path.empty())
    settings_.initial_path = path;
  Record("Set the Initial Path Successed!");
}

void MainWindow::ToggleOperateFile() {
  operate_log_->ToggleOperateFile();
  menu_actions_[kCmdOperateFile]->setChecked(operate_log_->is_on());
}

void MainWindow::DefaultSetting() {
  operate_log_->set_operate_log_on(OperateLog::kOff);
  menu_actions_[kCmdOperateFile]->setChecked(false);
  settings_.initial_path.clear();
  ApplyInterval(2);
  ApplyFastExchange(false);
}

void MainWindow::ApplyFastExchange(bool on) {
  settings_.fast_exchange = on;
  device_->set_fast_exchange(on);
  menu_actions_[kCmdFastExchange]->setChecked(on);
}

void MainWindow::ShowAbout() {
  AboutDialog dialog(this);
  dialog.setWindowIcon(windowIcon());
  RunDialog(dialog);
}

void MainWindow::ShowSimulantPane() {
  Record("Show the Simulant Pane");
  if (!device_->connection().bound()) {
    ui_->ShowMessage("Please ensure the link is ok before show the Simulant Pane", "Error",
                     MessageIcon::kInformation);
    ui_->RefreshMenuLamps();
    return;
  }
  right_pane_->SelectView(kWaveGraphView);
  // Between the panel's own exchanges the timer keeps refreshing and the panel's lamps follow.
  CSimulantUIDlg panel(PanelContext{device_->store(), device_->connection(), device_->acquisition(),
                                    device_->busy_indicator(), *ui_, *operate_log_,
                                    [this] { return auto_refresh(); }},
                       this, [this](const std::function<void()>& action) {
                         action();
                         UpdateCommandStates();
                       });
  open_panel_ = &panel;
  RunDialog(panel);
  open_panel_ = nullptr;
}

void MainWindow::UpdatePanelLamps() {
  if (open_panel_)
    open_panel_->UpdatePanelLamps();
}

void MainWindow::ToggleBar(QWidget* bar, int id) {
  const bool show = !bar->isVisible();
  bar->setVisible(show);
  menu_actions_[id]->setChecked(show);
}

void MainWindow::ToggleBaseControlPanel() {
  base_panel_shown_ = !base_panel_shown_;
  const int left = base_panel_shown_ ? kLeftPaneWidth : 0;
  const int total = splitter_->width() - splitter_->handleWidth();
  splitter_->setSizes({left, std::max(0, total - left)});
  menu_actions_[kCmdBaseControlPanel]->setChecked(base_panel_shown_);
}

void MainWindow::StartRefreshTimer() {
  refresh_timer_.start(settings_.interval.interval_ms);
}

void MainWindow::StopRefreshTimer() {
  refresh_timer_.stop();
}

void MainWindow::RefreshTick() {
  // A tick that comes while an exchange is under way is skipped by the device's guard.
  device_->acquisition().RefreshAll();
  UpdateCommandStates();
}

void MainWindow::OnDeviceChange(uintptr_t wparam, intptr_t lparam) {
  device_->connection().OnDeviceChange(wparam, lparam);
  UpdateCommandStates();
}

bool MainWindow::ExitAllowed() {
  Record("Exit");
  if (device_->connection().bound()) {
    ui_->ShowMessage("The software is Binding now, it can't exit!", "Error",
                     MessageIcon::kExclamation);
    Record("Try to Exti failed!");
    ui_->RefreshMenuLamps();
    return false;
  }
  operate_log_->FlushOnExit();
  return true;
}

void MainWindow::EndOnSignal() {
  if (ending_)
    return;
  // Nobody may be there to answer a box any more; one shown in an exchange would hold it open.
  ui_->EndBoxes();
  // As a close request, it waits for the exchange under way to end.
  if (device_->exchange_in_progress()) {
    device_->AfterExchange([this] { EndOnSignal(); });
    return;
  }
  ending_ = true;
  refresh_timer_.stop();
  if (device_->connection().bound())
    device_->connection().Disconnect();
  Record("Exit");
  operate_log_->FlushOnExit();
  // Leaves every event loop, a modal dialog's included; the window's destruction saves the
  // settings and closes the device.
  QCoreApplication::exit(0);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (device_->exchange_in_progress()) {
    // Judged by the usual rule once the exchange is over: a Bind under way may yet bind.
    event->ignore();
    if (!close_waiting_) {
      close_waiting_ = true;
      device_->AfterExchange([this] {
        close_waiting_ = false;
        close();
      });
    }
    return;
  }
  if (ExitAllowed()) {
    recorder_->Stop();
    event->accept();
  } else {
    event->ignore();
  }
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    // A highlighted command shows its prompt; when nothing is highlighted the idle text shows.
    const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
    statusBar()->showMessage(tip.isEmpty() ? QString::fromUtf8(kIdlePrompt) : tip);
    return true;
  }
  return QMainWindow::event(event);
}

}  // namespace korvelane
