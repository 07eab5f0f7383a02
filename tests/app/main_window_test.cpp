// SPDX-License-Identifier: GPL-3.0-or-later
// The main window over the simulated instrument: its menus, toolbar, bar and views' buttons reach
// their commands, with a round trip of settings and of waves. The commands' rules are the core's.
#include "app/main_window.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "app/app_test_support.h"
#include "app/custom_time_dialog.h"
#include "core/protocol/panel_codes.h"
#include "core/shell/command_ids.h"
#include "panes/base_operation_bar.h"
#include "panes/right_pane.h"
#include "views/picture_size_dialog.h"
#include "views/scope_graph.h"
#include "views/select_chan_dlg.h"
#include "views/wave_data_view.h"
#include "views/wave_graph_view.h"
#include "views/wave_measurement_view.h"
#include "widgets/file_dialogs.h"

namespace korvelane {
namespace {

using testing::AppTest;

std::vector<int> CheckedIntervals(MainWindow& w) {
  std::vector<int> checked;
  for (int id = kCmdInterval05s; id <= kCmdIntervalCustom; ++id) {
    if (w.menu_action(id)->isChecked())
      checked.push_back(id);
  }
  return checked;
}

// The settings' fallbacks are the core's; here the Setting menu shows them, the next start reads
// back what the last one wrote on QSettings, and Default Setting resets every menu check.
TEST_F(AppTest, TheSettingMenuShowsStoresAndResetsTheSettings) {
  MainWindow& w = Open();
  EXPECT_EQ(CheckedIntervals(w), std::vector<int>{kCmdInterval2s});
  EXPECT_EQ(w.initial_path(), dir.path());
  EXPECT_EQ(w.pane(4)->text(), QStringLiteral("2026-12-06"));
  // "Fast Exchange" is the Setting menu's last item.
  QAction* fast = w.menu_action(kCmdFastExchange);
  auto* setting = qobject_cast<QMenu*>(fast->associatedObjects().front());
  EXPECT_EQ(setting->title(), QStringLiteral("Setting(&E)"));
  EXPECT_EQ(setting->actions().back(), fast);
  for (int id : {kCmdFastExchange, kCmdOperateFile, kCmdInterval10s})
    w.menu_action(id)->trigger();
  CloseWindow();
  QSettings stored = StoredSettings();
  EXPECT_EQ(stored.value("Settings/Interval time").toString(), QStringLiteral("10000"));
  EXPECT_EQ(stored.value("Settings/Operate File check").toInt(), OperateLog::kOn);
  EXPECT_EQ(stored.value("Settings/FileInit Path").toString(), QString::fromStdString(dir.path()));
  EXPECT_EQ(stored.value("Settings/Fast exchange").toString(), QStringLiteral("1"));

  MainWindow& again = Open();
  EXPECT_TRUE(again.device().fast_exchange());
  EXPECT_TRUE(again.operate_log().is_on());
  EXPECT_EQ(CheckedIntervals(again), std::vector<int>{kCmdInterval10s});
  again.menu_action(kCmdDefaultSetting)->trigger();
  for (int id : {kCmdFastExchange, kCmdOperateFile})
    EXPECT_FALSE(again.menu_action(id)->isChecked()) << id;
  EXPECT_FALSE(again.device().fast_exchange());
  EXPECT_FALSE(again.operate_log().is_on());
  EXPECT_EQ(CheckedIntervals(again), std::vector<int>{kCmdInterval2s});
  CloseWindow();
  EXPECT_EQ(StoredSettings().value("Settings/FileInit Path").toString(), QString());
  EXPECT_EQ(Open().initial_path(), "");
}

// Types `text` into the "Custom..." dialog and presses OK; a refused value keeps it open.
int TypeInterval(QDialog& dialog, const char* text) {
  auto& custom = static_cast<CustomTimeDialog&>(dialog);
  custom.field()->setText(QString::fromUtf8(text));
  custom.accept();
  return custom.result();  // still open: as if then cancelled
}

// The accepted range is the core's; here a refused value keeps the dialog open with a box.
TEST_F(AppTest, CustomIntervalStaysOpenOnARefusedValueAndTheMenuCheckFollowsTheInterval) {
  MainWindow& w = Open();
  dialog_script = [](QDialog& dialog) { return TypeInterval(dialog, "10000"); };
  w.menu_action(kCmdIntervalCustom)->trigger();
  EXPECT_EQ(presenter.boxes.size(), 1u);
  EXPECT_EQ(CheckedIntervals(w), std::vector<int>{kCmdInterval2s});
  dialog_script = [](QDialog& dialog) { return TypeInterval(dialog, "9999"); };
  w.menu_action(kCmdIntervalCustom)->trigger();
  EXPECT_EQ(w.refresh_interval_ms(), 9999);
  EXPECT_EQ(CheckedIntervals(w), std::vector<int>{kCmdIntervalCustom});
  // Cancelled while "Custom..." holds the check: it keeps it.
  dialog_script = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
  w.menu_action(kCmdIntervalCustom)->trigger();
  EXPECT_EQ(CheckedIntervals(w), std::vector<int>{kCmdIntervalCustom});
  w.menu_action(kCmdInterval5s)->trigger();
  EXPECT_EQ(w.refresh_interval_ms(), 5000);
  EXPECT_EQ(CheckedIntervals(w), std::vector<int>{kCmdInterval5s});
}

// While the path is empty Path Setting offers the program's folder; an empty text keeps the path
// and still records success, a cancel records only the start.
TEST_F(AppTest, PathSettingStartsFromTheProgramsFolderWhileThePathIsEmpty) {
  MainWindow& w = Open();
  w.menu_action(kCmdDefaultSetting)->trigger();
  QString shown;
  dialog_script = [&](QDialog& dialog) {
    auto fields = dialog.findChildren<QLineEdit*>();
    shown = fields.front()->text();
    fields.back()->setText(QStringLiteral("/data/scope"));
    return static_cast<int>(QDialog::Accepted);
  };
  w.menu_action(kCmdPathSetting)->trigger();
  EXPECT_EQ(shown, QString::fromStdString(dir.path()));
  EXPECT_EQ(w.initial_path(), "/data/scope");
  dialog_script = [](QDialog&) { return static_cast<int>(QDialog::Accepted); };
  w.menu_action(kCmdPathSetting)->trigger();
  EXPECT_EQ(w.initial_path(), "/data/scope");
  EXPECT_EQ(w.user_interface().pane0_text(), QStringLiteral("Set the Initial Path Successed!"));
  dialog_script = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
  w.menu_action(kCmdPathSetting)->trigger();
  EXPECT_EQ(w.user_interface().pane0_text(), QStringLiteral("Set the Initial Path"));
}

TEST_F(AppTest, ACloseRequestInTheBindsWaitIsJudgedWhenTheBindHasEnded) {
  context.real_sleeps = true;  // the waits dispatch what comes, as for the user
  MainWindow& w = Open();
  w.show();
  QTimer::singleShot(100, &w, [&w] { w.close(); });
  w.menu_action(kCmdConnect)->trigger();
  EXPECT_TRUE(w.device().connection().bound());
  EXPECT_TRUE(w.isVisible());
  ASSERT_EQ(presenter.boxes.size(), 1u);
  EXPECT_EQ(presenter.boxes[0].text, "The software is Binding now, it can't exit!");
}

TEST_F(AppTest, RefreshTicksRunUnderModalBoxesThatExchangeNothing) {
  MainWindow& w = Open();
  w.menu_action(kCmdConnect)->trigger();
  dialog_script = [](QDialog& dialog) { return TypeInterval(dialog, "100"); };
  w.menu_action(kCmdIntervalCustom)->trigger();
  w.wave_graph_view()->button(WaveGraphView::Button::kAuto)->click();
  // What a modal box's own event loop does while it is shown: a refresh comes.
  int refreshed_under_box = 0;
  const auto wait_for_refresh = [&] {
    const uint64_t before = instrument.exchange_count();
    if (QTest::qWaitFor([&] { return instrument.exchange_count() > before; }, 5000))
      ++refreshed_under_box;
  };
  dialog_script = [&](QDialog&) {
    wait_for_refresh();
    return static_cast<int>(QDialog::Rejected);
  };
  presenter.while_shown = wait_for_refresh;
  for (int id : {kCmdAbout, kCmdPathSetting, kCmdIntervalCustom, kCmdTestLinkState})
    w.menu_action(id)->trigger();
  EXPECT_EQ(refreshed_under_box, 4);
}

TEST_F(AppTest, ToolBarCheckFollowsTheToolbarWhateverHidesIt) {
  MainWindow& w = Open();
  w.show();
  auto* bar = w.findChild<QToolBar*>();
  QAction* check = w.menu_action(kCmdToolBar);
  bar->toggleViewAction()->trigger();  // what the toolbar's own context menu does
  EXPECT_FALSE(bar->isVisible());
  EXPECT_FALSE(check->isChecked());
  for (bool shown : {true, false}) {
    check->trigger();
    EXPECT_EQ(bar->isVisible(), shown);
    EXPECT_EQ(check->isChecked(), shown);
  }
}

using testing::ReadFileText;
using GraphButton = WaveGraphView::Button;
using Mode = SelectChanMode;

size_t LineCount(const std::string& path) {
  const std::string text = ReadFileText(path);
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

class AppFilesTest : public testing::AppTest {
 protected:
  // Every dialog is answered with OK ("Select the Chan" on the slot it offers first, its mode
  // noted), the shared file dialogs with the names in `answers`.
  AppFilesTest() {
    dialog_script = [this](QDialog& dialog) {
      if (auto* choice = dynamic_cast<CSelectChanDlg*>(&dialog))
        modes.push_back(choice->mode());
      return static_cast<int>(QDialog::Accepted);
    };
    Open().file_dialogs().set_runner([this](const FileDialogRequest& request) {
      auto it = answers.find(request.title);
      return it == answers.end() ? std::string() : dir.File(it->second);
    });
  }

  // Bound, with CH1 and CH2 measured by one refresh.
  WaveGraphView* Refreshed() {
    window->RunCommand(kCmdConnect);
    WaveGraphView* graph = window->wave_graph_view();
    graph->measure_box(1)->setChecked(true);
    graph->measure_box(2)->setChecked(true);
    graph->button(GraphButton::kRefresh)->click();
    return graph;
  }
  std::vector<bool> SettingButtons() const {
    std::vector<bool> states;
    for (int i = 0; i < 4; ++i)
      states.push_back(Setting(static_cast<SettingButton>(i))->isEnabled());
    return states;
  }
  QPushButton* Setting(SettingButton button) const {
    return window->base_bar()->setting_button(button);
  }
  std::vector<unsigned char> InstrumentBlock() const {
    return std::vector<unsigned char>(instrument.settings_block().begin(),
                                      instrument.settings_block().end());
  }
  std::string LastBox() const { return presenter.boxes.empty() ? "" : presenter.boxes.back().text; }

  std::map<std::string, std::string> answers;  // dialog title -> file name in `dir`
  std::vector<Mode> modes;
};

using B = std::vector<bool>;  // Upload, Download, Save, Save As

TEST_F(AppFilesTest, SettingFilesMoveBetweenTheInstrumentTheBarAndFiles) {
  MainWindow& w = *window;
  EXPECT_EQ(SettingButtons(), (B{false, false, false, false}));
  w.RunCommand(kCmdConnect);
  EXPECT_EQ(SettingButtons(), (B{true, false, false, false}));
  Setting(SettingButton::kUpload)->click();
  Setting(SettingButton::kSave)->click();
  const auto saved = testing::ReadFileBytes(dir.File("20261206-090507.ssf"));
  EXPECT_EQ(saved, InstrumentBlock());

  // The instrument's settings change; the saved file opened and downloaded brings them back.
  w.device().connection().SendPanelKey(KnobIncreaseCode(kKnobSdiv), 3);
  ASSERT_NE(InstrumentBlock(), saved);
  answers["Open Setting File"] = "20261206-090507.ssf";
  w.base_bar()->open_setting_button()->click();
  EXPECT_EQ(w.base_bar()->current_file_field()->text().toStdString(),
            dir.File("20261206-090507.ssf"));
  Setting(SettingButton::kDownload)->click();
  EXPECT_EQ(InstrumentBlock(), saved);
  w.RunCommand(kCmdDisconnect);
  EXPECT_EQ(SettingButtons(), (B{false, false, false, true}));
}

TEST_F(AppFilesTest, WavesSavedAndExportedFromTheViewsComeBackThroughTheBarsRows) {
  MainWindow& w = *window;
  WaveGraphView* graph = Refreshed();
  const ViewTables& tables = w.view_tables();
  const int count = tables.wave_slots[1].count;
  ASSERT_GT(count, 200);

  answers = {{"Save Wave Graph File", "graph.csv"},
             {"Save Wave Data File", "data"},
             {"Save Wave Measurement File", "meas"},
             {"Export Wave Data CSV File", "waves.csv"},
             {"Export Wave Measurement CSV File", "measurements.csv"}};
  graph->button(GraphButton::kSave)->click();
  w.wave_data_view()->button(WaveDataView::Button::kSaveAs)->click();
  w.wave_measurement_view()->button(WaveMeasurementView::Button::kSaveAs)->click();
  w.wave_data_view()->export_csv_action()->trigger();
  w.wave_measurement_view()->export_csv_action()->trigger();
  ASSERT_TRUE(presenter.boxes.empty()) << LastBox();
  EXPECT_EQ(modes, (std::vector<Mode>{Mode::kWaveGraph, Mode::kWaveData, Mode::kMeasurement}));
  EXPECT_EQ(testing::ReadFileBytes(dir.File("data.wdf")).size(), 172u + count);
  EXPECT_EQ(testing::ReadFileBytes(dir.File("meas.wmf")).size(), 172u + count);
  // Scales of CH1 and CH2, the column header, one row per sample; a row per measurement.
  EXPECT_EQ(LineCount(dir.File("waves.csv")), 1u + 2 + 1 + count);
  EXPECT_EQ(LineCount(dir.File("measurements.csv")), 1u + 2 * 11);

  answers = {{"Open Wave Data File", "data.wdf"},
             {"Open Wave Measurement File", "meas.wmf"},
             {"Open Wave Graph File", "graph.csv"}};
  BaseOperationBar* bar = w.base_bar();
  for (int row : {BaseOperationBar::kDataFileRow, BaseOperationBar::kMeasureFileRow,
                  BaseOperationBar::kGraphFileRow})
    bar->open_button(row)->click();
  graph->button(GraphButton::kOpen)->click();
  // Chan3..Chan6 hold CH1 as it was shown.
  for (int slot = 3; slot <= 6; ++slot)
    EXPECT_EQ(tables.wave_slots[slot].count, count) << slot;
  EXPECT_TRUE(tables.wave_slots[7].free());

  // Both "Export Graph" items: a PNG of the size shown, the caption under the graph, or of the
  // size typed into the size dialog, whose Cancel writes nothing; an SVG and a PDF page.
  answers = {{"Export Wave Graph", "graph.png"}};
  w.export_graph_action()->trigger();
  const QString png = QString::fromStdString(dir.File("graph.png"));
  const QSize shown = QImageReader(png).size();
  EXPECT_EQ(shown.width(), graph->graph()->width());
  EXPECT_GT(shown.height(), graph->graph()->height());
  dialog_script = [](QDialog& dialog) {
    auto& size = dynamic_cast<PictureSizeDialog&>(dialog);
    size.width_box()->setValue(640);
    size.height_box()->setValue(333);
    size.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    return size.result();
  };
  graph->export_graph_action()->trigger();
  EXPECT_EQ(QImageReader(png).size(), QSize(640, 333));
  dialog_script = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
  w.export_graph_action()->trigger();
  EXPECT_EQ(QImageReader(png).size(), QSize(640, 333));
  for (const char* name : {"graph.svg", "graph.pdf"}) {
    answers = {{"Export Wave Graph", name}};
    graph->export_graph_action()->trigger();
  }
  ASSERT_TRUE(presenter.boxes.empty()) << LastBox();
  const std::string box =
      QStringLiteral("0 0 %1 %2").arg(shown.width()).arg(shown.height()).toStdString();
  EXPECT_NE(ReadFileText(dir.File("graph.svg")).find("viewBox=\"" + box), std::string::npos);
  EXPECT_EQ(ReadFileText(dir.File("graph.pdf")).rfind("%PDF-", 0), 0u);
}

TEST_F(AppFilesTest, RecordingShowsInTheStatusBarPausesWithoutTheInstrumentAndStopsAtDisconnect) {
  MainWindow& w = *window;
  WaveGraphView* graph = Refreshed();
  dialog_script = [this](QDialog& dialog) {
    dynamic_cast<QFileDialog&>(dialog).selectFile(QString::fromStdString(dir.File("night")));
    return static_cast<int>(QDialog::Accepted);
  };
  w.wave_measurement_view()->button(WaveMeasurementView::Button::kRecord)->click();
  QLabel* status = nullptr;
  for (QLabel* label : w.statusBar()->findChildren<QLabel*>())
    status = label->accessibleName() == QStringLiteral("Recording") ? label : status;
  ASSERT_NE(status, nullptr);
  graph->button(GraphButton::kRefresh)->click();
  graph->button(GraphButton::kRefresh)->click();
  EXPECT_TRUE(status->isVisibleTo(w.statusBar()));
  EXPECT_EQ(status->text(), QStringLiteral("Recording: 4 rows"));
  instrument.Unplug();
  QCoreApplication::processEvents();
  EXPECT_EQ(status->text(), QStringLiteral("Recording paused: 4 rows"));
  instrument.Plug();
  QCoreApplication::processEvents();
  w.menu_action(kCmdConnect)->trigger();

  w.menu_action(kCmdDisconnect)->trigger();
  EXPECT_FALSE(status->isVisibleTo(w.statusBar()));
  EXPECT_EQ(LineCount(dir.File("night.csv")), 1u + 4);  // the header, CH1 and CH2 twice
}

// Each row of "Open Files" records its action and shows its view once a file is chosen; the
// opener it reaches refuses what is no regular file at once: a named pipe without a writer, which
// opening as a file would wait on for ever. The openers' messages are the core's.
TEST_F(AppFilesTest, EachOpenRowShowsItsViewAndItsOpenerRefusesAPipeAtOnce) {
  MainWindow& w = *window;
  BaseOperationBar* bar = w.base_bar();
  const struct {
    QPushButton* button;
    const char* title;
    const char* name;
    int view;
    const char* action;
  } openers[] = {
      {bar->open_button(BaseOperationBar::kDataFileRow), "Open Wave Data File", "x.wdf",
       kWaveDataView, "Open a Wave Data file and show the view"},
      {bar->open_button(BaseOperationBar::kMeasureFileRow), "Open Wave Measurement File", "x.wmf",
       kWaveMeasurementView, "Open a Wave Measurement file and show the view"},
      {bar->open_button(BaseOperationBar::kGraphFileRow), "Open Wave Graph File", "x.wdf",
       kWaveGraphView, "Open a Wave Graph file and show the view"},
      {bar->open_button(BaseOperationBar::kBitmapFileRow), "Open Bmp File", "x.bmp", kDsoBitmapView,
       "Open a DSO Bitmap file and show the view"},
      {bar->open_setting_button(), "Open Setting File", "x.ssf", kWelcomePage,
       "Open a Setting file"},
  };
  for (const auto& opener : openers) {
    SCOPED_TRACE(opener.title);
    mkfifo(dir.File(opener.name).c_str(), 0600);
    w.right_pane()->SelectView(kWelcomePage);
    opener.button->click();  // cancelled: the action alone
    EXPECT_EQ(w.user_interface().pane0_text().toStdString(), opener.action);
    EXPECT_EQ(w.right_pane()->current_index(), kWelcomePage);
    answers = {{opener.title, opener.name}};
    presenter.boxes.clear();
    opener.button->click();
    EXPECT_EQ(presenter.boxes.size(), 1u);
    EXPECT_EQ(w.right_pane()->current_index(), opener.view);
  }
  for (int slot = 3; slot <= 7; ++slot)
    EXPECT_TRUE(w.view_tables().wave_slots[slot].free());
}

}  // namespace
}  // namespace korvelane
