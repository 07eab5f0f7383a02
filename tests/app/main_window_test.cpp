// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "app/custom_time_dialog.h"
#include "app/lamp_indicator.h"
#include "app_test_support.h"
#include "core/logs/gbk_text.h"
#include "core/shell/command_ids.h"
#include "panes/left_pane.h"
#include "panes/right_pane.h"
#include "views/wave_graph_view.h"

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

// The settings' fallbacks are the core's; here the window shows them and writes them on QSettings.
TEST_F(AppTest, FirstRunShowsTheDefaultsAndExitWritesTheSettings) {
  MainWindow& w = Open();
  EXPECT_EQ(CheckedIntervals(w), std::vector<int>{kCmdInterval2s});
  EXPECT_EQ(w.initial_path(), dir.path());
  EXPECT_EQ(w.user_interface().pane0_text(), QStringLiteral("Welcome use Korvelane 2.0"));
  EXPECT_EQ(w.pane(4)->text(), QStringLiteral("2026-12-06"));
  EXPECT_TRUE(w.device().connection().link_ok());
  EXPECT_FALSE(w.device().connection().bound());

  // "Fast Exchange" is the Setting menu's last item; the next start finds it on.
  QMenu* setting = nullptr;
  for (QAction* a : w.menuBar()->actions()) {
    if (a->text() == QStringLiteral("Setting(&E)"))
      setting = a->menu();
  }
  ASSERT_NE(setting, nullptr);
  QAction* fast = setting->actions().back();
  EXPECT_EQ(fast->text(), QStringLiteral("Fast Exchange"));
  fast->trigger();
  EXPECT_TRUE(w.device().fast_exchange());
  EXPECT_EQ(w.user_interface().pane0_text(), QStringLiteral("Fast Exchange on"));
  CloseWindow();
  QSettings stored = StoredSettings();
  EXPECT_EQ(stored.value("Settings/Interval time").toString(), QStringLiteral("2000"));
  EXPECT_EQ(stored.value("Settings/Operate File check").toInt(), 0);
  EXPECT_EQ(stored.value("Settings/FileInit Path").toString(), QString::fromStdString(dir.path()));
  EXPECT_EQ(stored.value("Settings/Fast exchange").toString(), QStringLiteral("1"));
  EXPECT_TRUE(Open().device().fast_exchange());
}

// The accepted range is the core's; here a refused value keeps the dialog open with a box.
TEST_F(AppTest, CustomIntervalStaysOpenOnARefusedValueAndTheMenuCheckFollowsTheInterval) {
  MainWindow& w = Open();
  const auto type = [this](const char* text, bool* stayed_open) {
    dialog_script = [text, stayed_open](QDialog& dialog) {
      auto& custom = static_cast<CustomTimeDialog&>(dialog);
      custom.field()->setText(QString::fromUtf8(text));
      custom.accept();
      if (stayed_open)
        *stayed_open = custom.result() != QDialog::Accepted;
      return custom.result();  // refused: as if then cancelled
    };
  };
  bool stayed_open = false;
  type("10000", &stayed_open);
  w.menu_action(kCmdIntervalCustom)->trigger();
  EXPECT_TRUE(stayed_open);
  EXPECT_EQ(presenter.boxes.size(), 1u);
  EXPECT_EQ(CheckedIntervals(w), std::vector<int>{kCmdInterval2s});
  type("9999", nullptr);
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

TEST_F(AppTest, DefaultSettingResetsTheSettingsAndPathSettingStartsFromTheProgramsFolder) {
  MainWindow& w = Open();
  w.RunCommand(kCmdOperateFile);
  w.RunCommand(kCmdInterval10s);
  w.menu_action(kCmdFastExchange)->trigger();
  w.RunCommand(kCmdDefaultSetting);
  EXPECT_FALSE(w.menu_action(kCmdFastExchange)->isChecked());
  EXPECT_FALSE(w.device().fast_exchange());
  EXPECT_FALSE(w.menu_action(kCmdOperateFile)->isChecked());
  EXPECT_FALSE(w.operate_log().is_on());
  EXPECT_EQ(CheckedIntervals(w), std::vector<int>{kCmdInterval2s});
  EXPECT_EQ(w.initial_path(), "");
  CloseWindow();
  EXPECT_EQ(StoredSettings().value("Settings/FileInit Path").toString(), QString());

  // The next start reads the emptied path back as empty; Path Setting offers the program's folder.
  MainWindow& again = Open();
  EXPECT_EQ(again.initial_path(), "");
  again.RunCommand(kCmdOperateFile);
  QString shown;
  dialog_script = [&](QDialog& dialog) {
    auto fields = dialog.findChildren<QLineEdit*>();
    shown = fields.front()->text();
    fields.back()->setText(QStringLiteral("/data/scope"));
    return static_cast<int>(QDialog::Accepted);
  };
  again.RunCommand(kCmdPathSetting);
  EXPECT_EQ(shown, QString::fromStdString(dir.path()));
  EXPECT_EQ(again.initial_path(), "/data/scope");
  // An empty text keeps the path and still records success; a cancel records only the start.
  dialog_script = [](QDialog&) { return static_cast<int>(QDialog::Accepted); };
  again.RunCommand(kCmdPathSetting);
  EXPECT_EQ(again.initial_path(), "/data/scope");
  dialog_script = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
  again.RunCommand(kCmdPathSetting);
  const std::vector<std::string> texts = ActionTexts(again);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Set the Initial Path Successed!"), 2);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Set the Initial Path"), 3);
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
  dialog_script = [](QDialog& dialog) {
    auto& custom = static_cast<CustomTimeDialog&>(dialog);
    custom.field()->setText(QStringLiteral("100"));
    custom.accept();
    return custom.result();
  };
  w.menu_action(kCmdIntervalCustom)->trigger();
  w.wave_graph_view()->button(WaveGraphView::Button::kAuto)->click();
  ASSERT_TRUE(w.auto_refresh());
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

}  // namespace
}  // namespace korvelane
