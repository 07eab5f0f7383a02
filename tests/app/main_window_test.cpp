// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "app/app_test_support.h"
#include "app/custom_time_dialog.h"
#include "core/shell/command_ids.h"
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
  w.menu_action(kCmdOperateFile)->trigger();
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
  dialog_script = [](QDialog&) { return static_cast<int>(QDialog::Rejected); };
  w.menu_action(kCmdPathSetting)->trigger();
  const std::string set = "Set the Initial Path";
  const std::vector<std::string> actions = Actions();
  EXPECT_EQ(std::vector<std::string>(actions.end() - 5, actions.end()),
            (std::vector<std::string>{set, set + " Successed!", set, set + " Successed!", set}));
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
