#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <algorithm>

#include "app/custom_time_dialog.h"
#include "app/lamp_indicator.h"
#include "app_test_support.h"
#include "core/logs/gbk_text.h"
#include "core/shell/command_ids.h"
#include "panes/left_pane.h"
#include "panes/right_pane.h"

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

// Texts of the buffered operate-log lines without their stamps.
std::vector<std::string> ActionTexts(MainWindow& w) {
  std::vector<std::string> texts;
  for (const std::string& line : w.operate_log().operate_lines()) {
    const size_t end_of_stamp = line.find("——");
    texts.push_back(line.substr(end_of_stamp + std::string("——").size()));
  }
  return texts;
}

QRgb PixelAt(LampIndicator* lamps, QPoint point) {
  return lamps->grab().toImage().pixel(point);
}

TEST_F(AppTest, FirstRunStartsWithDefaultsAndExitWritesAllThreeValues) {
  MainWindow& w = Open();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Korvelane"));
  EXPECT_EQ(w.refresh_interval_ms(), 2000);
  EXPECT_EQ(CheckedIntervals(w), std::vector<int>{kCmdInterval2s});
  EXPECT_FALSE(w.menu_action(kCmdOperateFile)->isChecked());
  EXPECT_EQ(w.initial_path(), dir.path());
  EXPECT_EQ(w.user_interface().pane0_text(), QStringLiteral("Welcome use Korvelane 2.0"));
  EXPECT_EQ(w.pane(1)->text(), QStringLiteral("Ready..."));
  EXPECT_EQ(w.pane(3)->text(), QStringLiteral("Dentrallo"));
  EXPECT_EQ(w.pane(4)->text(), QStringLiteral("2026-12-06"));
  EXPECT_TRUE(w.device().connection().link_ok());
  EXPECT_FALSE(w.device().connection().bound());

  CloseWindow();
  QSettings stored = StoredSettings();
  EXPECT_EQ(stored.value("Settings/Interval time").toString(), QStringLiteral("2000"));
  EXPECT_EQ(stored.value("Settings/Operate File check").toInt(), 0);
  EXPECT_EQ(stored.value("Settings/FileInit Path").toString(), QString::fromStdString(dir.path()));
}

TEST_F(AppTest, StoredCustomIntervalAndOperateLogAreReadBack) {
  {
    QSettings stored = StoredSettings();
    stored.setValue("Settings/Interval time", "700");
    stored.setValue("Settings/Operate File check", 8);
    stored.setValue("Settings/FileInit Path", "/srv/waves");
  }
  MainWindow& w = Open();
  EXPECT_EQ(w.refresh_interval_ms(), 700);
  EXPECT_EQ(CheckedIntervals(w), std::vector<int>{kCmdIntervalCustom});
  EXPECT_TRUE(w.menu_action(kCmdOperateFile)->isChecked());
  EXPECT_EQ(w.initial_path(), "/srv/waves");
  EXPECT_EQ(ActionTexts(w), std::vector<std::string>{"Welcome use Korvelane 2.0"});
}

TEST_F(AppTest, EnablingAndLampsFollowTheConnectionState) {
  MainWindow& w = Open();
  w.resize(1000, 700);
  LampIndicator* lamps = w.lamps();
  const QRgb green = qRgb(0, 255, 0);
  const QRgb red = qRgb(255, 0, 0);
  const auto expect_lamps = [&](QRgb link_lamp, QRgb bind_lamp) {
    EXPECT_EQ(PixelAt(lamps, lamps->LinkLampCentre()), link_lamp);
    EXPECT_EQ(PixelAt(lamps, lamps->BindLampCentre()), bind_lamp);
  };
  // Connect and Exit only while unbound, Disconnect and the panel only while bound.
  const auto expect_enabled = [&](bool bound) {
    for (int id : {kCmdConnect, kCmdExit, kCmdDisconnect, kCmdSimulantPane}) {
      for (QAction* action : {w.menu_action(id), w.tool_action(id)}) {
        if (action) {
          EXPECT_EQ(action->isEnabled(), bound == (id == kCmdDisconnect || id == kCmdSimulantPane))
              << id;
        }
      }
    }
  };

  expect_enabled(false);
  expect_lamps(green, red);
  w.RunCommand(kCmdConnect);
  ASSERT_TRUE(w.device().connection().bound());
  expect_enabled(true);
  expect_lamps(green, green);
  EXPECT_EQ(w.pane(3)->text(), QStringLiteral("Dentrallo: NRG-200, 200 MHz, 1 GSa/s"));
  w.RunCommand(kCmdDisconnect);
  expect_enabled(false);

  // No link at all.
  instrument.Unplug();
  QCoreApplication::processEvents();
  EXPECT_FALSE(w.device().connection().link_ok());
  expect_lamps(red, red);
}

TEST_F(AppTest, ExitWhileBoundIsRefusedAndRecorded) {
  MainWindow& w = Open();
  w.show();
  w.RunCommand(kCmdOperateFile);
  w.RunCommand(kCmdConnect);
  ASSERT_TRUE(w.device().connection().bound());
  EXPECT_FALSE(w.close());
  EXPECT_TRUE(w.isVisible());
  ASSERT_FALSE(presenter.boxes.empty());
  EXPECT_EQ(presenter.boxes.back().text, "The software is Binding now, it can't exit!");
  const std::vector<std::string> texts = ActionTexts(w);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[texts.size() - 2], "Exit");
  EXPECT_EQ(texts.back(), "Try to Exti failed!");

  w.RunCommand(kCmdDisconnect);
  EXPECT_TRUE(w.close());
}

TEST_F(AppTest, IntervalChoiceMovesTheCheckButNotTheRunningTimer) {
  MainWindow& w = Open();
  w.StartRefreshTimer();
  EXPECT_EQ(w.running_timer_period(), 2000);
  w.RunCommand(kCmdInterval5s);
  EXPECT_EQ(w.refresh_interval_ms(), 5000);
  EXPECT_EQ(CheckedIntervals(w), std::vector<int>{kCmdInterval5s});
  EXPECT_EQ(w.running_timer_period(), 2000);
  w.StartRefreshTimer();
  EXPECT_EQ(w.running_timer_period(), 5000);
  w.StopRefreshTimer();
  EXPECT_FALSE(w.auto_refresh());
}

TEST_F(AppTest, CustomIntervalAcceptsOnlyOneHundredToNineThousandNineHundredNinetyNine) {
  MainWindow& w = Open();
  for (const char* refused : {"99", "10000"}) {
    bool stayed_open = false;
    dialog_script = [&](QDialog& dialog) {
      auto& custom = static_cast<CustomTimeDialog&>(dialog);
      EXPECT_EQ(custom.field()->text(), QStringLiteral("2000"));
      custom.field()->setText(QString::fromUtf8(refused));
      custom.accept();
      stayed_open = custom.result() != QDialog::Accepted;
      return static_cast<int>(QDialog::Rejected);  // then the user cancels
    };
    const size_t boxes = presenter.boxes.size();
    w.RunCommand(kCmdIntervalCustom);
    EXPECT_TRUE(stayed_open) << refused;
    EXPECT_EQ(presenter.boxes.size(), boxes + 1) << refused;
    EXPECT_EQ(w.refresh_interval_ms(), 2000);
    EXPECT_EQ(CheckedIntervals(w), std::vector<int>{kCmdInterval2s});
  }
  dialog_script = [&](QDialog& dialog) {
    auto& custom = static_cast<CustomTimeDialog&>(dialog);
    custom.field()->setText(QStringLiteral("9999"));
    custom.accept();
    return custom.result();
  };
  w.RunCommand(kCmdIntervalCustom);
  EXPECT_EQ(w.refresh_interval_ms(), 9999);
  EXPECT_EQ(CheckedIntervals(w), std::vector<int>{kCmdIntervalCustom});
}

TEST_F(AppTest, DefaultSettingResetsTheThreeSettings) {
  MainWindow& w = Open();
  w.RunCommand(kCmdOperateFile);
  w.RunCommand(kCmdInterval10s);
  w.RunCommand(kCmdDefaultSetting);
  EXPECT_FALSE(w.menu_action(kCmdOperateFile)->isChecked());
  EXPECT_FALSE(w.operate_log().is_on());
  EXPECT_EQ(CheckedIntervals(w), std::vector<int>{kCmdInterval2s});
  EXPECT_EQ(w.initial_path(), "");
  CloseWindow();
  EXPECT_EQ(StoredSettings().value("Settings/FileInit Path").toString(), QString());

  // The next start reads the emptied path back as empty.
  MainWindow& again = Open();
  EXPECT_EQ(again.initial_path(), "");
}

TEST_F(AppTest, BaseControlPanelHidesAtZeroAndComesBackAt175) {
  MainWindow& w = Open();
  w.resize(1000, 700);
  w.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(w.splitter()->sizes().front(), MainWindow::kLeftPaneWidth);
  w.splitter()->setSizes({300, 600});
  w.RunCommand(kCmdBaseControlPanel);
  EXPECT_EQ(w.splitter()->sizes().front(), 0);
  EXPECT_FALSE(w.menu_action(kCmdBaseControlPanel)->isChecked());
  w.RunCommand(kCmdBaseControlPanel);
  EXPECT_EQ(w.splitter()->sizes().front(), MainWindow::kLeftPaneWidth);
  EXPECT_TRUE(w.menu_action(kCmdBaseControlPanel)->isChecked());
}

TEST_F(AppTest, SimulantPaneIsRefusedWhileUnbound) {
  MainWindow& w = Open();
  w.RunCommand(kCmdSimulantPane);
  ASSERT_EQ(presenter.boxes.size(), 1u);
  EXPECT_EQ(presenter.boxes[0].text, "Please ensure the link is ok before show the Simulant Pane");
  EXPECT_EQ(presenter.boxes[0].caption, "Error");
  EXPECT_EQ(presenter.boxes[0].icon, MessageIcon::kInformation);
  EXPECT_EQ(w.right_pane()->current_index(), kWelcomePage);
}

TEST_F(AppTest, DeviceLossStopsTheRefreshTimerAndAllowsExit) {
  MainWindow& w = Open();
  w.RunCommand(kCmdConnect);
  w.StartRefreshTimer();
  instrument.Unplug();
  QCoreApplication::processEvents();
  EXPECT_FALSE(w.device().connection().bound());
  EXPECT_FALSE(w.auto_refresh());
  EXPECT_EQ(w.pane(3)->text(), QStringLiteral("There is a device changing !"));
  instrument.Plug();
  QCoreApplication::processEvents();
  EXPECT_TRUE(w.device().connection().link_ok());
  EXPECT_FALSE(w.device().connection().bound());
}

TEST_F(AppTest, RefreshTickFillsTheStoreFromTheInstrument) {
  MainWindow& w = Open();
  w.RunCommand(kCmdConnect);
  w.RefreshTick();
  EXPECT_TRUE(w.device().store().ch1.enabled);
  EXPECT_NE(w.device().store().sec_div_text, "0 s");
}

TEST_F(AppTest, GotoViewButtonsSelectTheirPageAndRecord) {
  MainWindow& w = Open();
  w.RunCommand(kCmdOperateFile);
  const QList<QPushButton*> buttons = w.left_pane()->findChildren<QPushButton*>();
  const std::pair<const char*, int> pages[] = {{"Wave Measure", kWaveMeasurementView},
                                               {"DSO Bitmap", kDsoBitmapView},
                                               {"Wave Data", kWaveDataView},
                                               {"Wave Graph", kWaveGraphView}};
  for (const auto& [text, page] : pages) {
    for (QPushButton* b : buttons) {
      if (b->text() == QString::fromUtf8(text))
        b->click();
    }
    EXPECT_EQ(w.right_pane()->current_index(), page) << text;
  }
  const std::vector<std::string> texts = ActionTexts(w);
  ASSERT_GE(texts.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(texts.end() - 4, texts.end()),
            (std::vector<std::string>{"Goto the Wave Measurement View", "Goto the DSO Bitmap View",
                                      "Goto the Wave Data View", "Goto the Wave Graph View"}));
}

TEST_F(AppTest, MenuPromptsAndToolTips) {
  MainWindow& w = Open();
  EXPECT_EQ(w.menu_action(kCmdConnect)->text(), QStringLiteral("Connect(&B)\tCtrl+B"));
  EXPECT_EQ(w.menu_action(kCmdConnect)->statusTip(), QStringLiteral("Bind"));
  EXPECT_EQ(w.tool_action(kCmdDisconnect)->text(), QStringLiteral("Disc"));
  EXPECT_EQ(w.tool_action(kCmdDisconnect)->toolTip(), QStringLiteral("UnBind the link"));
  EXPECT_EQ(w.menu_action(kCmdInterval2s)->toolTip(),
            QStringLiteral("Set the interval time is  2s"));
  EXPECT_EQ(w.menu_action(kCmdPathSetting)->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
  EXPECT_EQ(w.menu_action(kCmdOperateFile)->shortcut(), QKeySequence(QStringLiteral("Ctrl+D")));
}

TEST_F(AppTest, PathSettingTakesATypedPathAndKeepsTheOldOneForAnEmptyText) {
  MainWindow& w = Open();
  w.RunCommand(kCmdDefaultSetting);  // empties the initial path
  w.RunCommand(kCmdOperateFile);
  QString shown;
  dialog_script = [&](QDialog& dialog) {
    auto fields = dialog.findChildren<QLineEdit*>();
    shown = fields.front()->text();
    fields.back()->setText(QStringLiteral("/data/scope"));
    return static_cast<int>(QDialog::Accepted);
  };
  w.RunCommand(kCmdPathSetting);
  EXPECT_EQ(shown, QString::fromStdString(dir.path()));  // the program's folder first
  EXPECT_EQ(w.initial_path(), "/data/scope");

  dialog_script = [](QDialog&) { return static_cast<int>(QDialog::Accepted); };
  w.RunCommand(kCmdPathSetting);
  EXPECT_EQ(w.initial_path(), "/data/scope");
  dialog_script = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
  w.RunCommand(kCmdPathSetting);
  const std::vector<std::string> texts = ActionTexts(w);
  // Two accepted dialogs record success, the cancelled one only its start.
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Set the Initial Path Successed!"), 2);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Set the Initial Path"), 3);
}

}  // namespace
}  // namespace korvelane
